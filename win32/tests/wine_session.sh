#!/usr/bin/env bash
# The Windows program under Wine, driven as a person would: clicks and keys from xdotool, the
# total read from the X CLIPBOARD (Wine hands the Windows clipboard over), and the window's
# client area and focus from window_probe, a Windows program running beside it in the same Wine
# session (wine_driver.sh). What the behaviour table holds (typing, the keys, GO, ticking, the
# context menu's Paste, the limit message, the explanations' clicks, the tab order, F1) is
# wine_behaviour.sh's; this covers the rest: the places, the popup, the menus, About, the held
# clipboard, the end of the program, the dpi and the colours.
# Usage: run_on_xvfb.sh wine_session.sh PREFIX PROGRAM.exe window_probe.exe
set -euo pipefail
tools="compare convert import"
source "$(dirname "$0")/wine_driver.sh"

# The screen's dpi and the window and text colours, as Wine reads them from the prefix when its
# wineserver starts (the probe then starts again). The prefix is shared: its look comes back.
set_look() { # dpi "r g b" (button face) "r g b" (window text)
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Colors' /v ButtonFace /d "$2" /f >/dev/null 2>&1
    wine reg add 'HKCU\Control Panel\Colors' /v WindowText /d "$3" /f >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
}
trap 'set_look 96 "245 245 245" "0 0 0"; cleanup' EXIT

Main='Orvan unk4 ver.2.2'
About='About Orvanunk4'
windows_are() { ask client "$1"; [ ${#answer[@]} -eq "$2" ]; } # TITLE N
wait_windows() { # TITLE N: until N windows are titled TITLE (N=0: until none is left)
    within 60 windows_are "$1" "$2" || fail "expected $2 window(s) titled '$1', found ${#answer[@]}"
}
start_main() { # the program, its client area at X Y, W x H
    start || fail "the program's value box, holding 0, does not take keys: ${answer[*]}"
    ask client "$Main"
    read -r X Y W H <<<"${answer[0]}"
}
in_place() { # DPI WIDTH HEIGHT: the client area's size and each control's place at that dpi
    [ "$W $H" = "$2 $3" ] || fail "client area at $1 dpi $W x $H, expected $2 x $3"
    ask layout "$1"
    [ ${#answer[@]} -eq 0 ] || fail "controls out of place at $1 dpi:$(printf '\n    %s' "${answer[@]}")"
    echo "ok: at $1 dpi a client area of $2 x $3 at $X,$Y and every control in place"
}
click() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.3; } # X Y in the client area
click_on() { ask where "$1"; xdotool mousemove ${answer[0]} click 1; sleep 0.3; } # a control
value_is() { # TEXT WHAT: the value box holds TEXT and the focus after WHAT
    within 5 state_has "focus Text1" "value $1" || fail "$2: ${answer[*]}"
}
holds() { [ "$(clipboard)" = "$1" ]; }
clipboard_is() { within 20 holds "$1" || fail "clipboard '$(clipboard)', expected '$1'"; }

start_main
in_place 96 500 442

# Each flag box carries its description as its accessible description, by an annotation that
# Wine's oleacc does not implement (E_NOTIMPL): there the box is named only.
ask describe Check1_4
[[ ${answer[*]} == "16: "?("Creates polygons on inside base of walls-with-height") ]] \
    || fail "box 16's accessible name and description: '${answer[*]}'"
echo "ok: box 16's accessible name and description: '${answer[*]}'"

# Besides what the behaviour table types, Alt+Backspace, which undoes in an edit control, and
# the middle button, which pastes in Wine, do nothing.
click_on Text1
printf 777 | xclip -selection clipboard -i
xdotool type --delay 50 123
value_is 123 "typing 123"
xdotool key alt+BackSpace
value_is 123 "Alt+Backspace"
xdotool click 2 # the middle button
value_is 123 "the middle button"
echo "ok: Alt+Backspace and the middle button change nothing"

# WM_UNICHAR, as programs that type for the user send it, passes the same filter: of U+0661,
# RLM, 'a', U+1D7CF and '7' only the 7 goes in. UNICODE_NOCHAR is answered TRUE.
ask unichar FFFF,661,200F,61,1D7CF,37
[ "${answer[*]}" = "1 0 0 0 0 0" ] || fail "WM_UNICHAR answers: ${answer[*]}"
value_is 1237 "WM_UNICHAR"
echo "ok: WM_UNICHAR types digits only"

# Another probe beside the first, for what takes it a while: it does VERB in the background
# from when it says so.
aside() { # VERB ARGUMENT
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
value_is 0 "a click on the value box's border"
clipboard_is 0
echo "ok: only a press and release on the value box, border included, resets"

# Every box ticked, for the held clipboard below.
click_on Text1
xdotool type --delay 50 1048575
listen 20
click_on cmdGo
heard "1048575: 1, 2, 4," "GO's result not said"
clipboard_is 1048575

# Flag 10's description: the popup at client (96, 272), 316 x 151, tooltip-coloured.
pixels() { # COLOUR LEFT TOP WIDTH HEIGHT: how many pixels of that part of the screen have COLOUR
    import -window root -crop "$4x$5+$2+$3" "$work/screen.png"
    convert "$work/screen.png" txt:- | grep -ci "$1" || true
}
info_pixels() { pixels '#FFFFE1' $((X + $1)) $((Y + $2)) "$3" "$4"; } # the tooltip background
tooltip_fills() { [ "$(info_pixels "$@")" -gt $(($3 * $4 / 2)) ]; } # most of the area
tooltip_none() { [ "$(info_pixels "$@")" -eq 0 ]; }
drag 110 277 480 277
drag 480 277 110 277
tooltip_none 97 273 314 149 || fail "a press or a release alone on description 10 opened its popup"
# Screen readers hear the explanation open: an alert from it, named by its text. A screen
# reader opens it too, by the description's default action.
listen 20
ask act Label3_10
[ "${answer[*]}" = Explain ] || fail "description 10 has no default action that explains it"
heard "The entire track is covered" "no alert as the explanation opened"
within 5 tooltip_fills 97 273 314 149 || fail "popup background: $(info_pixels 97 273 314 149) pixels"
tooltip_none 96 271 316 1 || fail "popup reaches above its place"
tooltip_none 412 272 4 151 || fail "popup reaches right of its place"
tooltip_none 96 423 316 3 || fail "popup reaches below its place"
click 300 400
within 5 tooltip_none 97 273 314 149 || fail "a click on the popup did not close it"
echo "ok: description 10 opens its popup in place"

# Help > What is [FWO]? shows the note over the instructions: client (33, 3), 320 x 33.
choose mnuFWO
sleep 0.3
within 5 tooltip_fills 34 4 318 31 || fail "[FWO] note background: $(info_pixels 34 4 318 31) pixels"
tooltip_none 33 37 320 3 || fail "[FWO] note reaches below its place"
click 200 20
within 5 tooltip_none 34 4 318 31 || fail "a click on the [FWO] note did not close it"
echo "ok: Help > What is [FWO]? shows its note in place"

# While another program holds the clipboard open, the latest total waits: after a second a
# balloon under the value box says so, and the total lands once the clipboard is free, taking
# the balloon away.
hold() { aside hold "$1"; holder=$!; } # MS: another program holds the clipboard open that long
hold 3000
click_on Check1_0 # unticked
within 5 tooltip_fills 230 120 200 30 || fail "no notice while the clipboard was held"
# The balloon lies over descriptions 0 to 3 and lets their clicks through.
listen 5
click 240 133 # description 1, under the balloon
heard "" "a click on description 1 stayed in the balloon"
sleep 0.6
click 240 133 # and one on its explanation closes it
click_on Check1_1 # unticked: the latest total is the one to land
wait "$holder" || fail "the clipboard could not be held"
clipboard_is 1048572
within 5 tooltip_none 100 100 320 100 || fail "the notice stayed after the total landed"
click_on Check1_0
click_on Check1_1
clipboard_is 1048575
echo "ok: a total waits for a clipboard held by another program, and the user is told;"
echo "ok: the balloon lets clicks through to the descriptions beneath"

# Help > About twice: one window; OK closes it.
about() { # [WIDTH HEIGHT]: opens About, its client area at AX AY, AW x AH, of that size
    choose mnuHelpAbout
    wait_windows "$About" 1
    ask client "$About"
    read -r AX AY AW AH <<<"${answer[0]}"
    [ $# -eq 0 ] || [ "$AW $AH" = "$1 $2" ] || fail "About client area $AW x $AH, expected $1 x $2"
}
about 385 240
# The picture at its own size in Picture1's inner area (16, 16, border 2), 349 x 133: all of it
# but its last column and bottom 16 rows.
import -window root -crop "349x133+$((AX + 18))+$((AY + 18))" "$work/shown.png"
convert "$(dirname "$0")/../../ui/about/images/about.png" -crop 349x133+0+0 "$work/picture.png"
differ=$(compare -metric AE "$work/picture.png" "$work/shown.png" null: 2>&1 || true)
[ "$differ" = 0 ] || fail "About picture: $differ pixels differ"
# OK has the focus at each opening; Tab walks OK, the icon, the picture.
for want in "Button:OK" "OrvanPictureBox:Orvan unk4 icon" "OrvanPictureBox:Orvan unk4 picture" \
    "Button:OK"; do
    within 5 state_has "focus $want" || fail "About: focus on '${answer[0]}', expected '$want'"
    xdotool key Tab
done
click 450 300 # back to the main window, beside the About window
about
sleep 0.5
wait_windows "$About" 1
xdotool mousemove $((AX + 194)) $((AY + 219)) click 1
wait_windows "$About" 0
echo "ok: About opens once and OK closes it"

# Closing the main window leaves the About window, and the program, running; closing that ends
# it, with exit code 0.
ended() {
    within 15 eval '! kill -0 "$app_pid" 2>/dev/null' || return 1
    local pid=$app_pid
    app_pid=
    wait "$pid"
}
about
click 450 300
xdotool key alt+F4
wait_windows "$Main" 0
kill -0 "$app_pid" 2>/dev/null || fail "the program ended with the About window open"
xdotool mousemove $((AX + 194)) $((AY + 100)) click 1 # focus the About window
xdotool key Escape
wait_windows "$About" 0
ended || fail "the program did not end with its last window, with exit code 0"
echo "ok: the program ends with its last window"

# Cancel and File > Exit end the program with exit code 0, and the total outlives it (File >
# Exit at 144 dpi below): each in a fresh program, the route, then what must follow. A total
# still waiting for a held clipboard as the program is asked to end gets a few seconds more,
# while the balloon says so, and lands; held longer, the user is told which total the clipboard
# lacks.
lost_total_named() { # the total the message names; OK then ends the program
    within 60 state_has "message The total $1 did not reach the clipboard.*" || return 1
    xdotool key Return
    ended && clipboard_is 8 && wait "$holder"
}
commands=(
    "click_on Check1_1; clipboard_is 2; click_on cmdCancel | ended && clipboard_is 2"
    "hold 3000; click_on Check1_3; choose mnuFileExit; within 5 tooltip_fills 230 120 200 30 | ended && clipboard_is 8"
    "hold 9000; click_on Check1_4; choose mnuFileExit | lost_total_named 16"
)
for row in "${commands[@]}"; do
    start_main
    eval "${row%|*}" || fail "${row%|*}: failed"
    eval "${row#*|}" || fail "${row%|*}: not followed by ${row#*|}: ${answer[*]}"
done
echo "ok: Cancel and File > Exit end the program, and a total held back lands or is named"

# At 144 dpi (150 %) the window follows the screen: the table at that dpi, in pixels. On a dark
# window the About description gives up its black for the system's light text.
set_look 144 "32 32 32" "230 230 230"
serve
start_main
in_place 144 750 663
about 578 360
description_pixels() { pixels "$1" $((AX + 144)) $((AY + 252)) 274 68; } # COLOUR: lblDescription
within 5 eval '[ "$(description_pixels "#E6E6E6")" -gt 50 ]' \
    || fail "About description on a dark window: $(description_pixels "#E6E6E6") light pixels"
[ "$(description_pixels "#000000")" -eq 0 ] || fail "About description still black on a dark window"
echo "ok: the About description reads on a dark window"
xdotool key Return
wait_windows "$About" 0
click_on Check1_2
choose mnuFileExit
ended || fail "File > Exit at 144 dpi did not end the program with exit code 0"
clipboard_is 4
echo "ok: Enter closes About; File > Exit ends the program with exit code 0, leaving the total"
