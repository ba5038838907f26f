#!/usr/bin/env bash
# SIGTERM during the start-up wait for a silent chip ends the program without
# anyone pressing a button, releases the library once, and leaves no lock.
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display
export HMIO_SCENARIO=$WORK/scenarios/silent-chip.scenario
start_app
wait_for 10 trace_has DetectLM78 || fail "detection did not start"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 15 || fail "SIGTERM during start-up did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ "$(trace_count UnloadNTHMIO)" = 1 ] || fail "UnloadNTHMIO $(trace_count UnloadNTHMIO) times"

export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
: > "$HMIO_TRACE"
start_app
wait_for 15 trace_has ValueRAM || fail "a lock was left behind"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
