#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test.
# Usage: scripts/test.sh [preset]   (default, or ci under CI=true; asan for the sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
preset=${1:-default}
[ $# -eq 0 ] && [ "${CI:-}" = true ] && preset=ci
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
