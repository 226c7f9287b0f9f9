# shellcheck shell=bash
# Sourced by the Wine tests, with their arguments PREFIX PROGRAM.exe window_probe.exe: checks
# for the X server and the tools (xdotool, xclip and those in `tools`), sets up the prefix and
# gives them a program to start and stop, window_probe serving from inside the Wine session
# (`ask`), clicks on the controls, the menus, the X CLIPBOARD, a wait for a condition (`within`)
# and `fail`. Exits with a skip (77) where a tool is missing.
[ $# -ge 3 ] || { echo "usage: $0 PREFIX PROGRAM.exe window_probe.exe [...]" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server; run it through run_on_xvfb.sh"; exit 1; }
for tool in xdotool xclip ${tools:-}; do
    hash "$tool" 2>/dev/null || { echo "SKIP: $tool is missing (scripts/deps.sh test)"; exit 77; }
done
program=$2 probe=$3
source "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine_prefix.sh" "$1"

fail() { # WHAT: ends the test, with the screen as it was for a look afterwards
    echo "FAIL: $*"
    shot=$PWD/$(basename "$0" .sh)_failure.png
    import -window root "$shot" 2>/dev/null && echo "screen: $shot"
    exit 1
}
work=$(mktemp -d) app_pid=''
ends_wine() { { wineserver -k && wineserver -w; } 2>/dev/null || true; } # and what runs in it
cleanup() { kill $app_pid 2>/dev/null || true; ends_wine; rm -rf "$work"; }
trap cleanup EXIT

# The probe, started again whenever the wineserver has been, once the last one has gone.
serve() {
    [ -z "${probe_pid:-}" ] || wait "$probe_pid" 2>/dev/null || true
    coproc PROBE { wine "$probe" serve 2>/dev/null; }
    probe_pid=$PROBE_PID
}
serve
ask() { # REQUEST: the answer's lines into `answer`
    printf '%s\n' "$*" >&"${PROBE[1]}"
    IFS= read -r -d '' reply <&"${PROBE[0]}" || fail "window_probe ended, asked: $*"
    mapfile -t answer < <(printf '%s' "$reply")
}
state_has() { # LINE...: whether the main window's `state` has each LINE (a grep pattern)
    ask state
    for line; do printf '%s\n' "${answer[@]}" | grep -qx -- "$line" || return 1; done
}
# Runs COMMAND until it succeeds, SECONDS at most: the screen may lag the input.
within() { # SECONDS COMMAND...
    local end=$((SECONDS + $1))
    until "${@:2}"; do ((SECONDS < end)) && sleep 0.05 || return 1; done
}
# An owner that has gone without handing the text over leaves xclip waiting.
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null || true; }

# A program started under Wine while another Wine test runs can take over 15 s to show.
start() { # the program, until its value box has the focus
    wine "$program" >/dev/null 2>&1 &
    app_pid=$!
    within 60 state_has "focus Text1" "value 0"
}
stop() { # the program, until its window has gone from the session too
    { kill "$app_pid" && wait "$app_pid"; } 2>/dev/null || true
    app_pid=
    within 10 state_has "window none"
}
last_click=''
click_on() { # NAME [BUTTON [COUNT]]: at the middle of the main window's control NAME
    ask where "$1"
    [ ${#answer[@]} -eq 1 ] || fail "no control $1"
    # Two clicks on one control within the double-click time would be a double-click.
    [ "$last_click" != "$1" ] || sleep 0.6
    xdotool mousemove ${answer[0]} click --repeat "${3:-1}" --delay 100 "${2:-1}" sleep 0.3
    last_click=$1
}
choose() { # a menu entry by its access keys, the menu's with Alt, then the entry's: mnuFWO
    local -A keys=([mnuFileExit]="alt+f x" [mnuFWO]="alt+h w" [mnuHelpAbout]="alt+h a")
    read -r menu entry <<<"${keys[$1]}"
    xdotool key "$menu" sleep 0.3 key "$entry"
}
