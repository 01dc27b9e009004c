#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds everything and runs every test. Each stage that the machine can run is run;
# the last line says how many stages passed.
set -u
cd "$(dirname "$0")/.."
sh scripts/deps.sh test windows release || exit 1
# A site's loader plug-in named in the environment would serve every import of the tests.
unset DORVAN_MARKER_LOADER

# Every build and test run uses the machine's cores, however many it has.
jobs=$(nproc 2>/dev/null || echo 1)
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$jobs}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$jobs}"

passed=0
failed=0
stage() {
  name=$1
  shift
  echo "==== $name"
  started=$(date +%s)
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "==== $name FAILED"; fi
  echo "==== $name: $(($(date +%s) - started)) s"
}

unit_tests() {
  cmake --preset release >/dev/null &&
    cmake --build --preset release &&
    ctest --preset release --label-exclude windows
}

stage "unit, command-line and export tests" unit_tests

# The release stage cross-builds both Windows architectures with the host test program;
# the windows stage, which runs after it (stages run in the order of their names), tests
# those builds rather than making its own.
export DORVAN_WINDOWS_BUILDS="build/release-packages/first/windows64 build/release-packages/first/windows32"

for extra in scripts/test.d/*.sh; do
  [ -f "$extra" ] || continue
  stage "$(basename "$extra" .sh)" sh "$extra"
done

echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
