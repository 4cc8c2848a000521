#!/usr/bin/env bash
# Configures and builds the Release tree in build/. Extra arguments go to the build step
# (for example: --target kestrun game_data).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" "$@"
