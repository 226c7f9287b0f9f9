#!/usr/bin/env bash
# Redraws the screenshots in docs/ from the built program on a private Xvfb:
# the main window at scale factors 1, 1.5 and 2, and flag 10's explanation.
# Usage: scripts/screenshots.sh [program]   (default build/Orvanunk4ver22; needs xvfb,
# xdotool and ImageMagick)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/Orvanunk4ver22}

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null' EXIT
read -r -u 3 display
export DISPLAY=:$display

# shoot FILE [xdotool commands run against the window before the shot]
shoot() {
    local file=$1 wid pid
    shift
    "$program" 2>/dev/null &
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
