#!/usr/bin/env bash
# Runs the built program without any display: --help and --version answer on standard output
# with status 0, a wrong option gets one line on standard error and status 2 (once Qt has taken
# its own options, which needs a display), and a missing or unreachable X or Wayland display one
# line naming it and status 1 (not Qt's abort and core dump).
# Usage: command_line_test.sh PROGRAM
set -uo pipefail
program=${1:?usage: $0 PROGRAM}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE
# No core file from this test, whatever happens.
ulimit -c 0

fail=0
# run NAME STATUS STDOUT_LINES STDERR_LINES STDOUT_RE STDERR_RE -- ENV/ARGS...
# Each line count is exact; "-" takes any count. The patterns are grep -E expressions; an
# empty one checks nothing.
run() {
    local name=$1 want_status=$2 want_out=$3 want_err=$4 out_re=$5 err_re=$6
    shift 7
    local status=0 out_lines err_lines problems=()
    timeout 20 env "$@" >"$work/out" 2>"$work/err" </dev/null || status=$?
    out_lines=$(wc -l <"$work/out")
    err_lines=$(wc -l <"$work/err")
    [ "$status" -eq "$want_status" ] || problems+=("status $status, expected $want_status")
    [ "$want_out" = - ] || [ "$out_lines" -eq "$want_out" ] || problems+=("$out_lines lines on stdout, expected $want_out")
    [ "$want_err" = - ] || [ "$err_lines" -eq "$want_err" ] || problems+=("$err_lines lines on stderr, expected $want_err")
    [ -z "$out_re" ] || grep -qE -- "$out_re" "$work/out" || problems+=("stdout lacks /$out_re/")
    [ -z "$err_re" ] || grep -qE -- "$err_re" "$work/err" || problems+=("stderr lacks /$err_re/")
    [ ${#problems[@]} -gt 0 ] || { echo "ok: $name"; return; }
    echo "FAILED: $name: ${problems[*]}"
    sed 's/^/  stdout: /' "$work/out"
    sed 's/^/  stderr: /' "$work/err"
    fail=1
}

#   name                             status out err  stdout                       stderr
run "--help"                              0  -   0  '^Usage: Orvanunk4ver22 '      '' -- "$program" --help
run "-h among Qt's options"               0  -   0  '-v, --version  '           '' -- "$program" -platform xcb -h
run "--version"                           0  1   0  '^Orvanunk4ver22 2\.2$'       '' -- "$program" --version
run "-v among Qt's options"               0  1   0  '^Orvanunk4ver22 2\.2$'       '' -- "$program" -v -platform xcb
# Qt takes its own options out of argv (here on its offscreen platform, which needs no display);
# the program refuses what Qt leaves, letters after one dash as one word, not a bundle.
offscreen=(QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work")
run "--bogus among Qt's options"          2  0   1  ''  "^Orvanunk4ver22: Unknown option 'bogus' \\(try --help\\)$" -- "${offscreen[@]}" "$program" -reverse -style Fusion --bogus -qwindowtitle t
run "-hv"                                 2  0   1  ''  "^Orvanunk4ver22: Unknown option 'hv' \\(try --help\\)$" -- "${offscreen[@]}" "$program" -hv
run "a stray argument after Qt's values"  2  0   1  ''  "^Orvanunk4ver22: unexpected argument '1040' \\(try --help\\)$" -- XDG_RUNTIME_DIR="$work" "$program" -platform offscreen -qwindowgeometry 10x10 1040
run "no DISPLAY"                          1  0   1  ''  '^Orvanunk4ver22: cannot open display' -- "$program"
run "DISPLAY=:987, nothing listening"     1  0   1  ''  '^Orvanunk4ver22: cannot open display :987$' -- DISPLAY=:987 "$program"
run "-display :987 beats DISPLAY"         1  0   1  ''  '^Orvanunk4ver22: cannot open display :987$' -- DISPLAY=:0 "$program" -display :987
run "WAYLAND_DISPLAY=wayland-9, no DISPLAY" 1 0   1  ''  '^Orvanunk4ver22: cannot open Wayland display wayland-9$' -- WAYLAND_DISPLAY=wayland-9 XDG_RUNTIME_DIR="$work" "$program"
run "the same with QT_QPA_PLATFORM=wayland" 1 0   1  ''  '^Orvanunk4ver22: cannot open Wayland display wayland-9$' -- WAYLAND_DISPLAY=wayland-9 XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=wayland "$program"
run "Wayland, no XDG_RUNTIME_DIR"         1  0   1  ''  '^Orvanunk4ver22: cannot open Wayland display wayland-9: XDG_RUNTIME_DIR' -- -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-9 "$program"
exit $fail
