#!/usr/bin/env bash
# Builds the program (installing what is missing) and starts it.
# Usage: scripts/run.sh [web]   (web: builds the browser page and opens it, or prints its address)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = web ]; then
    scripts/deps.sh web
    cmake --preset web >/dev/null
    cmake --build --preset web -j "$(nproc)" --target web_page
    page="file://$PWD/build-web/Orvanunk4ver22.html"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xdg-open >/dev/null; then
        exec xdg-open "$page"
    fi
    echo "Open $page in a browser."
    exit 0
fi

scripts/deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target Orvanunk4ver22
exec ./build/Orvanunk4ver22
