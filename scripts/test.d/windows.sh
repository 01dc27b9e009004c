#!/bin/sh
# SPDX-License-Identifier: MIT
# The Windows DLLs and command lines of both architectures, cross-built with mingw-w64
# (presets "windows" and "windows32"), driven under Wine by the host test program, error
# box included, and compared with the Linux command line (tests/windows/run); and the
# command line of 32-bit x86 arithmetic (preset "linux32") under qemu-i386, compared too.
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
cmake --preset linux32 >/dev/null
cmake --build --preset linux32
export DORVAN_LINUX32_CLI=build/linux32/tools/dorvan-marker
# shellcheck disable=SC2086 # the folders are words
exec sh tests/windows/run $builds
