#!/bin/sh
# SPDX-License-Identifier: MIT
# The Windows DLL: cross-built with mingw-w64 (preset "windows") and driven under Wine by
# the host test program, error box included.
set -eu
cd "$(dirname "$0")/../.."
cmake --preset windows >/dev/null
cmake --build --preset windows
sh tests/windows/run build/windows
