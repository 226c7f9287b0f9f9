#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and checks that the
# program, its desktop entry, its metainfo and its icon are inside, and that it has its fields.
# Usage: deb_test.sh BUILD_DIR APP_ID PROGRAM
set -euo pipefail
build=$1 id=$2 program=$3

for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
debs=("$out"/*.deb)
[ -f "${debs[0]}" ] || { echo "FAILED: no .deb in $out"; cat "$out/cpack.log"; exit 1; }
deb=${debs[0]}
echo "Built $(basename "$deb"):"
dpkg-deb --field "$deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"

fail=0
has() { # PATH
    if grep -qE "[[:space:]]\./$1\$" <<<"$contents"; then echo "ok: /$1"; else echo "FAILED: /$1 missing"; fail=1; fi
}
has "usr/bin/$program"
has "usr/share/applications/$id.desktop"
has "usr/share/metainfo/$id.metainfo.xml"
for size in 16 32 48 64 128 256; do
    has "usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
has "usr/share/doc/orvanunk4/copyright"
has "usr/share/doc/orvanunk4/changelog.gz"
has "usr/share/man/man1/$program.1.gz"

field() { dpkg-deb --field "$deb" "$1"; }
for name in Package Version Maintainer Depends; do
    if [ -n "$(field "$name")" ]; then echo "ok: $name: $(field "$name")"; else echo "FAILED: no $name"; fail=1; fi
done
[ "$(field Package)" = orvanunk4 ] || { echo "FAILED: package name"; fail=1; }
[ "$(field Version)" = 2.2 ] || { echo "FAILED: version"; fail=1; }
grep -q 'libqt6widgets6' <<<"$(field Depends)" || { echo "FAILED: Depends lacks Qt Widgets"; fail=1; }
grep -q 'qt6-wayland' <<<"$(field Recommends)" || { echo "FAILED: Recommends lacks qt6-wayland"; fail=1; }
exit $fail
