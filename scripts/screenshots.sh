#!/usr/bin/env bash
# Redraws the screenshots in docs/ from the built program on a private Xvfb:
# the main window at scale factors 1, 1.5 and 2, flag 10's explanation, and the explanation
# under other themes: the Fusion style and a dark qt6ct scheme, both with qt6ct's 9-point font.
# Usage: scripts/screenshots.sh [program]   (default build/Orvanunk4ver22; needs xvfb,
# xdotool, ImageMagick and qt6ct)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/Orvanunk4ver22}
program_args=()

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb=$!
themes=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$themes"' EXIT
read -r -u 3 display
export DISPLAY=:$display

# shoot FILE [xdotool commands run against the window before the shot]
shoot() {
    local file=$1 wid pid
    shift
    "$program" "${program_args[@]}" 2>/dev/null &
    pid=$!
    wid=$(xdotool search --sync --name '^Orvan unk4 ver\.2\.2$' | head -1)
    xdotool windowactivate "$wid" 2>/dev/null || true
    sleep 0.5
    [ $# -eq 0 ] || xdotool "$@"
    sleep 0.3
    import -window "$wid" "$file"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

for factor in 1 1.5 2; do
    QT_SCALE_FACTOR=$factor shoot "docs/main-window-${factor}x.png"
done
# Flag 10's description: left 96 px, top 112 + 16 * 10 px, below the 18-px menu bar.
shoot docs/detail-popup.png mousemove 100 295 click 1

# qt6ct as a desktop would set it up: a 9-point application font, applied once the program
# runs, and a colour scheme; the program keeps its own font and picks legible text colours.
qt6ct() { # scheme
    mkdir -p "$themes/$1/qt6ct"
    cat >"$themes/$1/qt6ct/qt6ct.conf" <<END
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/$1.conf
custom_palette=true

[Fonts]
general="DejaVu Sans,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
fixed="DejaVu Sans Mono,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
END
}
qt6ct simple
qt6ct darker
export QT_QPA_PLATFORMTHEME=qt6ct
# Flag 10's description lies 272 px down the client area, below a menu bar of 18 to 22 px.
popup=(mousemove 100 298 click 1)
program_args=(-style Fusion)
XDG_CONFIG_HOME=$themes/simple shoot docs/theme-fusion.png "${popup[@]}"
program_args=()
XDG_CONFIG_HOME=$themes/darker shoot docs/theme-dark.png "${popup[@]}"
