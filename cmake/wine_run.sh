#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix (see wine_prefix.sh), then stops the
# prefix's wineserver. Callers that share a prefix must not overlap.
# Usage: wine_run.sh PREFIX PROGRAM.exe [ARGS...]   (exits 77, a skip, where Wine is missing)
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 PREFIX PROGRAM.exe [ARGS...]" >&2; exit 2; }
source "$(dirname "$0")/wine_prefix.sh" "$1"
shift

status=0
wine "$@" || status=$?
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
exit "$status"
