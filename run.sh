#!/usr/bin/env bash
# Builds Sentinax 4 and starts it in build/run/. On a machine without hwmon
# sensors it runs on the simulated demo board; without a display, under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

cd build/run
if ! compgen -G "/sys/class/hwmon/hwmon*/*_input" >/dev/null && [ -z "${HMIO_SCENARIO:-}" ]; then
  echo "No hwmon sensors here: running on the simulated demo board."
  export HMIO_SCENARIO="$PWD/scenarios/demo.scenario"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running under Xvfb."
  exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ./sentinax4
fi
exec ./sentinax4
