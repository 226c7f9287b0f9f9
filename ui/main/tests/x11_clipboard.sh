#!/usr/bin/env bash
# End to end on a real X server: click the value box, type 1040, press GO, and read the
# CLIPBOARD selection from another process, as a track editor would paste it. Then Cancel
# must end the program through its normal exit, handing the total to the clipboard manager
# so that it can still be pasted after the program has gone.
# Usage: run_on_xvfb.sh x11_clipboard.sh PROGRAM CLIPBOARD_MANAGER
set -euo pipefail
program=${1:?usage: $0 PROGRAM CLIPBOARD_MANAGER}
manager=${2:?usage: $0 PROGRAM CLIPBOARD_MANAGER}

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server; run it through run_on_xvfb.sh"; exit 1; }
for tool in xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh test installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
app_pid=
manager_pid=
cleanup() {
    for pid in $manager_pid $app_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/app.log" ] && sed 's/^/program: /' "$work/app.log"
    exit 1
}

"$manager" >"$work/manager.log" 2>&1 &
manager_pid=$!
for _ in $(seq 100); do
    grep -q ready "$work/manager.log" && break
    sleep 0.1
done
grep -q ready "$work/manager.log" || fail "the clipboard manager did not start"

"$program" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvan unk4 ver\.2\.2$' | head -n 1) \
    || fail "the main window did not appear"

# The client area is 500 x 442 below the menu bar; no window manager adds a frame here.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq 500 ] || fail "window width $WIDTH, expected 500"
menu=$((HEIGHT - 442))
click() { # x y in the client area
    xdotool mousemove --window "$window" "$1" $((menu + $2)) click 1
    sleep 0.3
}

click 196 83 # the value box: resets it and selects the "0"
# The click activates the window; keys go where the X server's input focus is.
for _ in $(seq 50); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ] && break
    sleep 0.1
done
xdotool type --delay 50 1040
sleep 0.5
click 288 84 # GO

copied=
for _ in $(seq 50); do
    copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
    [ "$copied" = 1040 ] && break
    sleep 0.1
done
[ "$copied" = 1040 ] || fail "CLIPBOARD holds '$copied', expected '1040'"
echo "CLIPBOARD after typing 1040 and GO: $copied"

click 448 32 # Cancel
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    fail "Cancel did not end the program"
fi
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "Cancel ended the program with status 0"

for _ in $(seq 50); do
    kill -0 "$manager_pid" 2>/dev/null || break
    sleep 0.1
done
saved=$(sed -n 's/^saved: //p' "$work/manager.log")
[ "$saved" = 1040 ] || fail "the clipboard manager saved '$saved', expected '1040'"
echo "the clipboard manager kept the total after exit: $saved"
