#!/usr/bin/env bash
# Runs a command against a private X server: starts Xvfb on a free display, runs the command
# with DISPLAY set to it and the xcb platform, then stops the server by its process id.
# Usage: run_on_xvfb.sh COMMAND [ARGS...]   (exits 77, a skip, where Xvfb is missing; the screen
# is XVFB_SCREEN, 1024x768x24 by default)
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed (scripts/deps.sh test)"; exit 77; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb finds a free display itself and writes its number to descriptor 3 once it listens.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "${XVFB_SCREEN:-1024x768x24}" 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }

export DISPLAY=":$(head -n 1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
status=0
"$@" || status=$?
exit "$status"
