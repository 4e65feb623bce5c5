#!/bin/sh
# Regenerates ../Pulmetra.ico and ../logo.bmp from the SVG sources beside this script.
# Needs Debian's librsvg2-bin (rsvg-convert), imagemagick and fonts-nanum:
#   apt-get install --no-install-recommends librsvg2-bin imagemagick fonts-nanum
# The build does not run this; commit the regenerated files.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
res=$(dirname "$here")
# /usr/local/bin may hold a stand-in that is not ImageMagick.
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Each icon size has its own drawing, aligned to its pixel grid.
for size in 16 24 32 48; do
    rsvg-convert -w "$size" -h "$size" "$here/icon-$size.svg" -o "$work/icon-$size.png"
done
# ImageMagick writes sizes under 256 as 32-bit BMP entries with alpha, which every loader reads.
"$convert" "$work/icon-16.png" "$work/icon-24.png" "$work/icon-32.png" "$work/icon-48.png" "$res/Pulmetra.ico"

# The logo has a baked background: a 24-bit bitmap has no alpha.
rsvg-convert -w 240 -h 49 "$here/logo.svg" -o "$work/logo.png"
"$convert" "$work/logo.png" -background '#F0F0F0' -alpha remove -alpha off -type TrueColor "BMP3:$res/logo.bmp"
