#!/usr/bin/env bash
# A second copy is refused with a message while the first runs, loads no
# library, and leaves the first copy running; after the first ends, a new copy
# starts normally (no stale lock).
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
start_app
FIRST=$APP_PID
wait_for 15 trace_has ValueRAM || fail "first copy did not start"

HMIO_TRACE=$WORK/second-trace.txt start_app
SECOND=$APP_PID
wait_for 10 bash -c "xdotool search --onlyvisible --pid $SECOND" || fail "no refusal message"
box=$(windows_of "$SECOND" visible | head -n 1)
[ "$(xdotool getwindowname "$box")" = "sentinax4" ] || fail "message caption '$(xdotool getwindowname "$box")'"
[ ! -s "$WORK/second-trace.txt" ] || fail "the second copy used the hardware library"
press_key "$box" Return
wait_exit "$SECOND" 10 || fail "the second copy did not end after OK"
[ "$EXIT_CODE" = 0 ] || fail "second copy exit code $EXIT_CODE"
kill -0 "$FIRST" || fail "the first copy ended"

kill -TERM "$FIRST"
wait_exit "$FIRST" 10 || fail "first copy did not end"
: > "$HMIO_TRACE"
start_app
wait_for 15 trace_has ValueRAM || fail "a new copy could not start after the first ended"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "third copy did not end"
echo "PASS"
