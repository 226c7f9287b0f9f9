#!/usr/bin/env bash
# Compiles the Windows resource script with LLVM's resource compiler, where it is installed,
# and checks that the icon and the version texts went into the result.
# Usage: rc_test.sh CONFIGURED_RC
set -euo pipefail
rc=$1

compiler=$(command -v llvm-rc || ls /usr/bin/llvm-rc-* 2>/dev/null | head -n 1 || true)
[ -n "$compiler" ] || { echo "SKIP: llvm-rc is not installed"; exit 77; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# llvm-rc finds no preprocessor headers here; the script needs none. It reads a word that
# starts with a slash as a Windows-style option (/c is the code page, so /ci/... vanishes):
# the input path goes after "--".
"$compiler" -no-preprocess -fo "$out/orvanunk4.res" -- "$rc"
ls -l "$out/orvanunk4.res"

icon=$(sed -n 's/^IDI_ICON1 ICON "\(.*\)"$/\1/p' "$rc")
[ -f "$icon" ] || { echo "FAILED: icon file $icon"; exit 1; }
# The compiled resources hold the icon's images, so they outgrow the .ico's image data.
[ "$(stat -c %s "$out/orvanunk4.res")" -gt "$(stat -c %s "$icon")" ] || { echo "FAILED: icon missing"; exit 1; }

# Version texts are UTF-16 in the compiled resource.
texts=$(iconv -f UTF-16LE -t UTF-8//IGNORE <"$out/orvanunk4.res" 2>/dev/null | tr -c '[:print:]' '\n' || true)
fail=0
for want in "ProductName" "Orvan unk4" "FileVersion" "2.02" "ProductVersion" "InternalName" \
    "Orvanunk4ver22" "OriginalFilename" "Orvanunk4ver22.exe" "FileDescription" \
    "A utility to identify individual unk4 values that have been combined to make up the final unk4 input for OrvanTRK" \
    "040904b0"; do
    if grep -qxF "$want" <<<"$texts"; then echo "ok: $want"; else echo "FAILED: $want"; fail=1; fi
done
# FILEVERSION and PRODUCTVERSION 2.2.0.0: the fixed part holds 2,2 then 0,0 as 16-bit words,
# high word first: 0x00020002 0x00000000.
if od -An -tx1 -v "$out/orvanunk4.res" | tr -d ' \n' | grep -q 'bd04effe0000010002000200000000000200020000000000'; then
    echo "ok: FILEVERSION and PRODUCTVERSION 2,2,0,0"
else
    echo "FAILED: fixed file version"; fail=1
fi
exit $fail
