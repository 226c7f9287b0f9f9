#!/usr/bin/env bash
# The Windows download: `cpack -G ZIP` in the build folder must give a ZIP holding the program
# file as built, the users' README and the licence, side by side and nothing else. The README
# is plain text in Windows' line endings, with its version filled in.
# Usage: zip_test.sh BUILD_DIR PROGRAM.exe
set -euo pipefail
build=$1
program=$2
command -v unzip >/dev/null || { echo "SKIP: unzip is not installed"; exit 77; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G ZIP -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
zip=$(ls "$out"/*.zip)
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listing" = "LICENSE.txt Orvanunk4ver22.exe README.txt " ] \
    || { echo "FAILED: $(basename "$zip") holds: $listing"; exit 1; }
unzip -q "$zip" Orvanunk4ver22.exe -d "$out/unpacked"
cmp "$program" "$out/unpacked/Orvanunk4ver22.exe" || { echo "FAILED: the packed program differs"; exit 1; }
unzip -q "$zip" README.txt -d "$out/unpacked"
readme=$out/unpacked/README.txt
[ "$(head -n 1 "$readme")" = $'Orvan unk4 2.2\r' ] \
    || { echo "FAILED: README.txt begins '$(head -n 1 "$readme")'"; exit 1; }
unzip -q "$zip" LICENSE.txt -d "$out/unpacked"
for text in "$readme" "$out/unpacked/LICENSE.txt"; do
    [ "$(grep -c $'\r$' "$text")" -eq "$(wc -l <"$text")" ] \
        || { echo "FAILED: $(basename "$text") has lines without CR LF"; exit 1; }
done
echo "ok: $(basename "$zip"), $(stat -c %s "$zip") bytes: $listing"
