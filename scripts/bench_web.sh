#!/usr/bin/env bash
# Load time of the browser page against a blank page (cold and warm, medians), its size, and
# GO on 1048575, in headless Chromium. Figures, not a test.
#
#   scripts/bench_web.sh [-n RUNS] [PAGE.html]   (defaults: 7; build-web/Orvanunk4ver22.html)
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=7
while getopts "n:" o; do
    case $o in n) RUNS=$OPTARG ;; *) exit 2 ;; esac
done
shift $((OPTIND - 1))
PAGE=${1:-build-web/Orvanunk4ver22.html}
[ -f "$PAGE" ] || { echo "no $PAGE: cmake --preset web && cmake --build --preset web" >&2; exit 1; }
exec /usr/bin/python3 bench/web/bench_web.py "$PAGE" "$RUNS"
