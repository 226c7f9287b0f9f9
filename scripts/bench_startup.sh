#!/usr/bin/env bash
# Start-up time and memory of Orvan unk4 beside the programs a user might use instead, on a
# private Xvfb, in one sitting: interleaved rounds, medians, ratios to the bare Qt 6 window.
# Uses the team's instrument (startup.sh and its reference programs).
#
#   scripts/bench_startup.sh [-n RUNS] [-r ROUNDS] [-B BENCH_DIR] [PROGRAM]
#   (defaults: 15 runs in 3 rounds; ../shared/bench; build/Orvanunk4ver22)
set -u -o pipefail
cd "$(dirname "$0")/.."
RUNS=15 ROUNDS=3 BENCH=../shared/bench
while getopts "n:r:B:" o; do
    case $o in n) RUNS=$OPTARG ;; r) ROUNDS=$OPTARG ;; B) BENCH=$OPTARG ;; *) exit 2 ;; esac
done
shift $((OPTIND - 1))
PROGRAM=$(realpath "${1:-build/Orvanunk4ver22}")
BENCH=$(realpath "$BENCH")
PER=$(((RUNS + ROUNDS - 1) / ROUNDS))

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
REF=$TMP/ref
cmake -S "$BENCH/ref" -B "$REF" -DCMAKE_BUILD_TYPE=Release >/dev/null && cmake --build "$REF" >/dev/null \
    || { echo "reference build failed" >&2; exit 1; }

# label | window title ERE | command
PROGRAMS=(
    "orvanunk4|^Orvan unk4 ver\\.2\\.2\$|$PROGRAM"
    "bare-qt|^bare-qt\$|$REF/bare-qt"
    "bare-xlib|^bare-xlib\$|$REF/bare-xlib"
    "xcalc|^Calculator\$|xcalc"
    "galculator|^galculator\$|galculator"
    "speedcrunch|^SpeedCrunch\$|speedcrunch"
)
mkdir -p "$TMP/home"
for ((r = 1; r <= ROUNDS; r++)); do
    for ((k = 0; k < ${#PROGRAMS[@]}; k++)); do
        IFS='|' read -r label title cmd <<<"${PROGRAMS[(k + r - 1) % ${#PROGRAMS[@]}]}"
        command -v "$cmd" >/dev/null || { echo "skipping $label: not installed" >&2; continue; }
        echo "... $label, round $r" >&2
        "$BENCH/startup.sh" -n "$PER" -H "$TMP/home" -l "$label" -t "$title" -- "$cmd" \
            | awk -v l="$label" 'NF == 7 && $1 ~ /^[0-9]+$/ { print l, $2, $3, $5 }' >>"$TMP/rows"
    done
done

echo "| program | median start-up ms | × bare-qt | median RSS MiB | × bare-qt | RssAnon MiB |"
echo "|---|---:|---:|---:|---:|---:|"
awk '
function med(a, n,   i, j, t) {
    for (i = 2; i <= n; i++) { t = a[i]; for (j = i - 1; j > 0 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return (n % 2) ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
{ n[$1]++; ms[$1, n[$1]] = $2; rss[$1, n[$1]] = $3; anon[$1, n[$1]] = $4; if (!seen[$1]++) order[++k] = $1 }
END {
    for (i = 1; i <= k; i++) {
        l = order[i]
        delete a; for (j = 1; j <= n[l]; j++) a[j] = ms[l, j]; mms[l] = med(a, n[l])
        delete a; for (j = 1; j <= n[l]; j++) a[j] = rss[l, j]; mrss[l] = med(a, n[l])
        delete a; for (j = 1; j <= n[l]; j++) a[j] = anon[l, j]; manon[l] = med(a, n[l])
    }
    for (i = 1; i <= k; i++) {
        l = order[i]
        printf "| %s | %.1f | %.2f | %.1f | %.2f | %.1f |\n", l, mms[l], mms[l] / mms["bare-qt"], mrss[l], mrss[l] / mrss["bare-qt"], manon[l]
    }
}' "$TMP/rows"
