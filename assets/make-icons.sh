#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the program's icon: the scalable SVG, its PNG renderings in the hicolor
# layout (the 32 x 32 one in 16 colours), and a Windows .ico of the 32 x 32 one.
# Needs ImageMagick 6 (Debian: imagemagick). Usage: make-icons.sh
set -eu
cd "$(dirname "$0")"
id=org.lakorvalin.Korvalin
convert=/usr/bin/convert # a convert earlier on PATH may not be ImageMagick's

mkdir -p icons/hicolor/scalable/apps
svg=icons/hicolor/scalable/apps/$id.svg
# A small converter seen from the front: the display with its green currency, and
# a keypad whose Off key is red.
cat >"$svg" <<'SVG'
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <rect x="3" y="1" width="26" height="30" rx="4" fill="#3b2ea6" stroke="#15104a"/>
  <rect x="6" y="4" width="14" height="7" rx="1" fill="#ffffff" stroke="none"/>
  <rect x="21" y="5.5" width="5" height="4" fill="#00ff00" stroke="none"/>
  <g fill="#e0e0e0" stroke="none">
    <rect x="6" y="14" width="5" height="4" rx="1"/>
    <rect x="13.5" y="14" width="5" height="4" rx="1"/>
    <rect x="21" y="14" width="5" height="4" rx="1"/>
    <rect x="6" y="19.5" width="5" height="4" rx="1"/>
    <rect x="13.5" y="19.5" width="5" height="4" rx="1"/>
    <rect x="21" y="19.5" width="5" height="4" rx="1"/>
    <rect x="13.5" y="25" width="5" height="4" rx="1"/>
    <rect x="21" y="25" width="5" height="4" rx="1"/>
  </g>
  <rect x="6" y="25" width="5" height="4" rx="1" fill="#ff0000" stroke="none"/>
</svg>
SVG

for size in 32 48 64 128 256; do
    dir=icons/hicolor/${size}x${size}/apps
    mkdir -p "$dir"
    "$convert" -background none -density $((72 * size / 32)) "$svg" -resize "${size}x${size}" \
        -strip "$dir/$id.png"
done
# The 32 x 32 icon proper: 16 colours at most.
png32=icons/hicolor/32x32/apps/$id.png
"$convert" "$png32" +dither -colors 16 -strip "png8:$png32"
"$convert" "$png32" +dither -colors 16 korvalin.ico
