#!/usr/bin/env bash
# The packages' checks, each a test of its own: package_test.sh CHECK ARGS...
#   deb BUILD_DIR APP_ID PROGRAM      the .deb from cpack and its fields; its files: the program,
#                                     the desktop entry and the metainfo (both validated, and
#                                     their fields), the icon in every size, the documents
#   hardening BUILD_DIR PROGRAM       hardening-check (devscripts) on the packaged program, and no
#                                     .comment or .note section left in it
#   lintian BUILD_DIR                 lintian on the .deb with every tag shown
#   icon ICON_DIR                     the program icon's files: the 32 x 32 PNG, its renditions,
#                                     the Windows .ico
#   zip BUILD_DIR PROGRAM.exe         the Windows download from cpack
# A missing tool skips the check (77); under CI=true, where scripts/deps.sh test has installed
# them all, it fails it.
set -euo pipefail
what=$1
shift

need() { # TOOL[:PACKAGE]...
    local tool why
    for tool; do
        command -v "${tool%%:*}" >/dev/null && continue
        why="${tool%%:*} is not installed (Debian package ${tool#*:}; scripts/deps.sh test installs it)"
        [ "${CI:-}" != true ] || { echo "FAILED: $why"; exit 1; }
        echo "SKIP: $why"
        exit 77
    done
}

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail=0
check() { # WHAT COMMAND [ARGS...]: the command decides; the checks after it run either way
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
expect() { # WHAT ACTUAL WANTED
    check "$1: '$2', wanted '$3'" test "$2" = "$3"
}
lacks() { ! grep -q "$@"; }

# package GENERATOR BUILD_DIR: cpack's package in $package, unpacked into $out/tree.
package() {
    [ "$1" = ZIP ] || need cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file
    (cd "$2" && cpack -G "$1" -B "$out" >"$out/cpack.log" 2>&1) && package=$(ls "$out"/*."${1,,}") \
        || { echo "FAILED: cpack -G $1"; cat "$out/cpack.log"; exit 1; }
    echo "Built $(basename "$package"), $(stat -c %s "$package") bytes"
    if [ "$1" = ZIP ]; then unzip -q "$package" -d "$out/tree"; else dpkg-deb -x "$package" "$out/tree"; fi
}

case $what in
deb)
    need desktop-file-validate:desktop-file-utils appstreamcli:appstream identify:imagemagick
    id=$2 program=$3
    package DEB "$1"
    dpkg-deb --field "$package"
    dpkg-deb -c "$package"
    usr=$out/tree/usr
    desktop=$usr/share/applications/$id.desktop
    metainfo=$usr/share/metainfo/$id.metainfo.xml
    check "program bin/$program is executable" test -x "$usr/bin/$program"
    for file in share/doc/orvanunk4/{copyright,changelog.gz} share/man/man1/$program.1.gz; do
        check "/usr/$file" test -f "$usr/$file"
    done
    for size in 16 32 48 64 128 256; do
        expect "icon ${size}x${size}" "$(identify -format '%wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/$id.png")" "${size}x${size}"
    done
    check "desktop-file-validate $id.desktop" desktop-file-validate "$desktop"
    check "appstreamcli validate $id.metainfo.xml" appstreamcli validate --no-net --explain "$metainfo"
    # The tree as a whole: the metainfo with the desktop entry it launches.
    check "appstreamcli validate-tree" appstreamcli validate-tree --no-net --explain "$out/tree"
    field() { sed -n "s/^$1=//p" "$desktop"; }
    expect Name "$(field Name)" "Orvan unk4"
    expect Exec "$(field Exec)" "$program"
    expect Icon "$(field Icon)" "$id"
    expect Comment "$(field Comment)" "A utility to identify individual unk4 values that have been combined to make up the final unk4 input for OrvanTRK"
    check "launchable names the desktop entry" grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
    check "release 2.2" grep -q '<release version="2.2"' "$metainfo"
    field() { dpkg-deb --field "$package" "$1"; }
    expect Package "$(field Package)" orvanunk4
    expect Version "$(field Version)" 2.2
    check "Maintainer: $(field Maintainer)" test -n "$(field Maintainer)"
    check "Depends on Qt Widgets" grep -q libqt6widgets6 <<<"$(field Depends)"
    check "Recommends qt6-wayland" grep -q qt6-wayland <<<"$(field Recommends)"
    ;;
hardening)
    need hardening-check:devscripts readelf:binutils
    package DEB "$1"
    binary=$out/tree/usr/bin/$2
    # Control-flow protection is not asked for: Debian 12's own start files (crt1.o and friends)
    # are built without it, so no program linked there gets the marking, and Debian 12's
    # dpkg-buildflags does not ask for it either.
    check hardening-check eval 'hardening-check --nocfprotection "$binary" | tee "$out/check.log"'
    # The report itself, so that a change in the tool's defaults cannot pass a feature silently.
    for feature in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
        "Read-only relocations" "Immediate binding"; do
        check "$feature" grep -q "^ $feature: yes" "$out/check.log"
    done
    # The stripped program carries no .comment or .note (lintian's binary-has-unneeded-section).
    sections=$(readelf -SW "$binary" | sed -n 's/^ *\[ *[0-9]*\] \([^ ]*\).*/\1/p')
    for unneeded in .comment .note; do
        check "no $unneeded section" lacks -xF -- "$unneeded" <<<"$sections"
    done
    ;;
lintian)
    # Any tag fails the test; a tag may only be silenced by an override shipped in the package
    # (usr/share/lintian/overrides/orvanunk4) under a comment giving the reason, and lintian
    # itself reports overrides that no longer match.
    need lintian
    package DEB "$1"
    overrides=$out/tree/usr/share/lintian/overrides/orvanunk4
    if [ -f "$overrides" ]; then
        sed 's/^/override: /' "$overrides"
        check "each override has its reason in a comment line right above it" \
            awk '/^[[:space:]]*$/ { prev = ""; next }
                 /^#/ { prev = "#"; next }
                 prev != "#" { print "without a reason: " $0; bad = 1 }
                 { prev = "" }
                 END { exit bad }' "$overrides"
    fi
    # lintian warns on standard error when run as root; only its tags on standard output count.
    if lintian --display-info --display-experimental --pedantic \
        --fail-on error,warning,info,pedantic,experimental "$package" >"$out/lintian.log" \
        2>"$out/lintian.err" && lacks -E '^[EWIPXC]: ' "$out/lintian.log"; then
        echo "ok: lintian --pedantic reports no tag"
    else
        echo "FAILED: lintian"
        cat "$out/lintian.log" "$out/lintian.err"
        fail=1
    fi
    ;;
icon)
    need identify:imagemagick
    icon=$1/orvanunk4.png
    expect "32 px icon" "$(identify -format '%wx%h %[type] %z %A' "$icon")" "32x32 Palette 8 False"
    # The PNG header itself: 8 bits, colour type 3 (palette, so 256 colours at most), and no
    # transparency chunk.
    expect "32 px icon: IHDR bit depth and colour type" "$(od -An -tu1 -j24 -N2 "$icon" | tr -s ' ')" " 8 3"
    check "no tRNS chunk" lacks tRNS "$icon"
    for size in 16 48 64 128 256; do
        expect "rendition $size" "$(identify -format '%wx%h %z' "$1/orvanunk4-$size.png")" "${size}x${size} 8"
    done
    expect "ico images" "$(identify -format '%wx%h,' "$1/orvanunk4.ico")" "16x16,32x32,48x48,256x256,"
    # The .ico's directory entry for 32 x 32: width 32, height 32, one plane, 8 bits per pixel.
    expect "ico 32 px entry" "$(od -An -tu1 -j22 -N8 "$1/orvanunk4.ico" | tr -s ' ')" " 32 32 0 0 1 0 8 0"
    ;;
zip)
    # The program file as built, the users' README and the licence, side by side and nothing
    # else. Both texts are in Windows' line endings, the README with its version filled in.
    need unzip
    package ZIP "$1"
    expect "the ZIP holds" "$(unzip -Z1 "$package" | sort | tr '\n' ' ')" "LICENSE.txt Orvanunk4ver22.exe README.txt "
    check "the packed program is the one built" cmp "$2" "$out/tree/Orvanunk4ver22.exe"
    expect "README.txt's first line" "$(head -n 1 "$out/tree/README.txt")" $'Orvan unk4 2.2\r'
    for text in README.txt LICENSE.txt; do
        expect "$text: lines in CR LF" "$(grep -c $'\r$' "$out/tree/$text")" "$(wc -l <"$out/tree/$text")"
    done
    ;;
*)
    echo "usage: $0 deb|hardening|lintian|icon|zip ARGS..."
    exit 2
    ;;
esac
exit $fail
