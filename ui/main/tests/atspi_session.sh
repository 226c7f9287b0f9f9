#!/usr/bin/env bash
# The window as a screen reader meets it: a private session bus, the AT-SPI bus launcher and
# registry on it, a window manager, and orca_transcript.py, which starts the program (or a
# browser on the page) and Orca, and drives and hears them. Every process is stopped at the end.
# Usage: run_on_xvfb.sh atspi_session.sh qt PROGRAM | chromium PAGE | firefox PAGE
# Exits 77 (a skip) where a tool is missing, except under CI=true, where that is a failure.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 qt PROGRAM | chromium PAGE | firefox PAGE"; exit 2; }
source "$(dirname "$0")/x11_session.sh"
ci_must_run=true
launcher=/usr/libexec/at-spi-bus-launcher
missing=()
command -v dbus-daemon >/dev/null && command -v dbus-send >/dev/null || missing+=(dbus)
[ -x "$launcher" ] && [ -x /usr/libexec/at-spi2-registryd ] || missing+=(at-spi2-core)
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
[ -x /usr/bin/orca ] || missing+=(orca)
[ ${#missing[@]} -eq 0 ] || skip "missing ${missing[*]} (scripts/deps.sh test installs them)"
need xdotool xclip matchbox-window-manager

# Started in this order and stopped in the reverse one: the session bus, the bus launcher, the
# registry.
start "$work/bus.log" dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus"
wait_for 10 test -s "$work/bus" || fail "the session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

start "$work/launcher.log" "$launcher" --launch-immediately --a11y=1
a11y_bus=
for _ in $(seq 100); do
    a11y_bus=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | tr -d ' ') && [ -n "$a11y_bus" ] && break
    sleep 0.1
done
[ -n "$a11y_bus" ] || fail "no accessibility bus"
# Started here rather than by the bus on first use, which would leave it to no parent of ours.
start "$work/registry.log" /usr/libexec/at-spi2-registryd
for _ in $(seq 100); do
    dbus-send --bus="$a11y_bus" --print-reply=literal --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry \
        2>/dev/null | grep -q true && break
    sleep 0.1
done

# A window manager gives the focus to a new window, and back to the one a message box or About
# leaves.
start "$work/manager.log" matchbox-window-manager -use_titlebar no
# Qt's bridge, Chromium's and GTK's (Firefox) all on.
export ACCESSIBILITY_ENABLED=1 GNOME_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
timeout 200 /usr/bin/python3 "$(dirname "$0")/orca_transcript.py" "$@" || fail "orca_transcript.py $*"
