#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a fresh prefix and checks what a desktop finds there.
# Usage: install_test.sh BUILD_DIR APP_ID VERSION
set -eu
build=$1 id=$2 version=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/la-korvalin bin/korvalin share/bash-completion/completions/korvalin \
    share/man/man1/korvalin.1 share/man/fr/man1/korvalin.1 \
    "share/applications/$id.desktop" \
    "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    "share/icons/hicolor/32x32/apps/$id.png" \
    "share/icons/hicolor/256x256/apps/$id.png"; do
    [ -e "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -x "$prefix/bin/la-korvalin" ] || { echo "not executable: bin/la-korvalin"; exit 1; }

# The window's program answers --help and --version, and says there is no display,
# without one and without a core dump.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/la-korvalin" --version)" = \
    "la-korvalin $version" ] || { echo "la-korvalin --version is wrong"; exit 1; }
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/la-korvalin" --help | grep -q korvalin
status=0
error=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/la-korvalin" 2>&1) || status=$?
if [ "$status" -ne 1 ] || [ "$(printf '%s\n' "$error" | wc -l)" -ne 1 ]; then
    echo "without a display: status $status, $error"
    exit 1
fi

desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net --explain "$prefix/share/metainfo/$id.metainfo.xml"
echo "installed and valid in $prefix"
