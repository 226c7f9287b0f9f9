#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test.
# Under CI=true warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
preset=default
[ "${CI:-}" = true ] && preset=ci
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
