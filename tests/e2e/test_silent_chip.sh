#!/usr/bin/env bash
# A chip that stays silent: one retry, the driver message, then the program
# ends with the library released once and nothing sampled.
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display
export HMIO_SCENARIO=$WORK/scenarios/silent-chip.scenario
start_app

wait_for 15 bash -c "xdotool search --onlyvisible --pid $APP_PID" || fail "no driver message"
[ "$(trace_count DetectLM78)" = 2 ] || fail "DetectLM78 called $(trace_count DetectLM78) times"
box=$(windows_of "$APP_PID" visible | head -n 1)
press_key "$box" Return
wait_exit "$APP_PID" 10 || fail "the program did not end after the message"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
trace_has ValueRAM && fail "sampled although the chip is silent"
[ "$(trace_count UnloadNTHMIO)" = 1 ] || fail "UnloadNTHMIO $(trace_count UnloadNTHMIO) times"
echo "PASS"
