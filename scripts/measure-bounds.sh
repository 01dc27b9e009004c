#!/bin/sh
# SPDX-License-Identifier: MIT
# Time and peak memory of the import on crafted markers, each aimed at a place where the
# work could grow faster than the file. Not a test: figures for a person to read.
#   sh scripts/measure-bounds.sh [MEGABYTES]   (default 10; the plain marker also at 10x)
set -eu
cd "$(dirname "$0")/.."
megabytes=${1:-10}
cmake --preset release >/dev/null
cmake --build --preset release --target dorvan_marker_bounds >/dev/null
for case in plain sizes-x-articles many-headers wide-header long-name-x-placements long-model-name-x-placements \
            many-styles; do
  build/release/tests/dorvan_marker_bounds "$case" "$megabytes"
done
build/release/tests/dorvan_marker_bounds plain "$((megabytes * 10))"
