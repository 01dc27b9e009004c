#!/bin/sh
# SPDX-License-Identifier: MIT
# The Windows DLL and command line: cross-built with mingw-w64 (preset "windows"), the DLL
# driven under Wine by the host test program, error box included, and dorvan-marker.exe
# compared with the Linux command line of the unit stage (build/release).
set -eu
cd "$(dirname "$0")/../.."
cmake --preset windows >/dev/null
cmake --build --preset windows
sh tests/windows/run build/windows
