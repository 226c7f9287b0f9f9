#!/usr/bin/env bash
# The Windows program under Wine, driven as a person would: clicks and keys from xdotool, the
# total read from the X CLIPBOARD (Wine hands the Windows clipboard over), and the window's
# client area and focus from window_probe, a Windows program running beside it in the same Wine
# session (wine_driver.sh). What the behaviour table holds (typing, the keys, GO, ticking, the
# context menu's Paste, the limit message, the explanations' clicks and their closing, [FWO]'s
# note, the tab order, F1) is wine_behaviour.sh's; this covers the rest: the places, the
# popups' pixels, the menus, About, the held clipboard, the end of the program, the dpi and the
# colours.
# Usage: run_on_xvfb.sh wine_session.sh PREFIX PROGRAM.exe window_probe.exe
set -euo pipefail
tools="compare import"
source "$(dirname "$0")/wine_driver.sh"

# The screen's dpi and the window and text colours, as Wine reads them from the prefix when its
# wineserver starts (the probe then starts again). The prefix is shared: its look comes back.
set_look() { # dpi "r g b" (button face) "r g b" (window text)
    ends_wine
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Colors' /v ButtonFace /d "$2" /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Colors' /v WindowText /d "$3" /f >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
}
trap 'set_look 96 "245 245 245" "0 0 0"; cleanup' EXIT

Main='Orvan unk4 ver.2.2' About='About Orvanunk4'
expect() { # WHAT COMMAND...: waits up to 20 s for COMMAND to succeed, or fails saying WHAT
    within 20 "${@:2}" || fail "$1: ${answer[*]}"
    echo "ok: $1"
}
windows_are() { ask client "$1"; [ ${#answer[@]} -eq "$2" ]; } # TITLE N
start_main() { # the program, its client area at X Y, W x H
    start || fail "the program's value box, holding 0, does not take keys: ${answer[*]}"
    ask client "$Main"
    read -r X Y W H <<<"${answer[0]}"
}
in_place() { # DPI WIDTH HEIGHT: the client area's size and each control's place at that dpi
    ask layout "$1"
    answer+=("client area $W x $H")
    expect "at $1 dpi a client area of $2 x $3 and every control in place" \
        test "${answer[*]}" = "client area $2 x $3"
}
ended() { within 15 eval '! kill -0 "$app_pid" 2>/dev/null' && wait "$app_pid"; } # exit code 0
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; } # X Y in the client area
value_is() { state_has "focus Text1" "value $1"; } # TEXT: in the value box, which has the focus
holds() { [ "$(clipboard)" = "$1" ]; }
clipboard_is() { within 20 holds "$1" || fail "clipboard '$(clipboard)', expected '$1'"; }
pixels() { # COLOUR LEFT TOP WIDTH HEIGHT OP N: that part of the screen has OP N pixels of COLOUR
    answer=("$(import -window root -crop "$4x$5+$2+$3" -depth 8 txt:- | grep -ci "$1" || true)")
    test "${answer[0]}" "$6" "$7"
}
tooltip() { pixels '#FFFFE1' $((X + $1)) $((Y + $2)) "${@:3}"; } # the same in the client area
popup_is() { # LEFT TOP WIDTH HEIGHT: the tooltip-coloured popup fills that part and no more
    tooltip $(($1 + 1)) $(($2 + 1)) $(($3 - 2)) $(($4 - 2)) -gt $(($3 * $4 / 2)) \
        && tooltip "$1" $(($2 - 1)) "$3" 1 -eq 0 && tooltip $(($1 + $3)) "$2" 4 "$4" -eq 0 \
        && tooltip "$1" $(($2 + $4)) "$3" 3 -eq 0
}

start_main
in_place 96 500 442

# Each flag box carries its description as its accessible description, by an annotation that
# Wine's oleacc does not implement (E_NOTIMPL): there the box is named only.
ask describe Check1_4
expect "box 16's accessible name and description: '${answer[*]}'" \
    eval '[[ ${answer[*]} == "16: "?("Creates polygons on inside base of walls-with-height") ]]'

# Besides what the behaviour table types, Alt+Backspace, which undoes in an edit control, and
# the middle button, which pastes in Wine, do nothing: the 4 typed after them lands after 123.
click_on Text1
ask copy 777
xdotool type --delay 50 123 # type takes all that follows
xdotool key alt+BackSpace click 2 type 4 # click 2: the middle button
expect "Alt+Backspace and the middle button change nothing" value_is 1234

# WM_UNICHAR, as programs that type for the user send it, passes the same filter: of U+0661,
# RLM, 'a', U+1D7CF and '7' only the 7 goes in. UNICODE_NOCHAR is answered TRUE.
ask unichar FFFF 661 200F 61 1D7CF 37
[ "${answer[*]}" = "1 0 0 0 0 0" ] || fail "WM_UNICHAR answers: ${answer[*]}"
expect "WM_UNICHAR types digits only" value_is 12347

# Another probe beside the first, for what takes it a while: it does VERB in the background
# from when it says so.
aside() { # VERB ARGUMENT
    rm -f "$work/$1" # what the last one said
    wine "$probe" "$1" "$2" >"$work/$1" 2>/dev/null &
    within 10 grep -qs . "$work/$1" || true
}
# Screen readers hear, as an alert, what the window says without showing it and each
# explanation as it opens: listen SECONDS starts the probe's listener, heard WORDS WHAT checks
# the first alert it caught.
listen() { aside alert "$1"; listener=$!; }
heard() {
    wait "$listener" || true
    grep -q "^alert $1" "$work/alert" || fail "$2: $(head -c 100 "$work/alert")"
}
click_on Check1_3
listen 20
click_on Check1_0
heard "Total 9:" "no total said after a tick"
clipboard_is 9
echo "ok: the total said after a tick"

# A click is a press and a release on the same control. The value box's left edge is at x 128,
# inside its 2-pixel sunken border: a press beside it released inside changes nothing, a click
# on the border resets as one inside does.
drag() { xdotool mousemove $((X + $1)) $((Y + $2)) mousedown 1 mousemove $((X + $3)) $((Y + $4)) \
    mouseup 1; sleep 0.3; }
drag 124 83 131 83
sleep 0.5 # a reset would have put 0 there by now
clipboard_is 9
click 128 83
expect "only a press and release on the value box, border included, resets" \
    eval 'value_is 0 && holds 0'

# Every box ticked, for the held clipboard below.
click_on Text1
xdotool type --delay 50 1048575
listen 20
click_on cmdGo
heard "1048575: 1, 2, 4," "GO's result not said"
clipboard_is 1048575

# Flag 10's description: the popup at client (96, 272), 316 x 151, tooltip-coloured.
drag 110 277 480 277
drag 480 277 110 277
expect "a press or a release alone on description 10 opens nothing" tooltip 97 273 314 149 -eq 0
# Screen readers hear the explanation open: an alert from it, named by its text. A screen
# reader opens it too, by the description's default action.
listen 20
ask act Label3_10
[ "${answer[*]}" = Explain ] || fail "description 10 has no default action that explains it"
heard "The entire track is covered" "no alert as the explanation opened"
expect "description 10 opens its popup in place" popup_is 96 272 316 151
# Help > What is [FWO]? shows the note over the instructions, in the popup's place.
choose mnuFWO
expect "Help > What is [FWO]? shows its note in place" popup_is 33 3 320 33

# While another program holds the clipboard open, the latest total waits: after a second a
# balloon under the value box says so, and the total lands once the clipboard is free, taking
# the balloon away; the next lands as ever.
hold() { aside hold "$1"; holder=$!; } # MS: another program holds the clipboard open that long
hold 3000
click_on Check1_0 # unticked
expect "a notice while the clipboard is held" tooltip 230 120 200 30 -gt 3000
# The balloon lies over descriptions 0 to 3 and lets their clicks through.
listen 5
click 240 133 # description 1, under the balloon
heard "" "a click on description 1 stayed in the balloon"
sleep 0.6
click 240 133 # and one on its explanation closes it
click_on Check1_1 # unticked: the latest total is the one to land
wait "$holder" || fail "the clipboard could not be held"
clipboard_is 1048572
expect "the notice gone once the total landed" tooltip 100 100 320 100 -eq 0
click_on Check1_0
expect "the balloon lets clicks through; after the hold the next total lands" holds 1048573

# Help > About: one window, whatever the times it is asked for.
about() { # [WIDTH HEIGHT]: opens About, its client area at AX AY, AW x AH, of that size
    choose mnuHelpAbout
    expect "an About window" windows_are "$About" 1 # its client area in `answer`
    read -r AX AY AW AH <<<"${answer[0]}"
    [ $# -eq 0 ] || [ "$AW $AH" = "$1 $2" ] || fail "About client area $AW x $AH, expected $1 x $2"
}
about 385 240
# The picture at its own size in Picture1's inner area (16, 16, border 2), 349 x 133: all of it
# but its last column and bottom 16 rows.
differing() { import -window root -crop "349x133+$((AX + 18))+$((AY + 18))" png:- | compare \
    -metric AE "$(dirname "$0")/../../ui/about/images/about.png[349x133+0+0]" png:- null: 2>&1; }
expect "About shows its picture, once painted" eval '[ "$(differing)" = 0 ]'
# OK has the focus at each opening; Tab walks OK, the icon, the picture; Escape closes it.
for want in Button:OK "OrvanPictureBox:Orvan unk4 "{icon,picture} Button:OK; do
    expect "About: the focus on $want" state_has "focus $want" && xdotool key Tab
done
xdotool key Escape
expect "Escape closes About" windows_are "$About" 0
about
click 450 300 # back to the main window, beside the About window
about
sleep 0.5
expect "About opens once" windows_are "$About" 1

# Closing the main window leaves the About window, and the program, running; closing that, by
# its OK, ends it, with exit code 0.
xdotool mousemove $((X + 450)) $((Y + 300)) click 1 sleep 0.3 key alt+F4
expect "the main window closes" windows_are "$Main" 0
kill -0 "$app_pid" 2>/dev/null || fail "the program ended with the About window open"
xdotool mousemove $((AX + 194)) $((AY + 219)) click 1
expect "OK closes About" windows_are "$About" 0
expect "the program ends with its last window, with exit code 0" ended

# Cancel and File > Exit end the program with exit code 0, and the total outlives it. A total
# still waiting for a held clipboard as the program is asked to end gets a few seconds more,
# while the balloon says so, and lands; held longer, the user is told which total the clipboard
# lacks. Each in a fresh program: what is done, then the clipboard it leaves.
ends=("click_on Check1_2; click_on cmdCancel | 4"
    "hold 4000; click_on Check1_3; choose mnuFileExit; within 5 tooltip 230 120 200 30 -gt 3000 | 8"
    "hold 9000; click_on Check1_4; choose mnuFileExit; within 20 state_has \
        'message The total 16 did not reach the clipboard.*' && xdotool key Return | 8")
for steps in "${ends[@]}"; do
    start_main
    eval "${steps% |*}" || fail "${steps% |*}: ${answer[*]}"
    ended && clipboard_is "${steps##*| }" || fail "no end with exit code 0 after ${steps% |*}"
    echo "ok: ${steps% |*}: the program ends, the clipboard holding ${steps##*| }"
done
wait "$holder" || fail "the clipboard could not be held"

# At 144 dpi (150 %) the window follows the screen: the table at that dpi, in pixels. On a dark
# window the About description gives up its black for the system's light text.
set_look 144 "32 32 32" "230 230 230"
serve
start_main
in_place 144 750 663
about 578 360
description() { pixels "$1" $((AX + 144)) $((AY + 252)) 274 68 "$2" "$3"; } # COLOUR OP N
expect "the About description reads on a dark window" \
    eval 'description "#E6E6E6" -gt 50 && description "#000000" -eq 0'
xdotool key Return
expect "Enter closes About" windows_are "$About" 0
