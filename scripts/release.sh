#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the release packages into dist/ with their SHA256SUMS:
#   dorvan_marker-VERSION-win64.zip    the DLL, its header, import library and .def file, the
#                                      command line, the documentation and the example
#   dorvan_marker-VERSION-win32.zip    the same for 32-bit Windows
#   libdorvan-marker1_VERSION_ARCH.deb, libdorvan-marker-dev_..., dorvan-marker_...
# Everything is built twice, from two copies of the tree in different folders, with every
# date taken from SOURCE_DATE_EPOCH (default: the time of the last commit); the two sets of
# packages must be byte-identical. lintian must find no error in the Debian packages.
#   sh scripts/release.sh            the release: two builds, compared
#   sh scripts/release.sh --once     one build, not compared (the test command's, for time)
# The builds stay in build/release-packages/: first/linux serves the install tests, and
# first/windows64 and first/windows32, which hold the host test program too, the test
# command's windows stage.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
builds=2
case "${1:-}" in
  "") ;;
  --once) builds=1 ;;
  *) echo "usage: sh scripts/release.sh [--once]" >&2; exit 64 ;;
esac
sh scripts/deps.sh release
started=$(date +%s)
jobs=$(nproc 2>/dev/null || echo 1)

git rev-parse --is-inside-work-tree >/dev/null 2>&1 ||
  { echo "release: run it in a git checkout: the packages are made of the files git knows" >&2; exit 1; }
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH LC_ALL=C TZ=UTC
if [ -n "$(git status --porcelain)" ]; then
  echo "release: the tree has uncommitted changes: these packages are not those of the last commit" >&2
fi
# The Debian changelog is made from this version's section.
version=$(sed -n 's/^project(dorvan_marker VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
grep -q "^## \[$version\] - " CHANGELOG.md || { echo "release: CHANGELOG.md has no section for $version" >&2; exit 1; }
work=$root/build/release-packages
rm -rf "$work" dist

# Debian's hardening flags, without the debugging information the packages strip anyway.
debian_flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2" dpkg-buildflags --get "$1"; }

# The files git knows, as they are now, copied once: both builds start from the same bytes.
mkdir -p "$work/first/source"
git ls-files -z --cached --others --exclude-standard |
  tar --null --no-recursion --ignore-failed-read -T - -cf - 2>/dev/null | tar -xf - -C "$work/first/source"

# The zip of one Windows architecture (64 or 32) from the copy of the tree in $copy. The
# build makes the host test program too, which the zip leaves out, so that the test
# command tests these builds under Wine rather than making its own.
build_zip() {
  case $1 in 64) toolchain=mingw-w64-x86_64.cmake ;; 32) toolchain=mingw-w64-i686.cmake ;; esac
  echo "== $(basename "$copy"): Windows zip, $1-bit"
  cmake -S "$copy/source" -B "$copy/windows$1" --toolchain "$copy/source/cmake/$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DDORVAN_MARKER_BUILD_TESTS=OFF -DDORVAN_MARKER_BUILD_HOST_TEST=ON >/dev/null
  cmake --build "$copy/windows$1" --parallel "$jobs" >/dev/null
  cmake --build "$copy/windows$1" --target package-zip >/dev/null
  cp "$copy/windows$1/packages/"*.zip "$copy/dist/"
}

# The packages of one copy of the tree into $work/NAME/dist: the zips first, so that the
# test command has its Windows builds even when a Debian package fails.
build_packages() {
  copy=$work/$1
  mkdir -p "$copy/dist"
  build_zip 64
  build_zip 32
  echo "== $1: Debian packages"
  # The run path of the programs in the build tree, which their build ID covers, is made
  # relative to them; installed, they have none.
  CXXFLAGS="$(debian_flags CPPFLAGS) $(debian_flags CXXFLAGS)" LDFLAGS=$(debian_flags LDFLAGS) \
    cmake -S "$copy/source" -B "$copy/linux" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DDORVAN_MARKER_BUILD_TESTS=OFF -DCMAKE_BUILD_RPATH_USE_ORIGIN=ON >/dev/null
  cmake --build "$copy/linux" --parallel "$jobs" >/dev/null
  cmake --build "$copy/linux" --target package-deb >/dev/null
  cp "$copy/linux/packages/"*.deb "$copy/dist/"
}

compare_builds() {
  echo "== the two builds give the same files"
  (cd "$work/first/dist" && ls) >"$work/first.list"
  (cd "$work/second-build/dist" && ls) >"$work/second.list"
  different=0
  cmp -s "$work/first.list" "$work/second.list" || { echo "release: the builds made different files" >&2; different=1; }
  while read -r file; do
    if cmp -s "$work/first/dist/$file" "$work/second-build/dist/$file"; then
      echo "identical: $file"
    else
      echo "release: $file differs between $work/first/dist and $work/second-build/dist" >&2
      different=1
    fi
  done <"$work/first.list"
  [ "$different" -eq 0 ] || exit 1
}

build_packages first
if [ "$builds" -eq 2 ]; then
  mkdir -p "$work/second-build"
  cp -a "$work/first/source" "$work/second-build/source"
  build_packages second-build
  compare_builds
fi

mkdir dist
cp "$work/first/dist/"* dist/
(cd dist && sha256sum -- * >SHA256SUMS)

echo "== lintian"
lintian_status=0
lintian --display-info --fail-on error dist/*.deb >"$work/lintian.txt" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$work/lintian.txt" || echo "(nothing to report)"
[ "$lintian_status" -eq 0 ] || { echo "release: lintian reports errors" >&2; exit 1; }

echo "== dist/"
ls -l dist
echo "release: done in $(($(date +%s) - started)) s"
