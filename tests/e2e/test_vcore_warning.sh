#!/usr/bin/env bash
# A core voltage above its limit: one warning record after the third
# evaluation, byte for byte, and the window comes back from the tray.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario
start_app

wait_for 20 test -s "$WORK/log.dat" || fail "no warning record"
sleep 2.5 # two more evaluations: still one record for the episode
[ "$(log_records)" = 1 ] || fail "$(log_records) records"
od -c "$WORK/log.dat" | head -n 5
LC_ALL=C grep -qaP '^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d CPU CORE VOLTAGE WARNING : 2\.10 v \r$' "$WORK/log.dat" \
  || fail "record text: $(od -c "$WORK/log.dat")"
[ "$(stat -c %s "$WORK/log.dat")" = 58 ] || fail "record size $(stat -c %s "$WORK/log.dat")"
[ "$(tail -c 4 "$WORK/log.dat" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] || fail "record end"
wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "the warning did not bring the window back"

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
