#!/usr/bin/env bash
# Checks the program icon and its renditions: the 32 x 32 icon is an opaque 8-bit palette image,
# the renditions have their sizes, and the Windows .ico holds the 32 x 32 at 8 bits per pixel.
# Usage: icon_test.sh ICON_DIR
set -euo pipefail
dir=$1
command -v identify >/dev/null || { echo "SKIP: ImageMagick's identify is not installed"; exit 77; }

fail=0
expect() { # WHAT ACTUAL WANTED
    if [ "$2" = "$3" ]; then echo "ok: $1 = $3"; else echo "FAILED: $1 is '$2', wanted '$3'"; fail=1; fi
}
icon=$dir/orvanunk4.png
expect "32 px icon: size" "$(identify -format '%wx%h' "$icon")" 32x32
expect "32 px icon: type" "$(identify -format '%[type]' "$icon")" Palette
expect "32 px icon: depth" "$(identify -format '%z' "$icon")" 8
expect "32 px icon: alpha channel" "$(identify -format '%A' "$icon")" False
# The PNG header itself: 8 bits, colour type 3 (palette), and no transparency chunk.
expect "32 px icon: IHDR bit depth and colour type" "$(od -An -tu1 -j24 -N2 "$icon" | tr -s ' ')" " 8 3"
if grep -q tRNS "$icon"; then echo "FAILED: tRNS chunk"; fail=1; else echo "ok: no tRNS chunk"; fi
colours=$(identify -format '%k' "$icon")
[ "$colours" -le 256 ] && echo "ok: $colours colours" || { echo "FAILED: $colours colours"; fail=1; }

for size in 16 48 64 128 256; do
    expect "rendition $size" "$(identify -format '%wx%h %z' "$dir/orvanunk4-$size.png")" "${size}x${size} 8"
done
expect "ico images" "$(identify -format '%wx%h,' "$dir/orvanunk4.ico")" "16x16,32x32,48x48,256x256,"
# The .ico's directory entry for 32 x 32: width 32, height 32, one plane, 8 bits per pixel.
expect "ico 32 px entry" "$(od -An -tu1 -j22 -N8 "$dir/orvanunk4.ico" | tr -s ' ')" " 32 32 0 0 1 0 8 0"
exit $fail
