#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test.
# Usage: scripts/test.sh [preset]   (default, or ci under CI=true; asan for the sanitizers)
# Then, except under the sanitizers, the Windows program under Wine (the windows preset).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
preset=${1:-default}
[ $# -eq 0 ] && [ "${CI:-}" = true ] && preset=ci
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"

# The Windows program, cross-built with mingw-w64 and tested under Wine (a few minutes; the
# first run creates the Wine prefix in build-windows/). Not under the sanitizers.
if [ "$preset" != asan ]; then
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j "$(nproc)"
    ctest --preset windows
fi
