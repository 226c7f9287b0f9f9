#!/usr/bin/env bash
# Builds the Debian package and runs lintian on it with every tag shown (info, pedantic and
# experimental ones too). Any tag fails the test; a tag may only be silenced by an override
# shipped in the package (usr/share/lintian/overrides/orvanunk4) under a comment giving the
# reason, and lintian itself reports overrides that no longer match.
# Usage: lintian_test.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/build_deb.sh"
for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file lintian:lintian; do
    need "${tool%%:*}" "${tool#*:}"
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
build_deb "$build" "$out"
echo "Built $(basename "$deb"), $(stat -c %s "$deb") bytes"

fail=0
# Every override needs its reason: a comment line right above it.
mkdir "$out/tree"
dpkg-deb -x "$deb" "$out/tree"
overrides=$out/tree/usr/share/lintian/overrides/orvanunk4
if [ -f "$overrides" ]; then
    if ! awk '/^[[:space:]]*$/ { prev = ""; next }
              /^#/ { prev = "#"; next }
              prev != "#" { print "FAILED: override without a reason above it: " $0; bad = 1 }
              { prev = "" }
              END { exit bad }' "$overrides"; then
        fail=1
    fi
    echo "Overrides:"
    sed 's/^/  /' "$overrides"
else
    echo "The package overrides no lintian tags."
fi

# lintian warns on standard error when run as root; only its tags on standard output count.
status=0
lintian --display-info --display-experimental --pedantic \
    --fail-on error,warning,info,pedantic,experimental "$deb" >"$out/lintian.log" 2>"$out/lintian.err" \
    || status=$?
tags=$(grep -E '^[EWIPXC]: ' "$out/lintian.log" || true)
if [ "$status" -ne 0 ] || [ -n "$tags" ]; then
    echo "FAILED: lintian (status $status):"
    cat "$out/lintian.log" "$out/lintian.err"
    fail=1
else
    echo "ok: lintian --pedantic reports no tag"
fi
exit $fail
