#!/usr/bin/env bash
# A sensor chip goes away under the running monitor (its hwmon folder removed,
# as a driver unload does) and comes back with the CPU at 110 C (past the
# shipped limit of 101 C, which a CPU working at 95-100 C stays within): while it is
# gone the CPU temperature has no reading and the monitor says so; once back
# it is read through libsensors again and the hot CPU gives its warning and
# the protection dialog within three evaluations. Runs on the example Ryzen
# board's tree mounted over /sys in a private mount namespace.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/../hmio/boards/lib.sh"
enter_board_namespace "$@"
board_test_setup
use_example_wiring
build_board_tree "$here/../hmio/boards/example-ryzen-nct6798.board" "$WORK/tree"
mount_board_tree

prepare_workdir
set_interval 1
start_display wm
start_app
wait_for 20 trace_has ValueRAM || fail "the monitor never read the sensors"
sleep 2
k10=$BOARD_TREE/class/hwmon/hwmon0
grep -q k10temp "$k10/name" || fail "the tree's first chip is not k10temp"
saved=$WORK/k10-saved
cp -a "$k10" "$saved"
rm -rf "$k10"
wait_for 10 grep -q 'no reading from CPU temperature (k10temp-pci-00c3 temp2)' "$WORK/app.out" ||
  fail "the lost CPU temperature is not said"
sleep 3
[ ! -s "$WORK/log.dat" ] || fail "a warning while the chip was gone: $(cat "$WORK/log.dat")"

cp -a "$saved" "$k10"
echo 130000 > "$k10/temp1_input"
echo 110000 > "$k10/temp2_input"
wait_for 12 grep -qa 'CPU Temperature WARNING : 110 degrees' "$WORK/log.dat" ||
  fail "no warning for the hot CPU after the chip came back"
grep -q 'CPU temperature (k10temp-pci-00c3 temp2) read again' "$WORK/app.out" ||
  fail "the return is not said"
wait_for 10 find_dialog "System Protection" || fail "no System Protection dialog"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
[ ! -e "$WORK/poweroff.txt" ] || fail "a power-off was requested"
echo "PASS"
