#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian packages that the given set-up needs, when they are missing.
#   scripts/deps.sh build      compiler and CMake
#   scripts/deps.sh test       + GoogleTest, a comma-decimal locale, clang and its sanitizer runtime
#   scripts/deps.sh windows    + mingw-w64, Wine and Xvfb
#   scripts/deps.sh bench      + Google Benchmark
set -eu

packages="cmake g++ make"
for set in "$@"; do
  case "$set" in
    build) ;;
    test) packages="$packages libgtest-dev libgmock-dev locales clang libclang-rt-dev python3 librsvg2-bin" ;;
    windows) packages="$packages g++-mingw-w64-x86-64 wine wine64 xvfb xauth" ;;
    bench) packages="$packages libbenchmark-dev python3" ;;
    *) echo "deps.sh: unknown set $set" >&2; exit 2 ;;
  esac
done

missing=""
for package in $packages; do
  dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ -n "$missing" ]; then
  echo "installing:$missing"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
fi

# The locale tests prove that numbers do not follow a comma-decimal locale.
case " $* " in
  *" test "*)
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
      as_root sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
      grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
      as_root locale-gen >/dev/null
    fi
    ;;
esac
