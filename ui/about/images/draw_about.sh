#!/usr/bin/env bash
# Draws the About window's picture, about.png: a race-track banner with the program's name.
#
# 350 x 149 pixels. The window shows only the top-left 349 x 133 of it, so the name, the flag
# and the track's bend stay inside that part; the last column and the bottom 16 rows are grass.
# Needs ImageMagick 6 and the URW base-35 fonts (Debian: imagemagick, fonts-urw-base35).
# Usage: ui/about/images/draw_about.sh [output.png]
set -euo pipefail

out=${1:-"$(dirname "$0")/about.png"}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Sky, fading towards the horizon; a row of darker hills; grass below.
convert -size 350x80 gradient:'#1d4f9c'-'#a8d0f2' "$tmp/sky.png"
convert -size 350x149 xc:'#4ea247' "$tmp/sky.png" -geometry +0+0 -composite \
    -fill '#2f7530' -draw "path 'M 0,78 C 60,64 110,74 170,70 C 230,66 290,60 350,72 L 350,84 L 0,84 Z'" \
    -fill '#4ea247' -draw "path 'M 0,84 C 100,80 250,84 350,80 L 350,148 L 0,148 Z'" \
    "$tmp/ground.png"

# The circuit: asphalt sweeping in wide from the lower left and narrowing up the hill to the
# right, with red-and-white kerbs along its far edge and a dashed centre line. The asphalt is a
# filled outline (its two edges), which stays smooth where a wide stroke would kink.
far="M -10,128 C 60,100 130,90 200,96 C 260,101 310,88 360,74"
near="L 360,92 C 310,108 260,124 200,124 C 130,124 60,150 -10,190 Z"
kerb="M -10,126 C 60,98 130,88 200,94 C 260,99 310,86 360,72"
centre="M -10,159 C 60,125 130,107 200,110 C 260,112 310,98 360,83"
convert "$tmp/ground.png" \
    -stroke none -fill '#5a5a5e' -draw "path '$far $near'" \
    -fill none -stroke white -strokewidth 5 -draw "stroke-dasharray 7 7 stroke-dashoffset 7 path '$kerb'" \
    -stroke '#d01010' -strokewidth 5 -draw "stroke-dasharray 7 7 path '$kerb'" \
    -stroke '#f4f4f4' -strokewidth 2 -draw "stroke-dasharray 12 9 path '$centre'" \
    "$tmp/track.png"

# A chequered flag on a pole at the right, above the bend.
flag=()
for row in 0 1 2 3; do
    for col in 0 1 2 3 4 5; do
        if (((row + col) % 2 == 0)); then colour=black; else colour=white; fi
        x=$((296 + col * 7))
        y=$((10 + row * 7 + col))
        flag+=(-fill "$colour" -draw "polygon $x,$y $((x + 7)),$((y + 1)) $((x + 7)),$((y + 8)) $x,$((y + 7))")
    done
done
convert "$tmp/track.png" -stroke none \
    -fill '#202020' -draw "rectangle 292,8 295,84" \
    -fill '#d01010' -draw "circle 293.5,7 293.5,3.5" \
    "${flag[@]}" \
    -fill none -stroke black -strokewidth 1 -draw "polygon 296,10 338,16 338,44 296,38" \
    "$tmp/flag.png"

# The name, white with a dark shadow, and the line that says what the program is for.
convert "$tmp/flag.png" -stroke none \
    -font Helvetica-BoldOblique -pointsize 40 \
    -fill '#00000090' -annotate +17+49 'Orvan unk4' \
    -fill white -annotate +14+46 'Orvan unk4' \
    -font Helvetica-Bold -pointsize 13 \
    -fill '#00000090' -annotate +19+65 'unk4 wall flags for OrvanTrk' \
    -fill '#ffe14a' -annotate +18+64 'unk4 wall flags for OrvanTrk' \
    -depth 8 -strip -define png:color-type=2 "$out"

identify "$out"
