#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian source and binary packages from a clean export of the working
# tree (the files git knows, nothing ignored) and checks them with lintian, whose
# warnings count as failures. Everything is written under OUT_DIR.
# Usage: build-deb.sh OUT_DIR   (DEB_BUILD_OPTIONS=nocheck skips the build's tests)
set -eu
out=$(realpath -m "$1")
top=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
source=$out/la-korvalin-$version

rm -rf "$out"
mkdir -p "$source"
(cd "$top" && git ls-files -z --cached --others --exclude-standard) |
    (cd "$top" && tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) |
    tar -xf - -C "$source"

(cd "$source" && dpkg-buildpackage -us -uc -jauto)
lintian --fail-on error,warning --display-info --pedantic \
    "$out/la-korvalin_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes"
