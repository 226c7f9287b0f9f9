#!/usr/bin/env bash
# On a real X server: SIGTERM, SIGINT and SIGHUP end the program as File > Exit does. For each
# signal, a stand-in clipboard manager runs, a flag box is ticked, the signal is sent; the
# program must end with status 0 and have handed its total over, so that another program still
# pastes it after the program has gone. Then a second signal while the program waits for a
# clipboard manager that never answers must end it at once.
# Usage: run_on_xvfb.sh x11_signals.sh PROGRAM CLIPBOARD_MANAGER
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
stop() { # PID...
    for pid in "$@"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
cleanup() {
    stop $manager_pid $app_pid
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/app.log" ] && sed 's/^/program: /' "$work/app.log"
    [ -f "$work/manager.log" ] && sed 's/^/manager: /' "$work/manager.log"
    exit 1
}

# start_manager MODE: the stand-in clipboard manager, once it owns its selection.
start_manager() {
    "$manager" "$1" >"$work/manager.log" 2>&1 &
    manager_pid=$!
    for _ in $(seq 100); do
        grep -q ready "$work/manager.log" && return
        sleep 0.1
    done
    fail "the clipboard manager did not start"
}

# start_program BOX: starts the program, ticks flag box BOX and waits for its value on the
# CLIPBOARD selection.
start_program() {
    local box=$1 window copied=
    "$program" >"$work/app.log" 2>&1 &
    app_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvan unk4 ver\.2\.2$' | head -n 1) \
        || fail "the main window did not appear"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # Flag box i is at (24, 112 + 16 i) in the client area, 442 px high below the menu bar.
    xdotool mousemove --window "$window" 30 $((HEIGHT - 442 + 112 + 16 * box + 6)) click 1
    for _ in $(seq 50); do
        copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
        [ "$copied" = $((1 << box)) ] && return
        sleep 0.1
    done
    fail "CLIPBOARD holds '$copied' after ticking box $box, expected $((1 << box))"
}

# wait_end: waits up to SECONDS for the program to end and sets $status to its exit status.
wait_end() {
    local seconds=$1
    for _ in $(seq $((seconds * 10))); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && return 1
    status=0
    wait "$app_pid" || status=$?
    app_pid=
}

#   signal  flag box
cases=(
    "TERM   4"
    "INT    10"
    "HUP    19"
)
for row in "${cases[@]}"; do
    read -r signal box <<<"$row"
    total=$((1 << box))
    start_manager keep
    start_program "$box"
    kill -s "$signal" "$app_pid"
    wait_end 10 || fail "SIG$signal did not end the program"
    [ "$status" -eq 0 ] || fail "SIG$signal: the program ended with status $status"
    pasted=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
    [ "$pasted" = "$total" ] || fail "SIG$signal: CLIPBOARD holds '$pasted' after exit, expected $total"
    grep -q '^QXcbClipboard' "$work/app.log" && fail "SIG$signal: the hand-over warned"
    echo "ok: SIG$signal ended the program with status 0; CLIPBOARD still holds $pasted"
    stop "$manager_pid"
    manager_pid=
done

# Qt waits up to five seconds for a clipboard manager that does not answer; a second SIGTERM
# in that time ends the program at once, with the status of a program the signal killed.
start_manager stall
start_program 0
kill -s TERM "$app_pid"
for _ in $(seq 100); do
    grep -q stalled "$work/manager.log" && break
    sleep 0.1
done
grep -q stalled "$work/manager.log" || fail "the program did not ask the clipboard manager"
kill -s TERM "$app_pid"
wait_end 1 || fail "a second SIGTERM did not end the program within a second"
[ "$status" -eq 143 ] || fail "the second SIGTERM: status $status, expected 143"
echo "ok: a second SIGTERM during the hand-over ended the program at once (status $status)"
