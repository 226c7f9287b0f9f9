#!/usr/bin/env bash
# The program as a screen reader meets it: a private session bus, the AT-SPI bus launcher and
# registry on it, the program with its accessibility bridge on, and atspi_check.py reading and
# driving it through pyatspi. Every process is stopped by its id at the end.
# Usage: run_on_xvfb.sh atspi_session.sh PROGRAM
# Exits 77 (a skip) where a tool is missing, except under CI=true, where that is a failure.
set -euo pipefail
program=${1:?usage: $0 PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server; run it through run_on_xvfb.sh"; exit 1; }
launcher=/usr/libexec/at-spi-bus-launcher
missing=()
command -v dbus-daemon >/dev/null && command -v dbus-send >/dev/null || missing+=(dbus)
[ -x "$launcher" ] && [ -x /usr/libexec/at-spi2-registryd ] || missing+=(at-spi2-core)
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
if [ ${#missing[@]} -gt 0 ]; then
    echo "missing: ${missing[*]} (scripts/deps.sh test installs them)"
    [ "${CI:-}" = true ] && { echo "FAIL: CI must run this test"; exit 1; }
    echo SKIP
    exit 77
fi

work=$(mktemp -d)
pids=() # started here, in order: the session bus, the bus launcher, the registry, the program
# The launcher starts the accessibility bus, which is stopped before it, so that the launcher
# is still there to reap it.
descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        descendants "$child"
        echo "$child"
    done
}
stop() {
    kill "$1" 2>/dev/null || true
    for _ in $(seq 40); do
        [ -e "/proc/$1" ] || return 0
        # One of ours: reaped here; another's child: gone once its parent has reaped it.
        wait "$1" 2>/dev/null && return 0
        sleep 0.05
    done
}
cleanup() {
    local i pid
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        for pid in $(descendants "${pids[i]}") "${pids[i]}"; do
            stop "$pid"
        done
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/app.log" ] && sed 's/^/program: /' "$work/app.log"
    exit 1
}

dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>"$work/bus.log" &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$work/bus" ] && break
    sleep 0.1
done
[ -s "$work/bus" ] || fail "the session bus did not start: $(cat "$work/bus.log")"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")

"$launcher" --launch-immediately --a11y=1 >"$work/launcher.log" 2>&1 &
pids+=($!)
a11y_bus=
for _ in $(seq 100); do
    a11y_bus=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') && [ -n "$a11y_bus" ] && break
    sleep 0.1
done
[ -n "$a11y_bus" ] || fail "no accessibility bus: $(cat "$work/launcher.log")"
# Started here rather than by the bus on first use, which would leave it to no parent of ours.
/usr/libexec/at-spi2-registryd >"$work/registry.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    dbus-send --bus="$a11y_bus" --print-reply=literal --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry \
        2>/dev/null | grep -q true && break
    sleep 0.1
done

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$program" >"$work/app.log" 2>&1 &
pids+=($!)

timeout 60 /usr/bin/python3 "$here/atspi_check.py" || fail "the screen reader's view"
