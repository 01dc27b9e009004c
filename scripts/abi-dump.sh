#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes the ABI dump (abi-dumper's) of the shared library of one version: the library alone,
# built from the commit, or from the working tree, with the debugging information that
# abi-dumper reads (-g -Og). tests/install/run compares the working tree's dump with those of
# the releases in tests/data/abi/ (abi-compliance-checker). The releases' dumps were made once:
#   sh scripts/abi-dump.sh 19d5f14 1.0.0 tests/data/abi/dorvan_marker-1.0.0.dump.gz
#   sh scripts/abi-dump.sh 25cce8a 1.1.0 tests/data/abi/dorvan_marker-1.1.0.dump.gz
# with the compiler of Debian 12 (GCC 12); a dump of another compiler's build may differ in
# the standard library's types, so remake them when the compiler changes.
#   sh scripts/abi-dump.sh COMMIT|. VERSION OUT    OUT ending in .gz is compressed
set -eu
[ $# -eq 3 ] || { echo "usage: sh scripts/abi-dump.sh COMMIT|. VERSION OUT" >&2; exit 64; }
root=$(cd "$(dirname "$0")/.." && pwd)
source=$1
version=$2
case $3 in /*) out=$3 ;; *) out=$(pwd)/$3 ;; esac
work=$root/build/abi/$version
rm -rf "$work"
mkdir -p "$work/source"
if [ "$source" = . ]; then
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null --no-recursion --ignore-failed-read -T - -cf - 2>/dev/null) | tar -xf - -C "$work/source"
else
  git -C "$root" cat-file -e "$source^{commit}" 2>/dev/null ||
    { echo "abi-dump: no commit $source here (a shallow clone lacks the history)" >&2; exit 1; }
  git -C "$root" archive "$source" | tar -xf - -C "$work/source"
fi
cmake -S "$work/source" -B "$work/build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -Og" \
  -DDORVAN_MARKER_BUILD_TESTS=OFF -DDORVAN_MARKER_BUILD_TOOLS=OFF -DDORVAN_MARKER_BUILD_EXAMPLES=OFF >"$work/build.log"
cmake --build "$work/build" --target dorvan_marker --parallel "$(nproc 2>/dev/null || echo 1)" >>"$work/build.log" ||
  { cat "$work/build.log" >&2; exit 1; }
library=$(find "$work/build" -maxdepth 1 -name 'libdorvan_marker.so.*.*' | head -n 1)
case $out in
  *.gz) abi-dumper "$library" -o "$work/dump" -lver "$version" -quiet >"$work/dump.log" &&
          gzip -9n <"$work/dump" >"$out" ;;
  *) abi-dumper "$library" -o "$out" -lver "$version" -quiet >"$work/dump.log" ;;
esac || { cat "$work/dump.log" >&2; exit 1; }
