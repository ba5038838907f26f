#!/usr/bin/env bash
# The case is opened: after the latch is found set twice the event is logged,
# the intrusion warning shows, and OK clears the latch.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
export HMIO_SCENARIO=$WORK/scenarios/intrusion.scenario
start_app
wait_for 20 find_dialog "Chassis Intrusion Warning" || fail "no intrusion warning"
grep -qaP '^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d CHASSIS INTRUSION WARNING\r$' "$WORK/log.dat" || fail "record: $(cat -A "$WORK/log.dat")"
trace_has ChassisClear && fail "cleared before OK"
press_key "$(find_dialog "Chassis Intrusion Warning")" Return
wait_for 5 trace_has ChassisClear || fail "OK did not clear the latch"
sleep 3
[ "$(grep -c 'CHASSIS INTRUSION' "$WORK/log.dat")" = 1 ] || fail "the warning came back after clearing"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
