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
usage="[ROW]"
source "$(dirname "$0")/wine_driver.sh"
only=${4:-}
await() { # LINE: waits up to 10 s until `state` holds LINE
    within 10 state_has "$1" || { problems+=("no '$1' after $action: ${answer[*]}"); return 1; }
}
copy() { ask copy "$1"; problems+=("${answer[@]}"); } # TEXT, as another program puts it there
shown() { [ ${#1} -le 40 ] && echo "'$1'" || echo "'${1:0:20}...' (${#1} characters)"; }
key() { # a key of the table, Ctrl+Insert, as xdotool names it: ctrl+Insert; a capital adds Shift
    xdotool key "$(sed 's/Ctrl+/ctrl+/; s/Shift+/shift+/; s/Space/space/; s/Backspace/BackSpace/;
        s/Enter/Return/; s/+\([A-Z]\)$/+\l\1/' <<<"$1")"
}
click() { # NAME [BUTTON [COUNT]]; GO ends with GO off, after the limit message, closed with Enter
    click_on "$@"
    [ "$1" = cmdGo ] && within 5 eval '! state_has "message none" || state_has "go off\|window none"' \
        || return 0
    said=$(printf '%s\n' "${answer[@]}" | sed -n 's/^message //p')
    [ "${said:-none}" = none ] || { message=$said; xdotool key Return; await "message none"; } || true
}
paste() { # Paste from the value box's context menu
    click_on Text1 3
    await "menu open" && xdotool key p && await "menu closed" || true
}

echo "note: an insert is played as an assistive program's EM_REPLACESEL: the value box has no" \
    "input method to commit text"
ask rows
count=${answer[0]}
failed=0 played=0 started=$SECONDS
for ((n = 0; n < count; n++)); do
    ask row "$n"
    row=("${answer[@]}")
    name=${row[0]#name	}
    [ -z "$only" ] || [[ $name == *"$only"* ]] || continue
    row_started=$EPOCHREALTIME problems=() message=none action=start last_click=
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
        type) # long texts faster
            xdotool type --delay "$([ ${#text} -gt 20 ] && echo 1 || echo 12)" -- "$text" ;;
        key) key "$text" ;;
        copy) copy "$text" ;;
        paste) paste ;;
        insert) ask insert "$text" ;;
        *) problems+=("no such action: $verb") ;;
        esac
        # For Wine to take the input in (a click waits itself); keys queue up in order.
        [ "$verb" = key ] && sleep 0.05 || [[ $verb == *click ]] || sleep 0.3
    done

    # The window may still be taking a long text in: what differs must stand still for 2 s.
    want=${row[-2]#clipboard	} differ=() still=0
    while [ $still -lt 20 ]; do
        before=${differ[*]}
        ask check "$n"
        differ=("${answer[@]}")
        clipboard=$(clipboard)
        [ "$clipboard" = "$want" ] || differ+=("clipboard $(shown "$clipboard"), expected $(shown "$want")")
        [ ${#differ[@]} -gt 0 ] || break
        [ "${differ[*]}" = "$before" ] && still=$((still + 1)) || still=0
        sleep 0.1
    done
    problems+=("${differ[@]}")
    [ "$message" = "${row[-1]#message	}" ] || problems+=("message $message, expected ${row[-1]#message	}")
    stop || problems+=("the window stayed after its program was killed")

    played=$((played + 1))
    took=$(awk -v a="$row_started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    [ ${#problems[@]} -eq 0 ] && echo "ok: $name ($took s)" && continue
    failed=$((failed + 1))
    echo "FAIL: $name ($took s)" && printf '    %s\n' "${problems[@]}"
done
echo "$played rows played in $((SECONDS - started)) s, $failed failed"
[ "$played" -gt 0 ] && [ "$failed" -eq 0 ]
