#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test.
# Usage: scripts/test.sh [preset]   (default, or ci under CI=true; asan for the sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
preset=${1:-default}
[ $# -eq 0 ] && [ "${CI:-}" = true ] && preset=ci

run() { # PRESET: configure, build and test it
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$(nproc)"
    ctest --preset "$1" -j "$(nproc)"
}

run "$preset"
if [ "$preset" != asan ]; then
    # The toolkit-free layers build and pass with the plain compiler alone, no Qt in sight.
    run core
    # The Windows program, cross-built with mingw-w64 and tested under Wine (a minute or two;
    # the first run creates the Wine prefix in build-windows/).
    run windows
    # The browser page, built with Emscripten: the core's tests under node, the page in
    # headless Chromium.
    run web
    # Two builds, two folders, the same bytes: the page and the program file, the first build
    # being the ones just tested.
    scripts/reproduce.sh --reuse page exe
fi
