#!/usr/bin/env bash
# On a real X server, in several keyboard layouts: dead keys and Compose sequences type
# nothing into the value box, and digits still do, even where a layout needs Shift for them.
# Qt's Compose support hands composed text to the box as an input method commit, past its key
# filter, so each row types its keys between two digits the box must take, then presses GO and
# reads the CLIPBOARD: GO puts the value there only if the box holds digits alone (anything
# else brings up the error message instead).
# Usage: run_on_xvfb.sh x11_typing.sh PROGRAM
program=${1:?usage: $0 PROGRAM}
source "$(dirname "$0")/x11_session.sh"
need xdotool xclip setxkbmap:x11-xkb-utils
# Qt composes with the table of the locale's language; C.UTF-8 uses the en_US.UTF-8 one.
compose=/usr/share/X11/locale/en_US.UTF-8/Compose
[ -f "$compose" ] || skip "$compose is missing (libx11-data)"
[ -d /usr/share/X11/xkb/symbols ] || skip "no keyboard layouts (xkb-data)"
export LC_ALL=C.UTF-8

start_program "$program"

# Each row: the layout (setxkbmap's arguments), the keys (xdotool key names), and the value the
# box must hold after them. Every row's value differs from the one before, so that a GO that
# brings up the error message leaves a clipboard that matches no row.
#   layout                                 keys                                    value
cases=(
    "-layout us -variant intl               | 7 dead_acute e 2                       | 72"  # é
    "-layout us -variant intl               | 5 dead_circumflex 1 3                  | 53"  # ¹
    "-layout us -variant intl               | 8 dead_diaeresis u dead_grave a 4      | 84"  # ü à
    "-layout us -option compose:ralt        | 3 Multi_key 1 2 9                      | 39"  # ½
    "-layout us -option compose:ralt        | 2 Multi_key o c 6                      | 26"  # ©
    "-layout de                             | 6 dead_circumflex 2 1 dead_circumflex space 5 | 615" # ² ^
    "-layout fr                             | 4 2                                    | 42"  # Shift for both
    "-layout fr                             | 1 dead_circumflex e 0                  | 10"  # ê
)
# went VALUE: GO put VALUE on the CLIPBOARD; its error message fails the test at once.
went() {
    ! xdotool search --onlyvisible --name '^Orvanunk4$' >/dev/null 2>&1 \
        || fail "${layout[*]}: ${keys[*]}: the box took more than digits (GO reported an error)"
    clipboard_holds "$1"
}
for row in "${cases[@]}"; do
    IFS='|' read -r layout keys value <<<"$row"
    read -r -a layout <<<"$layout"
    read -r -a keys <<<"$keys"
    value=${value//[[:space:]]/}
    setxkbmap -option "" "${layout[@]}"
    sleep 0.3
    click 196 83 # the value box: resets it to "0", all selected
    xdotool key --delay 60 "${keys[@]}"
    sleep 0.3
    click 288 84 # GO
    wait_for 3 went "$value" || fail "${layout[*]}: ${keys[*]}: CLIPBOARD holds '$copied', expected $value"
    echo "ok: ${layout[*]}: ${keys[*]} -> $value"
done

# Qt reports a Compose table it could not load; then no row above composed anything.
if grep -i 'compose' "$work/program.log"; then
    fail "Qt's Compose support did not start"
fi
