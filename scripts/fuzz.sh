#!/usr/bin/env bash
# Builds the flag model's libFuzzer target with clang and runs it for a bounded time.
# Usage: scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp flags/fuzz/seeds/* "$corpus"/
./build-fuzz/flags/fuzz/fuzz_decompose -max_total_time="${1:-60}" -max_len=4096 \
    -print_final_stats=1 "$corpus"
