#!/usr/bin/env bash
# A board nobody wrote wiring rows for, read through libsensors: its +12 V pin
# (1.83 V through a x6.6 divider) taken through the generic x12 reads 21.96 V.
# The monitor shows it, never checks it (no warning, no alarm) and says once
# on stderr why, with the hint to run --sensors; the rails that look right
# are still checked. Runs on the example Ryzen board's tree without its rows.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
source "$here/../hmio/boards/lib.sh"
enter_board_namespace "$@"
board_test_setup
# An empty shipped table: no row for any board.
: > "$WORK/no-rows.table"
export HMIO_BOARD_WIRING=$WORK/no-rows.table
build_board_tree "$here/../hmio/boards/example-ryzen-nct6798.board" "$WORK/tree"
mount_board_tree

prepare_workdir
set_interval 1
start_display
start_app
wait_for 20 trace_has ValueRAM || fail "the monitor never read the sensors"
sleep 6
grep -q '+12 V reads 21.96 V through generic wiring (nct6798-isa-0290 in1).*not checked.*sentinax4 --sensors' \
  "$WORK/app.out" || fail "the guessed +12 V is not said"
[ "$(grep -c '+12 V reads' "$WORK/app.out")" = 1 ] || fail "said more than once"
grep -q 'sentinax4: sensors: 9 values' "$WORK/app.out" || fail "no start-up summary"
[ ! -s "$WORK/log.dat" ] || fail "a warning from the guessed wiring: $(tr -d '\r' < "$WORK/log.dat")"
# A checked rail still warns: the CPU fan stops.
echo 0 > "$BOARD_TREE/class/hwmon/hwmon1/fan2_input"
wait_for 12 grep -qa 'CPU FAN SPEED WARNING : 0 rpm' "$WORK/log.dat" || fail "a checked item no longer warns"
grep -qa '+12V' "$WORK/log.dat" && fail "+12 V was checked: $(tr -d '\r' < "$WORK/log.dat")"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
