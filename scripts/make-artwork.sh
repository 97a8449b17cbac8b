#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick. The results are committed in artwork/, so a
# build never needs this script; run it again only to change the artwork.
set -euo pipefail
out="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/artwork"
im=/usr/bin/convert  # Debian's ImageMagick, not a wrapper earlier on PATH
panel='rgb(192,192,192)'
blue='rgb(0,0,200)'

# Dots: 21 x 21, a disc on the grey of the grid panel.
"$im" -size 21x21 "xc:$panel" -fill 'rgb(255,0,0)' -stroke 'rgb(150,0,0)' \
    -draw 'circle 10,10 10,1' +antialias "$out/pointrouge.gif"
"$im" -size 21x21 "xc:$panel" -fill 'rgb(96,96,96)' -stroke 'rgb(64,64,64)' \
    -draw 'circle 10,10 10,1' +antialias "$out/pointgris.gif"
# Preview faces, 27 x 15: play (two triangles) and stop (a square).
"$im" -size 27x15 xc:none -fill "$blue" \
    -draw 'polygon 2,1 13,7 2,13' -draw 'polygon 14,1 25,7 14,13' "$out/lecture.gif"
"$im" -size 27x15 xc:none -fill 'rgb(200,0,0)' -draw 'rectangle 8,2 18,12' "$out/stop.gif"
cp "$out/lecture.gif" "$out/defiler.gif"

# Arrows, 15 x 15.
"$im" -size 15x15 xc:none -fill "$blue" -draw 'polygon 12,1 2,7 12,13' "$out/precedent.gif"
"$im" -size 15x15 xc:none -fill "$blue" -draw 'polygon 2,1 12,7 2,13' "$out/suivant.gif"

# The display module, 99 x 45: a green board, the 5 x 7 matrix, the connector and a chip.
matrix=()
for r in 0 1 2 3 4 5 6; do
    for c in 0 1 2 3 4; do
        x=$((8 + c * 5)); y=$((6 + r * 5))
        matrix+=(-draw "circle $x,$y $((x + 1)),$y")
    done
done
"$im" -size 99x45 xc:none -fill 'rgb(0,110,50)' -stroke 'rgb(0,70,30)' \
    -draw 'roundrectangle 0,0 98,44 4,4' -stroke none -fill 'rgb(30,30,30)' \
    -draw 'rectangle 4,2 32,40' -fill 'rgb(220,40,40)' "${matrix[@]}" \
    -fill 'rgb(20,20,20)' -draw 'rectangle 44,12 74,30' \
    -fill 'rgb(200,200,200)' -draw 'rectangle 82,14 96,30' "$out/module.gif"

# Window icon, 16 x 16: a lit 3 x 3 dot pattern on grey.
"$im" -size 16x16 "xc:$panel" -fill 'rgb(255,0,0)' \
    -draw 'circle 3,3 4,4' -draw 'circle 8,3 9,4' -draw 'circle 12,3 13,4' \
    -draw 'circle 8,8 9,9' -draw 'circle 8,12 9,13' "$out/icone.png"
