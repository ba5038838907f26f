#!/usr/bin/env bash
# Builds Sentinax 4 with its tests and runs every test: unit, widget
# (offscreen) and end-to-end (the real program under Xvfb on the simulator).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
