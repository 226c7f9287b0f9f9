#!/usr/bin/env bash
# Plays every row of the behaviour table (form/tests/behaviour.rows) on the Windows program under
# Wine, each row on a freshly started program with the X CLIPBOARD holding "start": clicks at
# the controls' middles, keys and typing from xdotool, the clipboard set and read with xclip.
# window_probe, serving from inside the Wine session, reads the table (compiled into it), finds
# the controls, reads the window back and compares it with the row. A row's "insert" is played
# as an assistive program's EM_REPLACESEL: the value box has no input method that could commit.
# Usage: run_on_xvfb.sh wine_behaviour.sh PREFIX PROGRAM.exe window_probe.exe [ROW-NAME-PART]
set -euo pipefail
usage="[ROW]"
source "$(dirname "$0")/wine_driver.sh"
only=${4:-}
await() { # LINE: waits up to 10 s until `state` holds LINE
    within 10 state_has "$1" || { problems+=("no '$1' after $action: ${answer[*]}"); return 1; }
}

# The clipboard as another program sets it: xclip keeps it until the program takes it over,
# and leaves. Wine takes it in as soon as it sees the change, which it cannot while the probe
# holds the clipboard open: the probe waits for the change without opening it, then reads it.
answers() { ask "$1"; test "${answer[0]}" "$2" "$3"; } # REQUEST OPERATOR TEXT: compares the answer
copy() {
    local _ seen
    for _ in 1 2 3; do
        ask clipboard
        seen=${answer[0]}
        printf '%s' "$1" | xclip -selection clipboard -i -quiet >/dev/null 2>&1 &
        xclip_pid=$!
        within 5 answers clipboard != "$seen" || true
        within 2 answers "clipboard length" = "${#1}" && return 0
    done
    problems+=("the clipboard did not take '${1:0:20}'")
}
shown() { [ ${#1} -le 40 ] && echo "'$1'" || echo "'${1:0:20}...' (${#1} characters)"; }

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
apart() { ((${EPOCHREALTIME/[.,]/} - last_click_at > 600000)); } # more than 0.6 s since it
click() { # NAME [BUTTON [COUNT]]
    ask where "$1"
    [ ${#answer[@]} -eq 1 ] || { problems+=("no control $1"); return 0; }
    # Two clicks on one control within the double-click time would be a double-click.
    [ "$last_click" != "$1" ] || within 2 apart || true
    xdotool mousemove ${answer[0]} click --repeat "${3:-1}" --delay 100 "${2:-1}"
    last_click=$1
    last_click_at=${EPOCHREALTIME/[.,]/}
    [ "$1" = cmdGo ] || return 0
    # GO ends with GO off, after the limit message if there is one: it is closed with Enter.
    within 5 eval '! state_has "message none" || state_has "go off\|window none"' || return 0
    local said
    said=$(printf '%s\n' "${answer[@]}" | sed -n 's/^message //p')
    [ -z "$said" ] || [ "$said" = none ] && return 0
    message=$said
    xdotool key Return
    await "message none" || true
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
    start || problems+=("the window did not take keys: ${answer[*]}")
    last_click=

    for ((a = 1; a < ${#row[@]} - 2; a++)); do
        verb=${row[a]%%	*}
        text=${row[a]#*	}
        action="$verb ${text:0:20}"
        case $verb in
        click) click "$text" ;;
        doubleclick) click "$text" 1 2 ;;
        rightclick) click "$text" 3 ;;
        menu) choose "$text" ;;
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
    before='' still=0
    while [ $still -lt 20 ]; do
        ask check "$n"
        differ=("${answer[@]}")
        clipboard=$(clipboard)
        [ ${#differ[@]} -eq 0 ] && [ "$clipboard" = "$want_clipboard" ] && break
        now="${differ[*]} ${#clipboard}"
        [ "$now" = "$before" ] && still=$((still + 1)) || still=0
        before=$now
        sleep 0.1
    done
    problems+=("${differ[@]}")
    [ "$clipboard" = "$want_clipboard" ] \
        || problems+=("clipboard $(shown "$clipboard"), expected $(shown "$want_clipboard")")
    [ "$message" = "$want_message" ] || problems+=("message $message, expected $want_message")

    stop || problems+=("the window stayed after its program was killed")
    played=$((played + 1))
    took=$(awk -v a="$row_started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    [ ${#problems[@]} -gt 0 ] || { echo "ok: $name ($took s)"; continue; }
    failed=$((failed + 1))
    echo "FAIL: $name ($took s)"
    printf '    %s\n' "${problems[@]}"
done
echo "$played rows played in $((SECONDS - started)) s, $failed failed"
[ "$played" -gt 0 ] && [ "$failed" -eq 0 ]
