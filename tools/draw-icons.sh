#!/bin/sh
# Renders the program icon's PNG sizes from its SVG with ImageMagick 6 (Debian's
# `convert`, which reads SVG through rsvg-convert: apt-get install librsvg2-bin).
# Usage: tools/draw-icons.sh   (run from anywhere; writes into the tree)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
icons="$root/data/icons/hicolor"
svg="$icons/scalable/apps/io.github.aimwell.Aimwell.svg"

for size in 48 128 256; do
    out="$icons/${size}x${size}/apps"
    mkdir -p "$out"
    # Rendered large and scaled down, so that the small sizes keep smooth edges.
    convert -background none -density 384 "$svg" -resize "${size}x${size}" \
        -strip -define png:exclude-chunks=date,time "PNG32:$out/io.github.aimwell.Aimwell.png"
done
