#!/usr/bin/env bash
# A CPU fan that stops: its warning record comes at the third evaluation
# after it stopped, and the block other programs read shows the 0 rpm.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
export HMIO_SCENARIO=$WORK/scenarios/fan-failure.scenario
start_app
wait_for 20 test -s "$WORK/log.dat" || fail "no warning record"
grep -qa 'CPU FAN SPEED WARNING : 0 rpm ' "$WORK/log.dat" || fail "record: $(cat -A "$WORK/log.dat")"
"$RUN_DIR/sentinax-shm" | grep -q 'CPU fan *0 rpm' || fail "block: $("$RUN_DIR/sentinax-shm")"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
"$RUN_DIR/sentinax-shm" >/dev/null 2>&1 && fail "the block outlived the monitor"
echo "PASS"
