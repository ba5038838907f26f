#!/usr/bin/env bash
# The published block truncated over and over while the monitor ticks every
# 10 ms (100 samples per 1 s interval, from the user's board table): the
# monitor must live on, keep ticking and keep the block whole. The object is
# reached through the monitor's own descriptor, so a monitor of another test
# run is never touched. TRUNCATE_SECONDS sets the length (default 20).
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
mkdir -p "$XDG_CONFIG_HOME/sentinax"
cat > "$XDG_CONFIG_HOME/sentinax/boards.table" <<'TABLE'
[SamplesPerInterval]
board KX-4100 => SamplesPerInterval=100
TABLE
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario

# /HMShared is one name for the machine: a monitor of another test run may
# hold it for a while. Start when it is free, and again if it was taken.
no_monitor_running() { [ ! -e /dev/shm/ShareHMMemDataMutex ] || flock -n -s /dev/shm/ShareHMMemDataMutex true; }
block_is_whole() { [ "$(stat -L -c %s "$block")" = 65536 ]; }
block=""
for attempt in 1 2 3; do
  wait_for 60 no_monitor_running || fail "another monitor keeps /HMShared"
  : > "$HMIO_TRACE"
  start_app
  wait_for 15 trace_has ValueRAM || fail "no start"
  for fd in /proc/"$APP_PID"/fd/*; do
    case "$(readlink "$fd" 2>/dev/null)" in /dev/shm/HMShared*) block=$fd ;; esac
  done
  [ -n "$block" ] && break
  grep -q 'another monitor' "$WORK/app.out" || fail "the monitor publishes no block"
  kill -TERM "$APP_PID"
  wait_exit "$APP_PID" 10 || fail "did not end"
done
[ -n "$block" ] || fail "the monitor never got to publish"

seconds=${TRUNCATE_SECONDS:-20}
first=$(trace_count ValueRAM)
cuts=0
end=$((SECONDS + seconds))
while [ $SECONDS -lt $end ]; do
  truncate -s 0 "$block" && truncate -s 13 "$block" || fail "cannot truncate the block"
  cuts=$((cuts + 2))
  kill -0 "$APP_PID" 2>/dev/null || fail "the monitor died after $cuts truncations"
done
ticks=$(($(trace_count ValueRAM) - first))
# 100 ticks a second when nothing else runs; a loaded machine gets fewer.
[ "$ticks" -ge $((seconds * 10)) ] || fail "only $ticks ticks in $seconds s"
wait_for 5 block_is_whole || fail "the block's size was not restored"
# Still published: the demo board's Vcore (1346 to 1354 mV) at offset 4.
vcore=$(od -An -t d4 -j 4 -N 4 "$block" | tr -d ' ')
[ "$vcore" -ge 1346 ] && [ "$vcore" -le 1354 ] || fail "the block holds Vcore $vcore"

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "PASS: $cuts truncations in $seconds s, $ticks ticks"
