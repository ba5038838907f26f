#!/usr/bin/env bash
# On an Intel host the CPU fan is delivered where the board's profile looks for
# it: when it slows to 300 rpm while the auxiliary fan runs on, the log names
# the CPU fan with its own speed.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
fake_hwmon_tree 0x8086 "KX-4100 Intel"
start_display wm
start_app

wait_for 15 trace_has ValueRAM || fail "the chip is never read"
sleep 2
echo 300 > "$HMIO_SYSFS_ROOT/sys/class/hwmon/hwmon2/fan2_input"
wait_for 15 test -s "$WORK/log.dat" || fail "no warning record"
sleep 1
LC_ALL=C grep -qaP ' CPU FAN SPEED WARNING : 300 rpm \r$' "$WORK/log.dat" \
  || fail "record: $(cat "$WORK/log.dat")"
grep -qa 'SYS FAN\|PS FAN' "$WORK/log.dat" && fail "another fan warned: $(cat "$WORK/log.dat")"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
