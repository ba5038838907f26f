#!/usr/bin/env bash
# The published block changes every tick; with three samples per interval and
# a scaled +5 V the ticks between evaluations publish the library's own value.
# The board's rows come from the user's own board table.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 3
start_display
mkdir -p "$XDG_CONFIG_HOME/sentinax"
cat > "$XDG_CONFIG_HOME/sentinax/boards.table" <<'TABLE'
[SamplesPerInterval]
board KX-4100 => SamplesPerInterval=3
[FiveVoltRule]
board KX-4100 => FiveVoltRule=Slot3Times1_5
TABLE
cat > "$WORK/scenarios/block.scenario" <<'SCEN'
manufacturer Korvane
product KX-4100 Block
version 1.0
vendor 0x1022
load 1
lm78 1
lm75 1
param 0 45
slot 0 1300 1301 1302 1303 1304 1305 1306 1307 1308 1309 1310 1311 1312 1313 1314
slot 3 3340
slot 4 12150
slot 7 34
slot 8 2700
SCEN
export HMIO_SCENARIO=$WORK/scenarios/block.scenario
start_app
wait_for 15 trace_has ValueRAM || fail "no start"
declare -A seen_v5
previous=""
changes=0
for _ in $(seq 1 12); do
  sleep 0.5
  out=$("$RUN_DIR/sentinax-shm") || fail "no block"
  v5=$(echo "$out" | sed -n 's/^+5 V *\([0-9-]*\) mV/\1/p')
  seen_v5[$v5]=1
  vcore=$(echo "$out" | sed -n 's/^Vcore *\([0-9-]*\) mV/\1/p')
  [ -n "$previous" ] && [ "$vcore" != "$previous" ] && changes=$((changes + 1))
  previous=$vcore
done
[ -n "${seen_v5[3340]:-}" ] || fail "never saw the unconverted +5 V: ${!seen_v5[*]}"
[ -n "${seen_v5[5010]:-}" ] || fail "never saw the converted +5 V: ${!seen_v5[*]}"
[ "$changes" -ge 4 ] || fail "the block changed only $changes times"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
