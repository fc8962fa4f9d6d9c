#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a clean export (lintian warnings fail it), then
# checks it without installing it: control fields, file list, and that the desktop
# entry, metainfo and manual pages inside it are valid.
# Usage: package_test.sh SOURCE_DIR OUT_DIR APP_ID VERSION RELEASE_DATE
set -eu
source=$1 out=$2 id=$3 version=$4 date=$5

fail() { echo "$*"; exit 1; }

# The version and its date are written in CMakeLists.txt; Debian needs them once more in
# debian/changelog, which must agree.
changelog=$source/debian/changelog
[ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ] ||
    fail "debian/changelog is at $(dpkg-parsechangelog -l "$changelog" -S Version), CMakeLists.txt at $version"
[ "$(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%F)" = "$date" ] ||
    fail "debian/changelog is not dated $date, as CMakeLists.txt says"

# build-deb.sh empties its output folder: it refuses one that is not its own.
for unsafe in "" / "$source" "$source/.." "$source/debian"; do
    if "$source/packaging/build-deb.sh" "$unsafe" >/dev/null 2>&1; then
        fail "build-deb.sh took '$unsafe' as its output folder"
    fi
done
[ -f "$source/debian/changelog" ] || fail "build-deb.sh removed the source tree"

# A tracked file missing from the work tree stops the export.
missing=$(mktemp -d)
trap 'rm -rf "$missing"' EXIT
git clone -q "$source" "$missing/tree"
cp "$source/packaging/build-deb.sh" "$missing/tree/packaging/"
rm "$missing/tree/README.md"
if "$missing/tree/packaging/build-deb.sh" "$missing/out" >"$missing/log" 2>&1; then
    fail "build-deb.sh exported a tree with a tracked file missing"
fi
grep -q README.md "$missing/log" || { cat "$missing/log"; fail "build-deb.sh did not name the missing file"; }

# The build's own tests run in the other trees of the test command.
DEB_BUILD_OPTIONS=nocheck DEB_BUILD_PROFILES=nocheck "$source/packaging/build-deb.sh" "$out" \
    >"$out.log" 2>&1 || { tail -n 60 "$out.log"; exit 1; }
deb=$(ls "$out"/la-korvalin_*_"$(dpkg-architecture -qDEB_HOST_ARCH)".deb)
echo "built $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = la-korvalin ] || fail "wrong Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "wrong Version: $(field Version)"
for need in fonts-liberation fonts-lato qt6-translations-l10n; do
    field Depends | grep -qw "$need" || fail "Depends lacks $need"
done
field Recommends | grep -qw qt6-wayland || fail "Recommends lacks qt6-wayland"
dpkg-deb -I "$deb" >/dev/null

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/bin/la-korvalin \
    "./usr/share/applications/$id.desktop" \
    "./usr/share/metainfo/$id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "./usr/share/icons/hicolor/256x256/apps/$id.png" \
    ./usr/share/man/man1/la-korvalin.1.gz \
    ./usr/share/man/fr/man1/la-korvalin.1.gz \
    ./usr/share/doc/la-korvalin/copyright; do
    printf '%s\n' "$files" | grep -qxF "$file" || fail "not in the package: $file"
done

root=$out/contents
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$id.metainfo.xml"
appstreamcli compose --no-net --result-root="$out/compose" --origin=la-korvalin "$root" \
    >"$out/compose.log" 2>&1 || { cat "$out/compose.log"; fail "appstreamcli compose failed"; }
zcat "$out/compose/usr/share/swcatalog/xml/la-korvalin.xml.gz" | grep -q "<id>$id</id>" ||
    fail "appstreamcli compose left out $id"

# korvalin, in a package of its own that a server or a script installs alone: no Qt.
cli=$(ls "$out"/korvalin_*_"$(dpkg-architecture -qDEB_HOST_ARCH)".deb)
dpkg-deb -f "$cli" Depends | grep -qi qt && fail "korvalin depends on Qt: $(dpkg-deb -f "$cli" Depends)"
for file in ./usr/bin/korvalin ./usr/share/man/man1/korvalin.1.gz ./usr/share/man/fr/man1/korvalin.1.gz \
    ./usr/share/bash-completion/completions/korvalin ./usr/share/doc/korvalin/copyright; do
    dpkg-deb -c "$cli" | awk '{ print $6 }' | grep -qxF "$file" || fail "not in korvalin: $file"
done
dpkg-deb -c "$deb" | grep -q '/korvalin\.1' && fail "la-korvalin holds korvalin's manual page"
dpkg-deb -x "$cli" "$root"
for page in usr/share/man/man1/la-korvalin.1.gz usr/share/man/fr/man1/la-korvalin.1.gz \
    usr/share/man/man1/korvalin.1.gz usr/share/man/fr/man1/korvalin.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
done
echo "package valid"
