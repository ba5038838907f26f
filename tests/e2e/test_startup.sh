#!/usr/bin/env bash
# Start-up on the demo board: the hardware calls in order, the window shown,
# hidden to the tray after the first tick, and SIGTERM cleaning up once.
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
start_app

wait_for 15 trace_has ValueRAM || fail "no ValueRAM in the trace"
expected="LoadNTHMIO GetVid GetDMILength GetDMIData DetectLM78 DetectLM75 EnableSMSCHWMonitor ValueRAM"
actual=$(trace_names | head -n 8 | tr '\n' ' ' | sed 's/ $//')
[ "$actual" = "$expected" ] || fail "start-up calls: '$actual', expected '$expected'"

wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "the main window was never shown"
# The first tick comes 2 s after start-up and hides the window to the tray
# (the tray icon's own window stays).
hidden() { ! visible_window_titled "$APP_PID" Sentinax4; }
wait_for 8 hidden || fail "the window was not hidden"
# Sampling goes on at the interval.
before=$(trace_count ValueRAM)
wait_for 8 bash -c "[ \$(grep -c '^ValueRAM(' '$HMIO_TRACE') -gt $before ]" || fail "no sampling after the first tick"

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "SIGTERM did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE after SIGTERM"
[ "$(trace_count UnloadNTHMIO)" = 1 ] || fail "UnloadNTHMIO $(trace_count UnloadNTHMIO) times"
[ "$(trace_names | tail -n 1)" = UnloadNTHMIO ] || fail "calls after UnloadNTHMIO"
echo "PASS"
