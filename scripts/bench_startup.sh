#!/usr/bin/env bash
# Start-up cost and memory of Orvan unk4 beside a bare Qt 6 window, a bare Xlib window and
# whichever of xcalc, galculator and SpeedCrunch are installed, on a private Xvfb with no window
# manager. After one warm-up run each, every round runs each program once, in an order rotated
# from round to round, so that the machine's drift falls on all of them alike. Prints medians
# and ratios to the bare Qt window as a markdown table.
#
#   scripts/bench_startup.sh [-n RUNS] [-B BUILD_DIR] [-o ROWS_FILE] [-c LABEL=PROGRAM]...
#   (defaults: 15 runs, build; configure first: cmake -S . -B build -DCMAKE_BUILD_TYPE=Release)
#   -c adds another build of the program to the same sitting, for example an earlier version.
#
# Per run (bench/startup/xstartwait.c): the time on a processor the program has used when the
# X server reports its window mapped, the wall time from fork() to then, and VmRSS and RssAnon
# 300 ms later. CPU time is the figure to compare: a busy machine stretches wall time, but
# hardly the work a program does. -o keeps one row per run: label wall_us cpu_us rss_kb anon_kb.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=15 BUILD=build ROWS=
others=()
while getopts "n:B:o:c:" o; do
    case $o in
    n) RUNS=$OPTARG ;; B) BUILD=$OPTARG ;; o) ROWS=$OPTARG ;;
    c) others+=("${OPTARG%%=*}|^Orvan unk4 ver\\.2\\.2\$|$(realpath "${OPTARG#*=}")") ;;
    *) exit 2 ;;
    esac
done
[ -f "$BUILD/CMakeCache.txt" ] \
    || { echo "configure first: cmake -S . -B $BUILD -DCMAKE_BUILD_TYPE=Release" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "needs Xvfb (scripts/deps.sh test)" >&2; exit 1; }
# Built once, then run again on a private Xvfb with no window manager (run_on_xvfb.sh: a free
# display, -noreset, the xcb platform, a private runtime folder).
if [ -z "${BENCH_ON_XVFB:-}" ]; then
    cmake --build "$BUILD" --target Orvanunk4ver22 xstartwait bare-qt bare-xlib >/dev/null
    BENCH_ON_XVFB=1 XVFB_SCREEN=1280x1024x24 exec bash ui/main/tests/run_on_xvfb.sh scripts/bench_startup.sh "$@"
fi
BUILD=$(realpath "$BUILD")
BENCH=$BUILD/bench/startup
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export HOME=$TMP/home
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
mkdir -p "$HOME"

# label | window title (extended regular expression) | command
candidates=(
    "orvanunk4|^Orvan unk4 ver\\.2\\.2\$|$BUILD/Orvanunk4ver22"
    "${others[@]}"
    "bare-qt|^bare-qt\$|$BENCH/bare-qt"
    "bare-xlib|^bare-xlib\$|$BENCH/bare-xlib"
    "xcalc|^Calculator\$|xcalc"
    "galculator|^galculator\$|galculator"
    "speedcrunch|^SpeedCrunch\$|speedcrunch"
)
programs=()
for p in "${candidates[@]}"; do
    command -v "${p##*|}" >/dev/null && programs+=("$p")
done

run() { # label title command -> one row on stdout
    local values
    values=$("$BENCH/xstartwait" "$2" "$3" 2>>"$TMP/programs.log") \
        || { echo "$1 failed:" >&2; tail -n 20 "$TMP/programs.log" >&2; exit 1; }
    echo "$1 $values"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for p in "${programs[@]}"; do
    IFS='|' read -r label title cmd <<<"$p"
    echo "warm-up: $label" >&2
    run "$label" "$title" "$cmd" >/dev/null
done
for ((r = 0; r < RUNS; r++)); do
    echo "round $((r + 1)) of $RUNS" >&2
    for ((k = 0; k < ${#programs[@]}; k++)); do
        IFS='|' read -r label title cmd <<<"${programs[(k + r) % ${#programs[@]}]}"
        run "$label" "$title" "$cmd" >>"$TMP/rows"
    done
done
[ -n "$ROWS" ] && cp "$TMP/rows" "$ROWS"

echo "$RUNS runs each, interleaved; $(grep -m1 '^CMAKE_BUILD_TYPE:' "$BUILD/CMakeCache.txt" \
    | cut -d= -f2) build; load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after."
echo
echo "| program | on-CPU ms | × bare-qt | wall ms | × bare-qt | RSS MiB | × bare-qt | RssAnon MiB | × bare-qt |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
awk '
function median(label, column,   v, n, i, j, t) {
    n = 0
    for (i = 1; i <= rows; i++) if (name[i] == label) v[++n] = value[i, column]
    for (i = 2; i <= n; i++) { t = v[i]; for (j = i - 1; j > 0 && v[j] > t; j--) v[j + 1] = v[j]; v[j + 1] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
{ name[++rows] = $1; for (c = 2; c <= 5; c++) value[rows, c] = $c; if (!seen[$1]++) order[++k] = $1 }
END {
    for (c = 2; c <= 5; c++) base[c] = median("bare-qt", c)
    for (i = 1; i <= k; i++) {
        printf "| %s", order[i]
        for (j = 1; j <= 4; j++) {
            c = substr("3245", j, 1)
            m = median(order[i], c)
            printf " | %.1f | %.2f", c == 2 || c == 3 ? m / 1000 : m / 1024, m / base[c]
        }
        printf " |\n"
    }
}' "$TMP/rows"
