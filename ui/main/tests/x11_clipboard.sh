#!/usr/bin/env bash
# End to end on a real X server: click the value box, type 1040, press GO, and read the
# CLIPBOARD selection from another process, as a track editor would paste it. Then Cancel
# must end the program through its normal exit, handing the total to the clipboard manager
# so that it can still be pasted after the program has gone.
# Usage: run_on_xvfb.sh x11_clipboard.sh PROGRAM CLIPBOARD_MANAGER
set -euo pipefail
program=${1:?usage: $0 PROGRAM CLIPBOARD_MANAGER}
manager=${2:?usage: $0 PROGRAM CLIPBOARD_MANAGER}

source "$(dirname "$0")/x11_session.sh"
need xdotool xclip

start "$work/manager.log" "$manager"
manager_pid=$!
wait_for 10 grep -q ready "$work/manager.log" || fail "the clipboard manager did not start"

start_program "$program"
# The client area is 500 x 442 below the menu bar.
[ "$WIDTH" -eq 500 ] || fail "window width $WIDTH, expected 500"

click 196 83 # the value box: resets it and selects the "0"
# The click activates the window; keys go where the X server's input focus is.
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
wait_for 5 focused || true
xdotool type --delay 50 1040
sleep 0.5
click 288 84 # GO

wait_for 5 clipboard_holds 1040 || fail "CLIPBOARD holds '$copied', expected '1040'"
echo "CLIPBOARD after typing 1040 and GO: $copied"

click 448 32 # Cancel
wait_end 5 || fail "Cancel did not end the program"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "Cancel ended the program with status 0"

wait_for 5 ended "$manager_pid" || true
saved=$(sed -n 's/^saved: //p' "$work/manager.log")
[ "$saved" = 1040 ] || fail "the clipboard manager saved '$saved', expected '1040'"
echo "the clipboard manager kept the total after exit: $saved"
