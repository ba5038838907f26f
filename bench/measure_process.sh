#!/usr/bin/env bash
# Measures the running monitor on the simulated demo board with a 1 s
# interval: CPU time per tick (hidden to the tray, and shown), resident
# memory, and the time from start to the first hardware read.
# Usage: bench/measure_process.sh [SECONDS]   (default 60; needs a built tree)
set -euo pipefail
cd "$(dirname "$0")/.."
RUN_DIR=$PWD/build/run
SECONDS_TO_MEASURE=${1:-60}
[ -x "$RUN_DIR/sentinax4" ] || { echo "build first (./test.sh or ./run.sh)" >&2; exit 1; }

measure() { # $1: "tray" or "shown"
  local work pid xvfb wm="" ticks0 ticks1 reads0 reads1 cpu_ms rss start first
  work=$(mktemp -d)
  mkdir -m 0700 "$work/runtime"
  cp -r "$RUN_DIR/Skins" "$RUN_DIR/scenarios" "$RUN_DIR/boards.table" "$work/"
  sed -i 's/^IntervalTime=[0-9]*/IntervalTime=1/' "$work/Skins/Skin.ini"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  while [ ! -s "$work/display" ]; do sleep 0.05; done
  export DISPLAY=":$(head -n 1 "$work/display")"
  if [ "$1" = tray ]; then
    HOME=$work jwm >/dev/null 2>&1 &
    wm=$!
    sleep 1
  fi
  start=$(date +%s%N)
  (cd "$work" && XDG_RUNTIME_DIR=$work/runtime HMIO_SCENARIO=$work/scenarios/demo.scenario \
     HMIO_TRACE=$work/trace exec "$RUN_DIR/sentinax4") >/dev/null 2>&1 &
  pid=$!
  until grep -q '^ValueRAM(' "$work/trace" 2>/dev/null; do sleep 0.01; done
  first=$(( ($(date +%s%N) - start) / 1000000 ))
  sleep 5 # past the start-up tick
  # Run time from the scheduler (ns, all threads): exact, unlike the
  # tick-sampled times of /proc/PID/stat, which a process waking on timer
  # boundaries is charged far too much by.
  ticks0=$(cat /proc/"$pid"/task/*/schedstat | awk '{s += $1} END {print s}')
  reads0=$(grep -c '^ValueRAM(' "$work/trace")
  sleep "$SECONDS_TO_MEASURE"
  ticks1=$(cat /proc/"$pid"/task/*/schedstat | awk '{s += $1} END {print s}')
  reads1=$(grep -c '^ValueRAM(' "$work/trace")
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  cpu_ms=$(awk "BEGIN{printf \"%.1f\", ($ticks1 - $ticks0) / 1e6}")
  echo "$1: $((reads1 - reads0)) ticks in ${SECONDS_TO_MEASURE} s, CPU ${cpu_ms} ms" \
       "($(awk "BEGIN{printf \"%.3f\", $cpu_ms / ($reads1 - $reads0)}") ms per tick," \
       "$(awk "BEGIN{printf \"%.3f\", $cpu_ms / 10 / $SECONDS_TO_MEASURE}")% of one core)," \
       "RSS $((rss / 1024)) MiB, first hardware read ${first} ms after start"
  kill -TERM "$pid"; wait "$pid" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  kill "$xvfb" 2>/dev/null; wait 2>/dev/null || true
  rm -rf "$work"
}

measure tray
measure shown
