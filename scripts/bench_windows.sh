#!/usr/bin/env bash
# Start-up of the Windows program under Wine on a private Xvfb, beside a bare Win32 window built
# the same way (bench/windows/bare_win32.c): from launch until the window is mapped, with the
# wineserver kept running between runs, interleaved, medians. Figures, not a test. The clock is
# the start-up benchmark's instrument, bench/startup/xstartwait.c.
#
#   scripts/bench_windows.sh [-n RUNS] [PROGRAM.exe]   (defaults: 21; build-windows/Orvanunk4ver22.exe)
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=21
while getopts "n:" o; do
    case $o in n) RUNS=$OPTARG ;; *) exit 2 ;; esac
done
shift $((OPTIND - 1))
PROGRAM=$(realpath "${1:-build-windows/Orvanunk4ver22.exe}")
[ -f "$PROGRAM" ] || { echo "no $PROGRAM: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

# Again on a private Xvfb (run_on_xvfb.sh: a free display, 1024 x 768, a private runtime folder).
[ -n "${BENCH_ON_XVFB:-}" ] \
    || BENCH_ON_XVFB=1 exec bash ui/main/tests/run_on_xvfb.sh scripts/bench_windows.sh -n "$RUNS" "$PROGRAM"
TMP=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$TMP"' EXIT

x86_64-w64-mingw32-gcc -Os -municode -mwindows -static -ffunction-sections -fdata-sections \
    -Wl,--gc-sections -s -o "$TMP/bare_win32.exe" bench/windows/bare_win32.c
gcc -O2 -o "$TMP/xstartwait" bench/startup/xstartwait.c -lX11

# The prefix of the Windows tests, with their fonts and settings.
source cmake/wine_prefix.sh "$PWD/build-windows/wine-prefix"
wineserver -p # persistent: every run finds it running, as a desktop session would
# Milliseconds until the window titled exactly $1 is mapped, the processor time spent by then
# (steadier than the wall clock on a busy machine), and the memory in MiB then. Wine
# still tidies up after a program for a moment once its window is gone: a pause, so that each
# start finds it idle.
run() {
    "$TMP/xstartwait" "^$1\$" wine "$2" \
        | awk '{ printf "%.1f %.1f %.1f\n", $1 / 1000, $3 / 1024, $2 / 1000 }'
    sleep 0.5
}
run "Orvan unk4 ver\\.2\\.2" "$PROGRAM" >/dev/null # warm-up: the prefix's services start
run bare-win32 "$TMP/bare_win32.exe" >/dev/null

for ((k = 0; k < RUNS; k++)); do
    echo "orvanunk4 $(run "Orvan unk4 ver\\.2\\.2" "$PROGRAM")" >>"$TMP/rows"
    echo "bare-win32 $(run bare-win32 "$TMP/bare_win32.exe")" >>"$TMP/rows"
done

median() { grep "^$1 " "$TMP/rows" | awk -v c="${2:-2}" '{print $c}' | sort -n \
    | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
program_ms=$(median orvanunk4)
bare_ms=$(median bare-win32)
program_cpu=$(median orvanunk4 4)
bare_cpu=$(median bare-win32 4)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "| program | median start-up ms ($RUNS runs) | × bare-win32 | median CPU ms | × bare-win32 | median RSS MiB | file size bytes |"
echo "|---|---:|---:|---:|---:|---:|---:|"
echo "| Orvanunk4ver22.exe | $program_ms | $(ratio "$program_ms" "$bare_ms") | $program_cpu | $(ratio "$program_cpu" "$bare_cpu") | $(median orvanunk4 3) | $(stat -c %s "$PROGRAM") |"
echo "| bare_win32.exe | $bare_ms | 1.00 | $bare_cpu | 1.00 | $(median bare-win32 3) | $(stat -c %s "$TMP/bare_win32.exe") |"
