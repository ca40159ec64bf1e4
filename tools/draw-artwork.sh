#!/bin/sh
# Redraws the dashboard artwork with ImageMagick 6 (Debian's `convert`).
# Usage: tools/draw-artwork.sh   (run from anywhere; writes into the tree)
# Output carries no timestamps, so redrawing unchanged art leaves git clean.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
mkdir -p "$root/imgs" "$root/resources"

W=200 H=190
BORDER='#C8D2DE'
# GIFs cannot fade into the window, so their cut-off corners take a
# neutral grey close to the default dialog background.
GIF_CORNER='#FFFFFF'

# card OUT: white-to-faint-blue card with a 1-px border, transparent corners.
card() {
    convert -size ${W}x${H} gradient:'#FFFFFF-#F4F7FB' "$tmp/grad.png"
    convert -size ${W}x${H} xc:none -fill white \
        -draw "roundrectangle 0,0 $((W-1)),$((H-1)) 6,6" "$tmp/mask.png"
    convert "$tmp/grad.png" "$tmp/mask.png" -alpha off \
        -compose CopyOpacity -composite \
        -fill none -stroke "$BORDER" -strokewidth 1 \
        -draw "roundrectangle 0,0 $((W-1)),$((H-1)) 6,6" \
        "$1"
}

# light LIGHT BASE RIM OUT: a 40x40 status lamp, centre at (20,20), r=15.
light() {
    S=40
    # Radial gradient off-centre towards the top-left so the lamp reads
    # as lit from above.
    convert -size ${S}x${S} \
        -define gradient:center=16,15 -define gradient:radii=22,22 \
        radial-gradient:"$1-$2" "$tmp/body.png"
    convert -size ${S}x${S} xc:black -fill white \
        -draw "circle 20,20 20,5" "$tmp/disc.png"
    convert "$tmp/body.png" "$tmp/disc.png" -alpha off \
        -compose CopyOpacity -composite "$tmp/lamp.png"
    # Soft shadow just below the lamp.
    convert -size ${S}x${S} xc:none -fill 'rgba(40,50,70,0.35)' \
        -draw "circle 20,21.5 20,6" -blur 0x1.4 "$tmp/shadow.png"
    # Highlight: a blurred white ellipse in the upper-left quadrant.
    convert -size ${S}x${S} xc:none -fill 'rgba(255,255,255,0.85)' \
        -draw "ellipse 15.5,13.5 5.5,3.5 0,360" -blur 0x1 "$tmp/shine.png"
    convert "$tmp/shadow.png" "$tmp/lamp.png" -compose Over -composite \
        -fill none -stroke "$3" -strokewidth 1.4 \
        -draw "circle 20,20 20,5.7" \
        "$tmp/shine.png" -compose Over -composite \
        "$4"
}

# panel LAMP OUT: lamp centred at (26,26) on a card.
panel() {
    card "$tmp/card.png"
    convert "$tmp/card.png" "$1" -geometry +6+6 -compose Over -composite "$2"
}

light '#7FDB93' '#2EAD4B' '#1E7A33' "$tmp/green.png"
light '#86ADF0' '#2F6FD6' '#1D4C9E' "$tmp/blue.png"
light '#D4D9E0' '#A0A8B4' '#747C88' "$tmp/grey.png"

for c in green blue; do
    panel "$tmp/$c.png" "$tmp/$c-panel.png"
    # Flatten onto the corner colour: one frame, no transparency. A full
    # tree depth keeps every step of the faint gradient; shallower trees
    # merge them into visible bands.
    convert "$tmp/$c-panel.png" -background "$GIF_CORNER" -flatten \
        -dither None -treedepth 8 -colors 256 -strip "GIF:$root/imgs/${c}circle.gif"
done

panel "$tmp/grey.png" "$tmp/grey-panel.png"
convert "$tmp/grey-panel.png" -strip -define png:exclude-chunks=date,time "PNG32:$root/resources/panel.png"

# Centre box: a 270x100 picture, but the box shows only its left 241 pixels, so the
# card is drawn that wide and the rest left clear.
PW=270 CW=241 CH=100
convert -size ${CW}x${CH} gradient:'#EEF3FB-#DCE6F5' "$tmp/cgrad.png"
convert -size ${CW}x${CH} xc:black -fill white \
    -draw "roundrectangle 0,0 $((CW-1)),$((CH-1)) 9,9" "$tmp/cmask.png"
convert "$tmp/cgrad.png" "$tmp/cmask.png" -alpha off \
    -compose CopyOpacity -composite \
    -fill none -stroke '#000080' -strokewidth 2 \
    -draw "roundrectangle 0.5,0.5 $((CW-2)).5,$((CH-2)).5 8,8" \
    -compose Over -background none -gravity west -extent ${PW}x${CH} \
    -strip -define png:exclude-chunks=date,time "PNG32:$root/resources/centre.png"
