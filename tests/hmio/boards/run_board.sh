#!/usr/bin/env bash
# One board, end to end: builds its fake sysfs tree, mounts it over /sys in a
# private mount namespace, and checks, without and then with the board's
# lm-sensors configuration, that `sentinax4 --sensors` reads every expected
# item within 2 % of its true value and that the monitor, run for a few
# evaluations, writes nothing to log.dat.
# Usage: run_board.sh FILE.board   (RUN_DIR: the build's run folder)
# Exit 77 (skipped) where a private mount namespace cannot be made.
set -uo pipefail
board_file=$(readlink -f "$1")
source "$(dirname "$(readlink -f "$0")")/lib.sh"
enter_board_namespace "$@"
board_test_setup
# Example boards take their wiring rows from the example table, as a user's
# own rows; every other board from the shipped table.
use_example_wiring

build_board_tree "$board_file" "$WORK/tree" || fail "the board file cannot be read"
mount_board_tree

status=0
for variant in without-conf with-conf; do
  if [ $variant = with-conf ]; then
    [ -n "$BOARD_CONF" ] || continue
    printf '%s\n' "$BOARD_CONF" > /etc/sensors.d/board.conf
  fi
  "$RUN_DIR/sentinax4" --sensors > "$WORK/report-$variant.txt" 2> "$WORK/notices-$variant.txt" ||
    fail "--sensors failed ($variant): $(cat "$WORK/notices-$variant.txt")"
  if ! check_report "$WORK/report-$variant.txt" > "$WORK/mismatch.txt"; then
    echo "FAIL ($variant): $(basename "$board_file")"
    cat "$WORK/mismatch.txt"
    echo "--- report:"
    cat "$WORK/report-$variant.txt"
    cat "$WORK/notices-$variant.txt"
    status=1
  fi
done
[ $status = 0 ] || exit 1
# SX_BOARD_REPORT_ONLY=1: the reports only (a quick look at many boards).
[ -z "${SX_BOARD_REPORT_ONLY:-}" ] || { echo "PASS (reports) $(basename "$board_file")"; exit 0; }

# The monitor itself, a few evaluations: no warning on a healthy board.
prepare_workdir
set_interval 1
start_display
start_app
wait_for 20 trace_has ValueRAM || fail "the monitor never read the sensors"
sleep 5
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "the monitor did not end"
if [ -s "$WORK/log.dat" ]; then
  echo "FAIL: warnings on a healthy board:"
  tr -d '\r' < "$WORK/log.dat"
  echo "--- report:"
  cat "$WORK/report-without-conf.txt"
  exit 1
fi
echo "PASS $(basename "$board_file")"
