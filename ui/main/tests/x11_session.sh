# Sourced by the scripts that drive the program on run_on_xvfb.sh's X server: the checks for
# their tools, a work folder ($work), the processes they start (all stopped on exit), the stand-in
# clipboard manager and the program's main window. Sourcing it checks for the X server, sets
# -euo pipefail and the EXIT trap.
# shellcheck shell=bash
set -euo pipefail
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server; run it through run_on_xvfb.sh"; exit 1; }

# skip REASON: ends the test as skipped (77). A script that CI must run sets ci_must_run=true;
# there, under CI=true, where scripts/deps.sh test has installed everything, a skip is a failure.
ci_must_run=false
skip() {
    [ "$ci_must_run" != true ] || [ "${CI:-}" != true ] || { echo "FAIL: $* (CI must run this test)"; exit 1; }
    echo "SKIP: $*"
    exit 77
}

# need TOOL[:PACKAGE]...: skips the test where a tool is missing. PACKAGE is the Debian package
# that has it, where its name is not the tool's.
need() {
    local tool
    for tool in "$@"; do
        command -v "${tool%%:*}" >/dev/null \
            || skip "${tool%%:*} is not installed (Debian package ${tool#*:}; scripts/deps.sh test installs it)"
    done
}

work=$(mktemp -d)
pids=() # what start started, in order

# start LOG COMMAND [ARGS...]: runs COMMAND in the background, its output in file LOG, and
# keeps its id (also in $!) to stop it on exit.
start() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 &
    pids+=("$!")
}

# forget PID: the process has ended and been waited for; by exit its id may be another's.
forget() {
    local i
    for i in "${!pids[@]}"; do
        [ "${pids[i]}" != "$1" ] || unset "pids[i]"
    done
}

# stop PID...: ends each process and waits, two seconds at most, until it has gone: one of ours
# is reaped here; another's child is gone once its parent has reaped it.
stop() {
    local pid
    for pid in "$@"; do
        kill "$pid" 2>/dev/null || true
        wait_for 2 eval "[ ! -e /proc/$pid ] || wait $pid 2>/dev/null" || true
        forget "$pid"
    done
}

descendants() { # PID: its children's ids, and theirs, the deepest first
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        descendants "$child"
        echo "$child"
    done
}

# stop_all: stops what start started, the last first, and each after the processes it started
# itself: the AT-SPI bus launcher, for one, must still be there to reap the bus it started.
stop_all() {
    local pid
    for pid in $(printf '%s\n' "${pids[@]}" | tac); do
        # shellcheck disable=SC2046 # process ids, one a word
        stop $(descendants "$pid") "$pid"
    done
}
trap 'stop_all; rm -rf "$work"' EXIT

# fail MESSAGE: fails the test and shows the end of every log in $work, the program's and
# those of the servers the test started. Weston's protocol log runs to thousands of lines.
fail() {
    local log
    echo "FAIL: $*"
    for log in "$work"/*.log; do
        [ -f "$log" ] && tail -n 100 "$log" | sed "s|^|$(basename "$log" .log): |"
    done
    exit 1
}

# wait_for SECONDS COMMAND [ARGS...]: runs COMMAND every tenth of a second until it succeeds;
# fails as COMMAND does when the time is up.
wait_for() {
    local tries=$(($1 * 10))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return
        sleep 0.1
    done
    "$@"
}

# start_manager MODE: the stand-in clipboard manager (clipboard_manager.py) in that mode, its id
# in $manager_pid, once it owns its selection.
# shellcheck disable=SC2034 # the caller stops it
start_manager() {
    start "$work/manager.log" "$(dirname "${BASH_SOURCE[0]}")/clipboard_manager.py" "$1"
    manager_pid=$!
    wait_for 10 grep -q ready "$work/manager.log" || fail "the clipboard manager did not start"
}

# clipboard_holds VALUE: reads the CLIPBOARD selection into $copied, as another program would
# paste it, and tells whether it is VALUE.
clipboard_holds() {
    copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
    [ "$copied" = "$1" ]
}

# start_program PROGRAM [ARGS...]: starts the program, its output in program.log and its id in
# $app_pid, and waits for its main window: $window, its size in $WIDTH and $HEIGHT, and in
# $menu the height of the menu bar above the 442-px client area.
start_program() {
    start "$work/program.log" "$@"
    app_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvan unk4 ver\.2\.2$' | head -n 1) \
        || fail "the main window did not appear"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    menu=$((HEIGHT - 442))
}

# wait_end SECONDS: waits that long at most for the program to end (else fails) and sets
# $status to its exit status.
# shellcheck disable=SC2034 # the caller reads $status
wait_end() {
    wait_for "$1" eval "! kill -0 $app_pid 2>/dev/null" || return 1
    status=0
    wait "$app_pid" || status=$?
    forget "$app_pid"
    app_pid=
}

# click X Y: clicks at (X, Y) in the client area, below the menu bar, and gives the program
# time to answer. No window manager adds a frame here.
click() {
    xdotool mousemove --window "$window" "$1" $((menu + $2)) click 1
    sleep 0.3
}
