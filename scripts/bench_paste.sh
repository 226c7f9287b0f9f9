#!/usr/bin/env bash
# How long the window takes to answer after the value box's context menu pastes a long text, on
# a private Xvfb with no window manager. For each size, another client (xclip) holds that many
# digits on the CLIPBOARD; the script right-clicks the value box and times until the menu shows
# (the menu reads the clipboard to decide whether Paste is on), clicks Paste, ticks flag box 0
# and times until the program holds the CLIPBOARD again: from the click on Paste until the
# window has handled the paste, the tick and another program's request. Prints one
# row per size; checks nothing (the window tests check what a paste leaves in the box).
#
#   scripts/bench_paste.sh [BUILD_DIR]   (default build; build the program first)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build}/Orvanunk4ver22")
[ -x "$program" ] || { echo "build the program first: cmake --build ${1:-build}" >&2; exit 1; }
exec bash ui/main/tests/run_on_xvfb.sh bash -c '
source ui/main/tests/x11_session.sh
need xdotool xclip
ms() { echo $((($2 - $1) / 1000000)); }
echo "| digits on the clipboard | right click to menu, ms | Paste to answered, ms |"
echo "|---:|---:|---:|"
for digits in 320 4096 4097 1000000 10000000; do
    head -c "$digits" /dev/zero | tr "\0" 7 >"$work/digits"
    start "$work/xclip.log" xclip -quiet -selection clipboard -i "$work/digits"
    holder=$!
    start_program "$1"
    click 196 83 # the value box: "0", selected
    shown() { xdotool search --onlyvisible --name "" 2>/dev/null | wc -l; }
    menu_up() { [ "$(shown)" -gt "$before" ]; }
    before=$(shown)
    t0=$(date +%s%N)
    xdotool mousemove --window "$window" 196 $((menu + 83)) click 3
    for _ in $(seq 500); do menu_up && break; done
    menu_up || fail "no context menu"
    t1=$(date +%s%N)
    sleep 0.3
    t2=$(date +%s%N)
    xdotool mousemove --window "$window" 230 $((menu + 180)) click 1 # Paste, 6th entry
    xdotool mousemove --window "$window" 30 $((menu + 118)) click 1 # flag box 0
    # Until the program holds the CLIPBOARD, asking for the text would fetch all the digits
    # from xclip; the names of the formats come cheaply from either, and only Qt names
    # text/plain.
    for _ in $(seq 600); do
        timeout 5 xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -q text/plain && break
    done
    t3=$(date +%s%N)
    clipboard_holds 1 || fail "the tick did not reach the clipboard"
    stop "$app_pid" "$holder"
    echo "| $digits | $(ms "$t0" "$t1") | $(ms "$t2" "$t3") |"
done
' bench_paste "$program"
