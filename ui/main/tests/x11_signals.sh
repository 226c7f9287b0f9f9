#!/usr/bin/env bash
# On a real X server: Cancel ends the program through its normal exit, and SIGTERM, SIGINT and
# SIGHUP end it as File > Exit does. For each, a stand-in clipboard manager runs, a flag box is
# ticked, Cancel is clicked or the signal sent; the program must end with status 0 and have
# handed its total over, so that another program still pastes it after the program has gone.
# Then a second signal while the program waits for a clipboard manager that never answers must
# end it at once.
# Usage: run_on_xvfb.sh x11_signals.sh PROGRAM
program=${1:?usage: $0 PROGRAM}
source "$(dirname "$0")/x11_session.sh"
need xdotool xclip

# start_ticked BOX: starts the program, ticks flag box BOX and waits for its value on the
# CLIPBOARD selection.
start_ticked() {
    start_program "$program"
    # Flag box i is at (24, 112 + 16 i) in the client area.
    click 30 $((112 + 16 * $1 + 6))
    wait_for 5 clipboard_holds $((1 << $1)) \
        || fail "CLIPBOARD holds '$copied' after ticking box $1, expected $((1 << $1))"
}

# Each case: how the program is ended, and the flag box ticked before.
for row in "Cancel 2" "SIGTERM 4" "SIGINT 10" "SIGHUP 19"; do
    read -r how box <<<"$row"
    total=$((1 << box))
    start_manager keep
    start_ticked "$box"
    if [ "$how" = Cancel ]; then click 448 32; else kill -s "${how#SIG}" "$app_pid"; fi
    wait_end 10 || fail "$how did not end the program"
    [ "$status" -eq 0 ] || fail "$how: the program ended with status $status"
    wait_for 5 clipboard_holds "$total" || fail "$how: CLIPBOARD holds '$copied' after exit, expected $total"
    grep -q '^QXcbClipboard' "$work/program.log" && fail "$how: the hand-over warned"
    echo "ok: $how ended the program with status 0; CLIPBOARD still holds $copied"
    stop "$manager_pid"
done

# Qt waits up to five seconds for a clipboard manager that does not answer; a second SIGTERM
# in that time ends the program at once, with the status of a program the signal killed.
start_manager stall
start_ticked 0
kill -s TERM "$app_pid"
wait_for 10 grep -q stalled "$work/manager.log" || fail "the program did not ask the clipboard manager"
kill -s TERM "$app_pid"
wait_end 1 || fail "a second SIGTERM did not end the program within a second"
[ "$status" -eq 143 ] || fail "the second SIGTERM: status $status, expected 143"
echo "ok: a second SIGTERM during the hand-over ended the program at once (status $status)"
