#!/bin/sh
# SPDX-License-Identifier: MIT
# The Windows DLLs and command lines of both architectures, cross-built with mingw-w64
# (presets "windows" and "windows32"), driven under Wine by the host test program, error
# box included, and compared with the Linux command line (tests/windows/run).
#   DORVAN_WINDOWS_BUILDS   the build folders to test instead of building the presets; the
#                           test command names those that its release stage made
set -eu
cd "$(dirname "$0")/../.."
builds=${DORVAN_WINDOWS_BUILDS:-}
if [ -z "$builds" ]; then
  for preset in windows windows32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
  done
  builds="build/windows build/windows32"
fi
# shellcheck disable=SC2086 # the folders are words
exec sh tests/windows/run $builds
