#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian packages that the given set-up needs, when they are missing.
#   scripts/deps.sh build      compiler and CMake
#   scripts/deps.sh test       + GoogleTest, a comma-decimal locale, clang and its sanitizer runtime,
#                              Python with jsonschema and rsvg-convert for the JSON and SVG checks,
#                              chromium, node with npm, pdfinfo and a font for the report's browser check
#   scripts/deps.sh windows    + mingw-w64, Wine, Xvfb and a Japanese locale
#   scripts/deps.sh bench      + Google Benchmark
#   scripts/deps.sh format     + clang-format-14, which .clang-format is written for
#   scripts/deps.sh release    + mingw-w64, zip, help2man, dpkg-dev, lintian and pkg-config for the
#                              packages and the programs that try them
set -eu

packages="cmake g++ make"
browser=""
for set in "$@"; do
  case "$set" in
    build) ;;
    test) packages="$packages libgtest-dev libgmock-dev locales clang libclang-rt-dev python3 python3-jsonschema librsvg2-bin"
          packages="$packages poppler-utils fonts-dejavu-core"
          browser=yes ;;
    windows) packages="$packages g++-mingw-w64-x86-64 wine wine64 xvfb xauth locales" ;;
    bench) packages="$packages libbenchmark-dev python3" ;;
    format) packages="$packages clang-format-14" ;;
    release) packages="$packages g++-mingw-w64-x86-64 zip unzip help2man dpkg-dev lintian pkgconf" ;;
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

# The browser of the report's check comes from the release's own suite and without what it
# recommends: a newer build from the security archive may bring newer libraries for one
# architecture only, and with them take away the other architecture's Wine. node and npm
# are installed only when no package gives them yet.
if [ -n "$browser" ]; then
  extra=""
  dpkg -s chromium >/dev/null 2>&1 || extra="chromium"
  command -v npm >/dev/null 2>&1 || extra="$extra nodejs npm"
  if [ -n "$extra" ]; then
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "installing from $suite:$extra"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -t "$suite" --no-install-recommends $extra >/dev/null
  fi
fi

# Makes the locale NAME (e.g. de_DE.UTF-8) available, when it is not.
ensure_locale() {
  pattern=$(echo "$1" | sed 's/\./\\./; s/UTF-8$/utf-\\?8/')
  locale -a 2>/dev/null | grep -qi "^$pattern\$" && return
  as_root sed -i "s/^# *$1 UTF-8/$1 UTF-8/" /etc/locale.gen
  grep -q "^$1 UTF-8" /etc/locale.gen || echo "$1 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
}

# The locale tests prove that numbers do not follow a comma-decimal locale.
case " $* " in
  *" test "*) ensure_locale de_DE.UTF-8 ;;
esac
# Wine runs the DLL with the Japanese ANSI code page; its file names need a UTF-8 locale
# of that name on this machine.
case " $* " in
  *" windows "*) ensure_locale ja_JP.UTF-8 ;;
esac
