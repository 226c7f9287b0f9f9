#!/usr/bin/env bash
# Builds each download twice, in two folders of different names, at two times, in two time
# zones and under two umasks, and checks that the two builds are the same bytes. On a difference
# it shows where (with diffoscope when it is installed) and fails.
# Usage: scripts/reproduce.sh [--reuse] [page] [exe] [zip] [deb]   (all four by default)
#   --reuse: the first build of the page and the program file is this tree's own
#   (build-web/, build-windows/, as scripts/test.sh leaves them); only the second is made afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
reuse=
[ "${1:-}" = --reuse ] && { reuse=1; shift; }
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(page exe zip deb)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fresh=()
mkdir -p "$work/one"
for target in "${targets[@]}"; do
    case $reuse$target in
    1page) cp build-web/Orvanunk4ver22.html "$work/one/" ;;
    1exe) cp build-windows/Orvanunk4ver22.exe "$work/one/" ;;
    *) fresh+=("$target") ;;
    esac
done
if [ ${#fresh[@]} -gt 0 ]; then
    (umask 022; TZ=UTC scripts/release.sh -o "$work/one" -w "$work/a" "${fresh[@]}" >/dev/null)
fi
(umask 002; TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
    scripts/release.sh -o "$work/two" -w "$work/second-build-elsewhere" "${targets[@]}" >/dev/null)

status=0
for file in $(cd "$work/two" && ls); do
    [ "$file" = SHA256SUMS ] && continue
    if cmp -s "$work/one/$file" "$work/two/$file"; then
        echo "same: $file ($(sha256sum <"$work/two/$file" | cut -c1-16)…)"
        continue
    fi
    status=1
    echo "DIFFERENT: $file"
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$work/one/$file" "$work/two/$file" | head -60 || true
    else
        cmp -l "$work/one/$file" "$work/two/$file" | head -20 || true
    fi
done
exit $status
