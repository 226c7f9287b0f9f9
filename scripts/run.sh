#!/usr/bin/env bash
# Builds the program (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target Orvanunk4ver22
exec ./build/Orvanunk4ver22
