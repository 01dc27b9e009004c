#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the Debian packages from a built tree that was configured with
# -DCMAKE_INSTALL_PREFIX=/usr, one package per install component (BUILD/debian/components),
# each stripped, with its copyright, changelog and the control files Debian's tools make
# from BUILD/debian/control. Files are dated SOURCE_DATE_EPOCH (default: now); set, the same
# tree gives the same packages.
#   sh cmake/debian/build-packages.sh BUILD_DIR OUT_DIR
set -eu
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date +%s)}
export LC_ALL=C
umask 022
cd "$build"
[ -f debian/control ] || { echo "build-packages: $build is not a configured Linux build" >&2; exit 1; }
[ "$(sed -n 's/^CMAKE_INSTALL_PREFIX:[A-Z]*=//p' CMakeCache.txt)" = /usr ] ||
  { echo "build-packages: configure $build with -DCMAKE_INSTALL_PREFIX=/usr" >&2; exit 1; }

# The library's package comes first: the others' dependencies are read from its shlibs.
while read -r package component; do
  stage=debian/$package
  rm -rf "$stage"
  DESTDIR=$build/$stage cmake --install . --component "$component" >/dev/null
  doc=$stage/usr/share/doc/$package
  mkdir -p "$doc" "$stage/DEBIAN"
  cp debian/copyright "$doc/copyright"
  gzip -9n <debian/changelog >"$doc/changelog.gz"
  if [ -d "$stage/usr/share/man" ]; then find "$stage/usr/share/man" -type f ! -name '*.gz' -exec gzip -9n {} +; fi
  for control in shlibs triggers postinst prerm; do
    if [ -f "debian/$package.$control" ]; then cp "debian/$package.$control" "$stage/DEBIAN/$control"; fi
  done

  # Stripped as Debian strips: the symbol table, and the compiler's notes that say nothing
  # to a user.
  binaries=$(find "$stage/usr" -type f \( -perm -u+x -o -name '*.so.*' \) | sort)
  for binary in $binaries; do
    case $binary in
      *.so.*) strip --remove-section=.comment --remove-section=.note --strip-unneeded "$binary" ;;
      *) strip --remove-section=.comment --remove-section=.note "$binary" ;;
    esac
  done

  rm -f debian/substvars
  # shellcheck disable=SC2086 # one word a file; the paths hold no blanks
  if [ -n "$binaries" ]; then dpkg-shlibdeps -Tdebian/substvars $binaries; fi
  # -c4: a symbol exported that the symbols file does not name, or named and not exported,
  # fails the package, after the difference.
  if [ -f "$stage/DEBIAN/shlibs" ]; then
    dpkg-gensymbols -c4 -p"$package" -P"$stage" -I"debian/$package.symbols" -O"$stage/DEBIAN/symbols" >&2
    sed -i '1a * Build-Depends-Package: libdorvan-marker-dev' "$stage/DEBIAN/symbols"
  fi
  dpkg-gencontrol -p"$package" -P"$stage" -Tdebian/substvars -fdebian/files

  # NUL-separated: the example marker's name holds a blank.
  (cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
  find "$stage" -type d -exec chmod 0755 {} +
  find "$stage/DEBIAN" -type f -exec chmod 0644 {} +
  find "$stage/DEBIAN" -name 'post*' -o -name 'pre*' | xargs -r chmod 0755
  find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$out" >/dev/null
done <debian/components
