#!/usr/bin/env bash
# The program on Wayland, under weston (the reference compositor) with the pixman renderer.
# 1. Headless back end: the program must map its window at the designed size, its
#    xdg-toplevel 500 px wide and as high as the X11 window (442 px below the menu bar), and
#    print nothing on standard error. The size comes from weston's protocol log (--debug,
#    scope "proto"): the headless back end has no seat, so no input can reach the program.
# 2. X11 back end, inside the test's own Xvfb: weston's output is an X window, so xdotool's
#    pointer and keys reach the program through weston's seat. Click the value box, type 1040,
#    press GO, and read the total with wl-paste as another Wayland client would.
# kiosk-shell centres a window of fixed size on the output, so the window's place is known;
# the screenshot of the output confirms it.
# weston's socket goes in run_on_xvfb.sh's private runtime folder.
# Usage: run_on_xvfb.sh wayland_session.sh PROGRAM
program=${1:?usage: $0 PROGRAM}
source "$(dirname "$0")/x11_session.sh"
ci_must_run=true
need weston wl-paste:wl-clipboard xdotool import:imagemagick convert:imagemagick

# start_weston NAME BACKEND [OPTIONS...]: weston on socket NAME, its log in NAME.log.
start_weston() {
    local name=$1 backend=$2
    shift 2
    start /dev/null weston --backend="$backend" --use-pixman --shell=kiosk-shell.so --socket="$name" \
        --idle-time=0 --width=1024 --height=768 --log="$work/$name.log" "$@"
    local pid=$!
    for _ in $(seq 100); do
        [ -S "$XDG_RUNTIME_DIR/$name" ] && grep -q 'kiosk-shell' "$work/$name.log" 2>/dev/null && return
        kill -0 "$pid" 2>/dev/null || fail "weston ($backend) ended"
        sleep 0.1
    done
    fail "weston ($backend) did not start"
}

# start_client SOCKET LOG: the program as a Wayland client of that weston; no X display, so
# it cannot fall back to X11. Qt's own decoration is off: the window is its client area and
# menu bar only, as under an X11 window manager.
start_client() {
    start "$work/$2" env -u DISPLAY WAYLAND_DISPLAY="$1" QT_QPA_PLATFORM=wayland \
        QT_WAYLAND_DISABLE_WINDOWDECORATION=1 "$program"
    app_pid=$!
}

# The window on X11 for comparison: 500 px wide, the menu bar above the 442-px client area.
start_program "$program" -platform xcb
x11_size=${WIDTH}x$HEIGHT
[ "$WIDTH" -eq 500 ] || fail "X11 window width $WIDTH, expected 500"
stop "$app_pid"
echo "X11 window: $x11_size (menu bar $menu px above the 500 x 442 client area)"

# 1. Headless.
start_weston orvan-headless headless-backend.so --debug --logger-scopes=log,proto
start_client orvan-headless headless-program.log
# mapped: the program's surface has its window geometry, $size, and its first buffer.
mapped() {
    size=$(sed -n 's/.*xdg_surface@[0-9]*\.set_window_geometry(0, 0, \([0-9]*\), \([0-9]*\)).*/\1x\2/p' \
        "$work/orvan-headless.log" | tail -n 1)
    [ -n "$size" ] && grep -q 'wl_surface@[0-9]*\.commit()' "$work/orvan-headless.log" \
        && grep -q "create_buffer(new id wl_buffer@[0-9]*, 0, ${size%x*}, ${size#*x}," "$work/orvan-headless.log"
}
wait_for 10 mapped || [ -n "$size" ] || fail "the program set no window geometry on the headless weston"
grep -q 'xdg_toplevel@[0-9]*\.set_title("Orvan unk4 ver\.2\.2")' "$work/orvan-headless.log" \
    || fail "no toplevel titled 'Orvan unk4 ver.2.2'"
[ "$size" = "$x11_size" ] || fail "Wayland window $size, X11 window $x11_size"
grep -q "create_buffer(new id wl_buffer@[0-9]*, 0, 500, $((442 + menu))," "$work/orvan-headless.log" \
    || fail "no 500 x $((442 + menu)) buffer"
sleep 0.5 # anything the program still has to say
kill -0 "$app_pid" 2>/dev/null || fail "the program ended on the headless weston"
[ ! -s "$work/headless-program.log" ] || fail "the program wrote on standard error"
echo "ok: headless weston: window $size mapped, 500 x 442 below the menu bar; nothing on stderr"

# 2. Weston's X11 back end on the test's Xvfb.
start_weston orvan-x11 x11-backend.so
start_client orvan-x11 x11-backend-program.log
# kiosk-shell centres the window on weston's 1024 x 768 output, which weston shows at the X
# screen's origin.
left=$(((1024 - 500) / 2)) top=$(((768 - 442 - menu) / 2))
# shown: the window is in its place; $box is everything on weston's output but the black.
shown() {
    import -window root "$work/shot.png" 2>/dev/null
    box=$(convert "$work/shot.png" -crop 1024x768+0+0 -fuzz 1% -trim -format '%wx%h%X%Y' info: 2>/dev/null || true)
    [ "$box" = "500x$((442 + menu))+$left+$top" ]
}
wait_for 10 shown || fail "the window shows at '$box' on weston's output, expected 500x$((442 + menu))+$left+$top"
echo "ok: X11 back end: the window shows at $box"

# The value box (which resets it and selects the "0"), 1040, GO, through weston's output at the
# X screen's origin.
xdotool mousemove $((left + 196)) $((top + menu + 83)) click 1 sleep 0.3 type --delay 50 1040
sleep 0.3
xdotool mousemove $((left + 288)) $((top + menu + 84)) click 1
# pasted VALUE: wl-paste, as another Wayland client, reads VALUE (what it read in $copied).
pasted() {
    copied=$(WAYLAND_DISPLAY=orvan-x11 timeout 5 wl-paste --no-newline 2>/dev/null || true)
    [ "$copied" = "$1" ]
}
wait_for 5 pasted 1040 || fail "the Wayland clipboard holds '$copied', expected '1040'"
[ ! -s "$work/x11-backend-program.log" ] || fail "the program wrote on standard error"
echo "ok: X11 back end: value box, 1040, GO; wl-paste reads $copied"
