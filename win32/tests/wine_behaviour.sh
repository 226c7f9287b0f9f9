#!/usr/bin/env bash
# Plays every row of the behaviour table (form/tests/behaviour.rows) on the Windows program under
# Wine, each row on a freshly started program with the X CLIPBOARD holding "start": clicks at
# the controls' middles, keys and typing from xdotool, the clipboard set and read with xclip.
# window_probe, serving from inside the Wine session, reads the table (compiled into it), finds
# the controls, reads the window back and compares it with the row. A row's "insert" is played
# as an assistive program's EM_REPLACESEL: the value box has no input method that could commit.
# Usage: run_on_xvfb.sh wine_behaviour.sh PREFIX PROGRAM.exe window_probe.exe [ROW-NAME-PART]
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 PREFIX PROGRAM.exe window_probe.exe [ROW]" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server; run it through run_on_xvfb.sh"; exit 1; }
for tool in xdotool xclip; do
    command -v "$tool" >/dev/null \
        || { echo "SKIP: $tool is not installed (scripts/deps.sh test installs it)"; exit 77; }
done
program=$2
probe=$3
only=${4:-}
source "$(dirname "$0")/../../cmake/wine_prefix.sh" "$1"

app_pid=
xclip_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xclip_pid" ] && kill "$xclip_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}
trap cleanup EXIT

coproc PROBE { wine "$probe" serve 2>/dev/null; }
ask() { # REQUEST: the answer's lines into `answer`
    printf '%s\n' "$*" >&"${PROBE[1]}"
    answer=()
    local line
    while IFS= read -r line <&"${PROBE[0]}"; do
        [ "$line" = . ] && return 0
        answer+=("$line")
    done
    echo "FAIL: window_probe ended"
    exit 1
}
# Waits up to 10 s until `state` holds LINE.
await() {
    local _
    for _ in $(seq 200); do
        ask state
        printf '%s\n' "${answer[@]}" | grep -qxF "$1" && return 0
        sleep 0.05
    done
    problems+=("no '$1' after $action: ${answer[*]}")
    return 1
}

# The clipboard as another program sets it: xclip keeps it until the program takes it over,
# and leaves. Wine takes it in as soon as it sees the change, which it cannot while the probe
# holds the clipboard open: the probe waits for the change without opening it, then reads it.
copy() {
    local _ seen
    for _ in 1 2 3; do
        ask clipboard
        seen=${answer[0]}
        printf '%s' "$1" | xclip -selection clipboard -i -quiet >/dev/null 2>&1 &
        xclip_pid=$!
        for _ in $(seq 100); do
            ask clipboard
            [ "${answer[0]}" != "$seen" ] && break
            sleep 0.05
        done
        for _ in $(seq 20); do
            ask clipboard length
            [ "${answer[0]}" = "${#1}" ] && return 0
            sleep 0.1
        done
    done
    problems+=("the clipboard did not take '${1:0:20}'")
}

key() { # a key of the table, Ctrl+Insert, as xdotool names it: ctrl+Insert
    local k=${1//Ctrl+/ctrl+}
    k=${k//Shift+/shift+}
    case ${k##*+} in
    Backspace) k=${k%Backspace}BackSpace ;;
    Enter) k=${k%Enter}Return ;;
    Space) k=${k%Space}space ;;
    [A-Z]) k=${k,,} ;; # a capital would add Shift
    esac
    xdotool key "$k"
}

last_click=
last_click_at=0
click() { # NAME [BUTTON [COUNT]]
    ask where "$1"
    [ ${#answer[@]} -eq 1 ] || { problems+=("no control $1"); return 0; }
    # Two clicks on one control within the double-click time would be a double-click.
    if [ "$last_click" = "$1" ]; then
        sleep "$(awk -v t="$last_click_at" -v now="$EPOCHREALTIME" \
            'BEGIN { w = t + 0.6 - now; print (w > 0 ? w : 0) }')"
    fi
    xdotool mousemove ${answer[0]} click --repeat "${3:-1}" --delay 100 "${2:-1}"
    last_click=$1
    last_click_at=$EPOCHREALTIME
    if [ "$1" = cmdGo ]; then
        # GO ends with GO off, after the limit message if there is one: it is closed with Enter.
        local _ shown
        for _ in $(seq 100); do
            ask state
            shown=$(printf '%s\n' "${answer[@]}" | sed -n 's/^message //p')
            if [ -n "$shown" ] && [ "$shown" != none ]; then
                message=$shown
                xdotool key Return
                await "message none" || true
                return 0
            fi
            printf '%s\n' "${answer[@]}" | grep -qx -e 'go off' -e 'window none' && return 0
            sleep 0.05
        done
    fi
}

paste() { # Paste from the value box's context menu
    ask where Text1
    xdotool mousemove ${answer[0]} click 3
    await "menu open" || return 0
    xdotool key p
    await "menu closed" || true
}

echo "note: an insert is played as an assistive program's EM_REPLACESEL: the value box has no" \
    "input method to commit text"
ask rows
count=${answer[0]}
failed=0
played=0
started=$SECONDS
for ((n = 0; n < count; n++)); do
    ask row "$n"
    row=("${answer[@]}")
    name=${row[0]#name	}
    [ -z "$only" ] || [[ $name == *"$only"* ]] || continue
    row_started=$EPOCHREALTIME
    problems=()
    message=none
    action=start

    copy start
    wine "$program" >/dev/null 2>&1 &
    app_pid=$!
    await "focus Text1" || true # the window is up and takes keys
    last_click=

    for ((a = 1; a < ${#row[@]} - 2; a++)); do
        verb=${row[a]%%	*}
        text=${row[a]#*	}
        action="$verb ${text:0:20}"
        case $verb in
        click) click "$text" ;;
        doubleclick) click "$text" 1 2 ;;
        rightclick) click "$text" 3 ;;
        menu)
            ask menukeys "$text"
            xdotool key ${answer[0]%% *}
            sleep 0.3
            xdotool key ${answer[0]#* } ;;
        type) # long texts faster
            xdotool type --delay "$([ ${#text} -gt 20 ] && echo 1 || echo 12)" -- "$text" ;;
        key) key "$text" ;;
        copy) copy "$text" ;;
        paste) paste ;;
        insert) ask insert "$text" ;;
        *) problems+=("no such action: $verb") ;;
        esac
        # For Wine to take the input in; keys queue up in order.
        [ "$verb" = key ] && sleep 0.05 || sleep 0.3
    done

    want_clipboard=${row[-2]#clipboard	}
    want_message=${row[-1]#message	}
    # The window may still be taking a long text in: what differs must stand still for 2 s.
    before= still=0
    while [ $still -lt 20 ]; do
        ask check "$n"
        differ=("${answer[@]}")
        clipboard=$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)
        [ ${#differ[@]} -eq 0 ] && [ "$clipboard" = "$want_clipboard" ] && break
        now="${differ[*]} ${#clipboard}"
        [ "$now" = "$before" ] && still=$((still + 1)) || still=0
        before=$now
        sleep 0.1
    done
    problems+=("${differ[@]}")
    if [ "$clipboard" != "$want_clipboard" ]; then
        shown=$clipboard want=$want_clipboard
        [ ${#shown} -le 40 ] || shown="${shown:0:20}... (${#shown} characters)"
        [ ${#want} -le 40 ] || want="${want:0:20}... (${#want} characters)"
        problems+=("clipboard '$shown', expected '$want'")
    fi
    [ "$message" = "$want_message" ] || problems+=("message $message, expected $want_message")

    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    await "window none" || true # gone from the session too
    played=$((played + 1))
    took=$(awk -v a="$row_started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok: $name ($took s)"
    else
        failed=$((failed + 1))
        echo "FAIL: $name ($took s)"
        printf '    %s\n' "${problems[@]}"
    fi
done
echo "$played rows played in $((SECONDS - started)) s, $failed failed"
[ "$played" -gt 0 ] && [ "$failed" -eq 0 ]
