#!/usr/bin/env bash
# Builds the Debian package and runs hardening-check (devscripts) on the program inside it:
# position-independent, stack protector, fortified libc calls, read-only relocations and
# immediate binding are all required; and the stripped program carries no .comment or .note
# section (lintian's binary-has-unneeded-section).
# Usage: hardening_test.sh BUILD_DIR PROGRAM
set -euo pipefail
build=$1 program=$2
source "$(dirname "$0")/build_deb.sh"
for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file hardening-check:devscripts \
    readelf:binutils; do
    need "${tool%%:*}" "${tool#*:}"
done

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
build_deb "$build" "$out"
dpkg-deb -x "$deb" "$out/tree"
binary=$out/tree/usr/bin/$program
[ -x "$binary" ] || { echo "FAILED: no usr/bin/$program in the package"; exit 1; }

fail=0
# Control-flow protection is not asked for: Debian 12's own start files (crt1.o and friends)
# are built without it, so no program linked there gets the marking, and Debian 12's
# dpkg-buildflags does not ask for it either.
if hardening-check --nocfprotection "$binary" | tee "$out/check.log"; then
    echo "ok: hardening-check"
else
    echo "FAILED: hardening-check"
    fail=1
fi
# The report itself, so that a change in the tool's defaults cannot pass a feature silently.
for feature in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
    "Read-only relocations" "Immediate binding"; do
    grep -q "^ $feature: yes" "$out/check.log" || { echo "FAILED: $feature"; fail=1; }
done

sections=$(readelf -SW "$binary" | sed -n 's/^ *\[ *[0-9]*\] \([^ ]*\).*/\1/p')
for unneeded in .comment .note; do
    if grep -qxF -- "$unneeded" <<<"$sections"; then
        echo "FAILED: section $unneeded"
        fail=1
    else
        echo "ok: no $unneeded section"
    fi
done
exit $fail
