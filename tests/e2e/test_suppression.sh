#!/usr/bin/env bash
# A window titled exactly "Configuration" pauses monitoring (no hardware
# reads, the published values freeze); "Configuration - x" does not.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
start_app
wait_for 15 trace_has ValueRAM || fail "no start"
sleep 3

"$TITLED_WINDOW" "Configuration" > /dev/null &
PAUSER=$!
APP_PIDS+=("$PAUSER")
sleep 1.5
reads=$(trace_count ValueRAM)
block1=$("$RUN_DIR/sentinax-shm")
sleep 2.5
[ "$(trace_count ValueRAM)" = "$reads" ] || fail "the hardware was read while paused"
[ "$("$RUN_DIR/sentinax-shm")" = "$block1" ] || fail "published values changed while paused"
kill "$PAUSER"

"$TITLED_WINDOW" "Configuration - x" > /dev/null &
OTHER=$!
APP_PIDS+=("$OTHER")
sleep 1
reads=$(trace_count ValueRAM)
sleep 2.5
[ "$(trace_count ValueRAM)" -gt "$reads" ] || fail "a longer title paused monitoring"
[ "$("$RUN_DIR/sentinax-shm")" != "$block1" ] || fail "published values did not move"
kill "$OTHER"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
