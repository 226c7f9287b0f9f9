#!/usr/bin/env bash
# Installs the build into a staging folder and checks the program's desktop identity there:
# the program, the desktop entry and the metainfo (both validated), and the icon in every size.
# Usage: install_test.sh BUILD_DIR APP_ID PROGRAM
set -euo pipefail
build=$1 id=$2 program=$3

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >/dev/null
echo "Installed:"
(cd "$stage" && find . -type f | sort)

fail=0
check() { # DESCRIPTION TEST...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}

desktop=$stage/usr/share/applications/$id.desktop
metainfo=$stage/usr/share/metainfo/$id.metainfo.xml
check "program bin/$program is executable" test -x "$stage/usr/bin/$program"
check "desktop entry $id.desktop" test -f "$desktop"
check "metainfo $id.metainfo.xml" test -f "$metainfo"
check "desktop-file-validate" desktop-file-validate "$desktop"
check "appstreamcli validate" appstreamcli validate --no-net --explain "$metainfo"
# The tree as a whole: the metainfo with the desktop entry it launches.
check "appstreamcli validate-tree" appstreamcli validate-tree --no-net --explain "$stage"

field() { sed -n "s/^$1=//p" "$desktop"; }
check "Name is \"Orvan unk4\"" test "$(field Name)" = "Orvan unk4"
check "Exec is $program" test "$(field Exec)" = "$program"
check "Icon is $id" test "$(field Icon)" = "$id"
check "Comment is the program's description" test "$(field Comment)" = \
    "A utility to identify individual unk4 values that have been combined to make up the final unk4 input for OrvanTRK"
check "launchable names the desktop entry" grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
check "release 2.2" grep -q '<release version="2.2"' "$metainfo"

for size in 16 32 48 64 128 256; do
    icon=$stage/usr/share/icons/hicolor/${size}x${size}/apps/$(field Icon).png
    check "icon ${size}x${size}" test -f "$icon"
    if [ -f "$icon" ] && command -v identify >/dev/null; then
        check "icon ${size}x${size} measures ${size}x${size}" \
            test "$(identify -format '%wx%h' "$icon")" = "${size}x${size}"
    fi
done
exit $fail
