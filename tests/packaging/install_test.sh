#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh prefix and checks what a desktop finds there.
# Usage: install_test.sh BUILD_DIR APP_ID
set -eu
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/la-korvalin \
    "share/applications/$id.desktop" \
    "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    "share/icons/hicolor/32x32/apps/$id.png" \
    "share/icons/hicolor/256x256/apps/$id.png"; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -x "$prefix/bin/la-korvalin" ] || { echo "not executable: bin/la-korvalin"; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml"
echo "installed and valid in $prefix"
