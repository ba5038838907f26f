#!/usr/bin/env bash
# The countdown is also a desktop notification (a fake service on a private
# session bus): Notify with critical urgency (a byte 2), a "cancel" action and
# no expiry; the user's Cancel on the notification cancels the power-off (the
# recorder stays untouched) and the monitor goes on. A service that takes the
# call and never answers holds nothing up: the ticks go on during the
# countdown and "Accept Now" still requests the power-off.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
start_session_bus cancel-after=1500
load_scenario hot "45*3 110"

start_app
wait_for 20 find_dialog "System Protection" || fail "no countdown"
wait_for 5 grep -q '^Notify' "$WORK/notifications.txt" || fail "no notification"
expected="Notify app=Sentinax4 summary=System Protection urgency=2/uchar actions=cancel,Cancel timeout=0 id=1"
[ "$(head -n 1 "$WORK/notifications.txt")" = "$expected" ] ||
  fail "notification: $(head -n 1 "$WORK/notifications.txt")"
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^System Protection\$'" ||
  fail "Cancel on the notification did not end the countdown"
before=$(trace_count ValueRAM)
sleep 3
[ "$(trace_count ValueRAM)" -gt "$before" ] || fail "monitoring stopped"
[ ! -e "$WORK/poweroff.txt" ] || fail "powered off after Cancel"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "ok: Cancel on the notification"

start_notifier silent
: > "$WORK/notifications.txt"
rm -f "$WORK/log.dat"
start_app
wait_for 20 find_dialog "System Protection" || fail "no countdown with a hung service"
wait_for 5 grep -q '^Notify' "$WORK/notifications.txt" || fail "the hung service got no call"
before=$(trace_count ValueRAM)
sleep 4
during=$(( $(trace_count ValueRAM) - before ))
[ "$during" -ge 3 ] || fail "only $during readings in 4 s of countdown with a hung service"
click_at "$(find_dialog "System Protection")" 0.26 0.80 # Accept Now
wait_for 10 test -s "$WORK/poweroff.txt" || fail "no power-off request after Accept"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "ok: a hung service ($during readings in 4 s of countdown)"
echo "PASS"
