#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the window's background picture: soft blurred clouds in blue-violet fading
# into black, as a 512 x 512 baseline colour JPEG (JFIF 1.02, 300 dpi).
# Needs ImageMagick 6 (Debian: imagemagick). Usage: make-background.sh [OUTPUT]
set -eu
out=${1:-"$(dirname "$0")/background.jpg"}
convert=/usr/bin/convert # a convert earlier on PATH may not be ImageMagick's

"$convert" -size 512x512 -seed 1955 plasma:fractal -colorspace gray -blur 0x7 -auto-level \
    \( -size 1100x1100 radial-gradient:white-black -crop 512x512+550+550 +repage \
    -evaluate pow 0.9 \) -compose multiply -composite -auto-level \
    \( -size 1x96 gradient:'#000000'-'#2a1f8c' -size 1x96 gradient:'#2a1f8c'-'#6a55e0' \
    -size 1x64 gradient:'#6a55e0'-'#b7a6ff' -append \) -clut \
    -colorspace sRGB -type TrueColor -interlace none -strip \
    -quality 82 -density 300 -units PixelsPerInch "$out"

# libjpeg writes JFIF 1.01; the version's minor byte follows "JFIF\0\1" at offset 12.
printf '\002' | dd of="$out" bs=1 seek=12 conv=notrunc status=none
