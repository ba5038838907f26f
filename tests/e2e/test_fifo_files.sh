#!/usr/bin/env bash
# FIFOs where the program expects files: boards.table, log.dat and SOUND.wav.
# Nothing may stall: the start-up finishes, the ticks go on, a warning still
# reaches the window, every refused file is named once on stderr, and SIGTERM
# ends the program.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
rm -f "$WORK/boards.table"
mkfifo "$WORK/boards.table" "$WORK/log.dat" "$WORK/SOUND.wav"
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario
start_app

wait_for 15 trace_has ValueRAM || fail "the start-up stalled"
grep -q '^sentinax4: boards.table: cannot open the board table: is a FIFO' "$WORK/app.out" \
  || fail "the board table FIFO was not reported"
wait_for 20 grep -q 'cannot write the warning log log.dat: is a FIFO' "$WORK/app.out" \
  || fail "the log FIFO was not reported"
wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "the warning did not bring the window back"
ticks=$(trace_count ValueRAM)
sleep 3
[ "$(trace_count ValueRAM)" -gt "$ticks" ] || fail "the ticks stopped"
[ "$(grep -c 'cannot write the warning log' "$WORK/app.out")" = 1 ] || fail "reported more than once"
[ -p "$WORK/log.dat" ] && [ -p "$WORK/boards.table" ] && [ -p "$WORK/SOUND.wav" ] \
  || fail "a FIFO was replaced"
grep 'alarm sound' "$WORK/app.out" || true # only where the build has a sound player

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "SIGTERM did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "PASS"
