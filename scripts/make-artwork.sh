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

# Menu and file-type icons at the desktop's usual sizes, drawn at 256 x 256 and scaled down.
# dots CENTRE_X CENTRE_Y PITCH RADIUS ROW_VALUES...: a 5 x 7 matrix, lit dots red, others grey.
dots() {
    local x0=$1 y0=$2 pitch=$3 radius=$4 r=0 c x y
    shift 4
    for value in "$@"; do
        for c in 0 1 2 3 4; do
            x=$((x0 + c * pitch)); y=$((y0 + r * pitch))
            echo -fill
            if (((value >> c) & 1)); then echo 'rgb(255,40,40)'; else echo 'rgb(70,70,70)'; fi
            echo -draw
            echo "circle $x,$y $((x + radius)),$y"
        done
        r=$((r + 1))
    done
}
icons="$out/icons"
mkdir -p "$icons"
mapfile -t letter_v < <(dots 68 38 30 11 17 17 17 17 10 10 4)
"$im" -size 256x256 xc:none -fill 'rgb(0,110,50)' -stroke 'rgb(0,70,30)' -strokewidth 4 \
    -draw 'roundrectangle 8,8 248,248 28,28' -stroke none -fill 'rgb(20,20,20)' \
    -draw 'roundrectangle 44,14 212,242 10,10' "${letter_v[@]}" -strip "$icons/vexlo-256.png"
mapfile -t letter_a < <(dots 84 92 22 8 14 17 17 31 17 17 17)
"$im" -size 256x256 xc:none -fill white -stroke 'rgb(110,110,110)' -strokewidth 4 \
    -draw 'polygon 40,6 178,6 218,46 218,250 40,250' -fill 'rgb(210,210,210)' \
    -draw 'polygon 178,6 178,46 218,46' -stroke none -fill 'rgb(20,20,20)' \
    -draw 'rectangle 64,72 196,238' "${letter_a[@]}" -strip "$icons/vexlo-sequence-256.png"
for size in 16 32 48 64 128; do
    for name in vexlo vexlo-sequence; do
        "$im" "$icons/$name-256.png" -resize "${size}x${size}" -strip "$icons/$name-$size.png"
    done
done
# The same icons for Windows (program and .car files), several sizes in one file.
for name in vexlo vexlo-sequence; do
    "$im" "$icons/$name-"{16,32,48,256}.png "$icons/$name.ico"
done
