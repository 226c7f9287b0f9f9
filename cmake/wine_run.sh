#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of its own, creating the prefix on first use:
# the Wine fonts installed (MS Sans Serif among them; without them every face is drawn in
# one fallback font and the layout breaks) and the X11 driver's Managed off, so that Wine
# draws the frames itself and windows come and go at once without a window manager.
# Stops the prefix's wineserver afterwards; callers that share a prefix must not overlap.
# Usage: wine_run.sh PREFIX PROGRAM.exe [ARGS...]   (exits 77, a skip, where Wine is missing)
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 PREFIX PROGRAM.exe [ARGS...]" >&2; exit 2; }
prefix=$1
shift
command -v wine >/dev/null || { echo "SKIP: wine is not installed (scripts/deps.sh test)"; exit 77; }

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
if [ ! -f "$prefix/.orvan-ready" ]; then
    rm -rf "$prefix"
    mkdir -p "$prefix"
    # Without a display wineboot creates the prefix just the same, and faster.
    DISPLAY= wine wineboot -i >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
    touch "$prefix/.orvan-ready"
fi

status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit "$status"
