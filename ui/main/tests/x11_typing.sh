#!/usr/bin/env bash
# On a real X server, in several keyboard layouts: dead keys and Compose sequences type
# nothing into the value box, and digits still do, even where a layout needs Shift for them.
# Qt's Compose support hands composed text to the box as an input method commit, past its key
# filter, so each row types its keys between two digits the box must take, then presses GO and
# reads the CLIPBOARD: GO puts the value there only if the box holds digits alone (anything
# else brings up the error message instead).
# Usage: run_on_xvfb.sh x11_typing.sh PROGRAM
set -euo pipefail
program=${1:?usage: $0 PROGRAM}

[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X server; run it through run_on_xvfb.sh"; exit 1; }
for tool in xdotool xclip setxkbmap; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh test installs it)"
        exit 77
    fi
done
# Qt composes with the table of the locale's language; C.UTF-8 uses the en_US.UTF-8 one.
compose=/usr/share/X11/locale/en_US.UTF-8/Compose
[ -f "$compose" ] || { echo "SKIP: $compose is missing (libx11-data)"; exit 77; }
[ -d /usr/share/X11/xkb/symbols ] || { echo "SKIP: no keyboard layouts (xkb-data)"; exit 77; }
export LC_ALL=C.UTF-8

work=$(mktemp -d)
app_pid=
cleanup() {
    if [ -n "$app_pid" ]; then
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/app.log" ] && sed 's/^/program: /' "$work/app.log"
    exit 1
}

"$program" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Orvan unk4 ver\.2\.2$' | head -n 1) \
    || fail "the main window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
menu=$((HEIGHT - 442))
click() { # x y in the client area
    xdotool mousemove --window "$window" "$1" $((menu + $2)) click 1
    sleep 0.3
}

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
    copied=
    for _ in $(seq 30); do
        if xdotool search --onlyvisible --name '^Orvanunk4$' >/dev/null 2>&1; then
            fail "${layout[*]}: ${keys[*]}: the box took more than digits (GO reported an error)"
        fi
        copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
        [ "$copied" = "$value" ] && break
        sleep 0.1
    done
    [ "$copied" = "$value" ] || fail "${layout[*]}: ${keys[*]}: CLIPBOARD holds '$copied', expected $value"
    echo "ok: ${layout[*]}: ${keys[*]} -> $value"
done

# Qt reports a Compose table it could not load; then no row above composed anything.
if grep -i 'compose' "$work/app.log"; then
    fail "Qt's Compose support did not start"
fi
