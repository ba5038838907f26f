#!/usr/bin/env bash
# The over-temperature countdown without a display is logind's scheduled
# power-off, here a fake logind on a private system bus:
#   1. the CPU overheats: ScheduleShutdown("poweroff", now + 30 s), said at
#      critical priority; a `shutdown -c` (CancelScheduledShutdown) is the
#      dialog's Cancel: said, no power-off, monitoring goes on, and the CPU,
#      still hot, starts no new countdown;
#   2. logind has not acted on the schedule 15 s after its time: the monitor
#      asks for the power-off itself (the recorder of SENTINAX_POWEROFF_COMMAND);
#   3. logind refuses: said, and the monitor's own countdown ends in the
#      power-off command after 30 s.
# No step can reach a real power-off: the bus is private and the command a
# recorder.
source "$(dirname "$0")/lib.sh"
: "${FAKE_LOGIND:?FAKE_LOGIND must name the fake logind}"
for tool in dbus-daemon busctl; do command -v $tool >/dev/null || skip "$tool is not installed"; done
prepare_workdir
set_interval 1

start_private_bus system

# start_logind MODE [NAME]: a fake logind recording into $WORK/logind-NAME.txt.
start_logind() {
  local name=${2:-$1}
  "$FAKE_LOGIND" "$WORK/logind-$name.txt" "$1" >"$WORK/fake-$name.out" 2>&1 &
  LOGIND_PID=$!
  APP_PIDS+=("$LOGIND_PID")
  wait_for 10 grep -q ready "$WORK/fake-$name.out" || fail "the fake logind did not start"
}
start_headless() {
  rm -f "$WORK/poweroff.txt"
  (cd "$WORK" && exec "$RUN_DIR/sentinax4" --headless --settings Skins/Skin.ini \
     >"$WORK/app.out" 2>&1) &
  APP_PID=$!
  APP_PIDS+=("$APP_PID")
}
stop_headless() {
  kill -TERM "$APP_PID"
  wait_exit "$APP_PID" 10 || fail "did not end"
}
export HMIO_SCENARIO=$WORK/scenarios/overheat.scenario

# 1. Scheduled, then cancelled with shutdown -c.
start_logind normal
start_headless
wait_for 30 grep -q '^ScheduleShutdown poweroff ' "$WORK/logind-normal.txt" || fail "nothing scheduled"
grep -q 'CPU temperature abnormal: the system powers off at .*scheduled with logind' "$WORK/app.out" ||
  fail "the countdown was not said"
grep -qa 'CPU Temperature WARNING : 110 degrees' "$WORK/log.dat" || fail "no log record"
# What `shutdown -c` asks of logind.
busctl --address="$DBUS_SYSTEM_BUS_ADDRESS" call org.freedesktop.login1 /org/freedesktop/login1 \
  org.freedesktop.login1.Manager CancelScheduledShutdown >/dev/null || fail "cannot cancel"
wait_for 5 grep -q 'the scheduled power-off was cancelled (shutdown -c); monitoring goes on' \
  "$WORK/app.out" || fail "the cancel was not noticed"
reads=$(grep -c '^ValueRAM' "$HMIO_TRACE")
sleep 4
[ "$(grep -c '^ValueRAM' "$HMIO_TRACE")" -gt "$reads" ] || fail "monitoring stopped after the cancel"
[ "$(grep -c '^ScheduleShutdown' "$WORK/logind-normal.txt")" = 1 ] ||
  fail "a new countdown while the CPU stays hot: $(cat "$WORK/logind-normal.txt")"
[ ! -e "$WORK/poweroff.txt" ] || fail "powered off after a cancel"
stop_headless
kill "$LOGIND_PID"

# 2. logind keeps the schedule past its time and the grace: the monitor asks
# itself. (A fake that drops it 500 ms after its time is judged by a 1 s poll:
# the unit test of the adapter covers that with a faster poll.)
start_logind normal expiry
start_headless
wait_for 30 grep -q '^ScheduleShutdown poweroff ' "$WORK/logind-expiry.txt" || fail "nothing scheduled"
scheduled=$SECONDS
wait_for 60 test -s "$WORK/poweroff.txt" || fail "no power-off after logind did not act: $(cat "$WORK/app.out")"
[ $((SECONDS - scheduled)) -ge 40 ] || fail "asked after only $((SECONDS - scheduled)) s"
grep -q 'logind has not powered the system off .* after the scheduled time' "$WORK/app.out" ||
  fail "not said: $(cat "$WORK/app.out")"
stop_headless
kill "$LOGIND_PID"

# 3. logind refuses: said, and the monitor's own 30 s end in the command.
start_logind refuse
start_headless
wait_for 30 grep -q 'the monitor powers the system off itself in ' "$WORK/app.out" ||
  fail "the refusal was not said: $(cat "$WORK/app.out")"
started=$SECONDS
wait_for 40 test -s "$WORK/poweroff.txt" || fail "no power-off after a refusal"
[ $((SECONDS - started)) -ge 27 ] || fail "powered off after only $((SECONDS - started)) s"
stop_headless
echo PASS
