#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian packages that the given set-up needs, when they are missing.
#   scripts/deps.sh build      compiler and CMake
#   scripts/deps.sh test       + GoogleTest, a comma-decimal locale, clang and its sanitizer runtime,
#                              Python with jsonschema and rsvg-convert for the JSON and SVG checks,
#                              chromium, node with npm, pdfinfo and a font for the report's browser check
#   scripts/deps.sh windows    + mingw-w64 for 64 and 32 bits, Wine for both (wine64 and
#                              wine32:i386), Xvfb, a Japanese locale, and a 32-bit x86 Linux
#                              compiler with qemu-i386 to run what it builds
#   scripts/deps.sh bench      + Google Benchmark
#   scripts/deps.sh format     + clang-format-14, which .clang-format is written for
#   scripts/deps.sh release    + mingw-w64 for 64 and 32 bits, zip, help2man, dpkg-dev, lintian and
#                              pkg-config for the packages and the programs that try them,
#                              abi-dumper and abi-compliance-checker for the binary interface
set -eu

packages="cmake g++ make"
mingw="g++-mingw-w64-x86-64 g++-mingw-w64-i686"
wine=no
browser=""
for set in "$@"; do
  case "$set" in
    build) ;;
    test) packages="$packages libgtest-dev libgmock-dev locales clang libclang-rt-dev python3 python3-jsonschema librsvg2-bin"
          packages="$packages poppler-utils fonts-dejavu-core"
          browser=yes ;;
    windows) packages="$packages $mingw g++-i686-linux-gnu qemu-user xvfb xauth locales" wine=yes ;;
    bench) packages="$packages libbenchmark-dev python3" ;;
    format) packages="$packages clang-format-14" ;;
    release) packages="$packages $mingw zip unzip help2man dpkg-dev lintian pkgconf abi-dumper abi-compliance-checker" ;;
    *) echo "deps.sh: unknown set $set" >&2; exit 2 ;;
  esac
done

missing=""
for package in $packages; do
  dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")

# A mirror that is half-way through a sync fails one index (it happened to the security
# archive's i386 one); the lists apt already has serve then.
update_lists() {
  as_root apt-get update -qq || echo "deps.sh: apt-get update failed for an index; going on with the lists apt has" >&2
}

if [ -n "$missing" ]; then
  echo "installing:$missing"
  update_lists
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
    echo "installing from $codename:$extra"
    update_lists
    # shellcheck disable=SC2086 # the packages are words
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -t "$codename" --no-install-recommends $extra >/dev/null
  fi
fi

# Wine for 64-bit and for 32-bit programs. The two architectures' copies of a library must
# be of one version, so both go in one command, from the release's main archive (its
# security archive's indexes of the two may disagree, or one may fail to download):
# otherwise apt refuses ("held broken packages"), or satisfies one architecture by
# removing the other's Wine. A later install that upgrades one architecture's copy of a
# library can remove the other's Wine as well; the next run of this set puts it back.
wine_packages="wine wine64 wine32:i386 libwine:amd64 libwine:i386 libgstreamer-plugins-base1.0-0:amd64
  libgstreamer-plugins-base1.0-0:i386"
wine_installed() {
  for package in wine64 wine32:i386; do
    [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" = "install ok installed" ] || return 1
  done
}
if [ "$wine" = yes ] && ! wine_installed; then
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  echo "installing Wine for both architectures from $codename"
  update_lists
  # shellcheck disable=SC2086 # the packages are words
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -t "$codename" --no-install-recommends \
    $wine_packages >/dev/null || true  # what it left is judged below
fi
if [ "$wine" = yes ] && ! wine_installed; then
  echo "deps.sh: wine64 and wine32:i386 must both be installed, and are not:" >&2
  dpkg-query -W -f='  ${Package}:${Architecture} ${Status}\n' wine64 wine32:i386 >&2 2>/dev/null || true
  # shellcheck disable=SC2086 # the packages are words
  echo "  install both in one command: apt-get install -t $codename --no-install-recommends" $wine_packages >&2
  exit 1
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
  *" windows "*) ensure_locale ja_JP.UTF-8 && ensure_locale en_US.UTF-8 ;;
esac
