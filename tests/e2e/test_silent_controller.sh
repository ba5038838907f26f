#!/usr/bin/env bash
# An Intel board whose product string was never programmed ("To be filled by
# O.E.M.") is sent to its embedded controller, which an ordinary process
# cannot reach. The monitor says so once and reads the board's chip instead:
# no phantom 2 degrees, no warning, no power-off request.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
fake_hwmon_tree 0x8086 "To be filled by O.E.M."
# A stand-in for the port device: the library must not touch it without the
# channel map's consent.
mkdir -p "$HMIO_SYSFS_ROOT/dev"
head -c 256 /dev/zero > "$HMIO_SYSFS_ROOT/dev/port"
start_display wm
start_app

wait_for 15 trace_has ValueRAM || fail "the chip is never read"
sleep 6 # several evaluations
[ "$(grep -c 'embedded controller does not answer' "$WORK/app.out")" = 1 ] \
  || fail "no single message about the silent controller"
[ ! -s "$WORK/log.dat" ] || fail "warnings: $(cat "$WORK/log.dat")"
[ ! -e "$WORK/poweroff.txt" ] || fail "a power-off was requested"
cmp -s "$HMIO_SYSFS_ROOT/dev/port" <(head -c 256 /dev/zero) \
  || fail "the controller's ports were driven without the channel map's consent"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
