#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source and binary packages from a clean export of the working
# tree (the files git knows, nothing ignored) and checks them with lintian, whose
# warnings count as failures. Everything is written under OUT_DIR, which is emptied
# first: it must be a folder of its own, not the source tree, one of its parents or
# the home folder, and not a folder of something else.
# Usage: build-deb.sh OUT_DIR   (DEB_BUILD_OPTIONS=nocheck skips the build's tests)
set -eu
refuse() {
    echo "build-deb.sh: $*" >&2
    exit 2
}
if [ $# -ne 1 ] || [ -z "$1" ]; then
    refuse "usage: build-deb.sh OUT_DIR"
fi
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
out=$(realpath -m -- "$1")
mark=.la-korvalin-package
case "$top/" in "${out%/}"/*) refuse "$out holds the source tree" ;; esac
[ "$out" != "$(realpath -m -- "$HOME")" ] || refuse "$out is the home folder"
if [ -d "$out" ] && [ ! -e "$out/$mark" ] && [ -n "$(ls -A -- "$out")" ]; then
    refuse "$out is not empty and was not made by build-deb.sh"
fi

missing=$(git -C "$top" ls-files --deleted)
[ -z "$missing" ] || refuse "tracked files missing from the work tree: $missing"

version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
source=$out/la-korvalin-$version
rm -rf -- "$out"
mkdir -p "$source"
touch "$out/$mark"
(cd "$top" && git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- -cf "$out/export.tar")
tar -xf "$out/export.tar" -C "$source"
rm "$out/export.tar"

(cd "$source" && dpkg-buildpackage -us -uc -jauto)
lintian --fail-on error,warning --display-info --pedantic \
    "$out/la-korvalin_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes"
