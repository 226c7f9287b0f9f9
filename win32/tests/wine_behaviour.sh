#!/usr/bin/env bash
# Plays every row of the behaviour table (form/tests/behaviour.rows) on the Windows program under
# Wine, each row on a freshly started program with the clipboard holding "start": clicks at the
# controls' middles, keys and typing from xdotool, the clipboard read from X with xclip.
# window_probe, serving from inside the Wine session, reads the table (compiled into it), finds
# the controls, puts another program's text on the clipboard, reads the window back and compares
# it with the row. A row's "insert" is played as an assistive program's EM_REPLACESEL: the value
# box has no input method that could commit.
# Usage: run_on_xvfb.sh wine_behaviour.sh PREFIX PROGRAM.exe window_probe.exe [ROW-NAME-PART]
set -euo pipefail
source "$(dirname "$0")/wine_driver.sh"
only=${4:-}
await() { within 10 state_has "$1" || problems+=("no '$1' after $action: ${answer[*]}"); } # LINE
copy() { ask copy "$1"; problems+=("${answer[@]}"); } # TEXT, as another program puts it there
shown() { [ ${#1} -le 40 ] && echo "'$1'" || echo "'${1:0:20}...' (${#1} characters)"; }
key() { # a key of the table, Ctrl+Insert, as xdotool names it: ctrl+Insert; a capital adds Shift
    xdotool key "$(sed 's/Ctrl+/ctrl+/; s/Shift+/shift+/; s/Space/space/; s/Backspace/BackSpace/;
        s/Enter/Return/; s/+\([A-Z]\)$/+\l\1/' <<<"$1")"
}
click() { # NAME [BUTTON [COUNT]]; GO ends with GO off, after the limit message, closed with Enter
    click_on "$@"
    [ "$1" = cmdGo ] || return 0
    within 5 eval '! state_has "message none" || state_has "go off\|window none"' || return 0
    said=$(printf '%s\n' "${answer[@]}" | sed -n 's/^message //p')
    [ "${said:-none}" = none ] || { message=$said; xdotool key Return; await "message none"; }
}
# Row n's window and clipboard, into `differ` what differs: the window may still be taking a
# long text in, so what differs must have stood still for 2 s.
settled() {
    local before=${differ[*]}
    ask check "$n"
    differ=("${answer[@]}") got=$(clipboard)
    [ "$got" = "$want" ] || differ+=("clipboard $(shown "$got"), expected $(shown "$want")")
    [ "${differ[*]}" = "$before" ] && still=$((still + 1)) || still=0
    [ ${#differ[@]} -eq 0 ] || [ $still -ge 20 ]
}
paste() { # Paste from the value box's context menu
    click_on Text1 3
    await "menu open" && xdotool key p && await "menu closed"
}

ask rows
failed=0 played=0 started=$SECONDS
for ((n = 0, count = answer[0]; n < count; n++)); do
    ask row "$n"
    row=("${answer[@]}")
    name=${row[0]#name	}
    [ -z "$only" ] || [[ $name == *"$only"* ]] || continue
    row_started=$SECONDS problems=() message=none action=start last_click='' played=$((played + 1))
    copy start
    start || problems+=("the window did not take keys: ${answer[*]}")

    for ((a = 1; a < ${#row[@]} - 2; a++)); do
        verb=${row[a]%%	*} text=${row[a]#*	}
        action="$verb ${text:0:20}"
        case $verb in
        click) click "$text" ;;
        doubleclick) click "$text" 1 2 ;;
        rightclick) click "$text" 3 ;;
        menu) choose "$text" ;;
        type) xdotool type --delay $((${#text} > 20 ? 1 : 12)) -- "$text" ;; # long texts faster
        key) key "$text" ;;
        copy) copy "$text" ;;
        paste) paste ;;
        insert) ask insert "$text" ;;
        *) problems+=("no such action: $verb") ;;
        esac
        # For Wine to take the input in (a click waits itself); keys queue up in order.
        [ "$verb" = key ] && sleep 0.05 || [[ $verb == *click ]] || sleep 0.3
    done

    want=${row[-2]#clipboard	} limit=${row[-1]#message	} differ=() still=0
    until settled; do sleep 0.1; done
    problems+=("${differ[@]}")
    [ "$message" = "$limit" ] || problems+=("message $message, expected $limit")
    stop || problems+=("the window stayed after its program was killed")

    [ ${#problems[@]} -eq 0 ] && echo "ok: $name ($((SECONDS - row_started)) s)" && continue
    failed=$((failed + 1))
    echo "FAIL: $name ($((SECONDS - row_started)) s)" && printf '    %s\n' "${problems[@]}"
done
echo "$played rows played in $((SECONDS - started)) s, $failed failed"
[ "$played" -gt 0 ] && [ "$failed" -eq 0 ]
