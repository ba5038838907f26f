#!/usr/bin/env bash
# The over-temperature protection on fake sysfs trees read through the
# library's hwmon engine (mounted over /sys in a private mount namespace), with
# the shipped limits unless a case sets the user's own:
#   intel-95   coretemp package at 95 C, temp1_crit 100: nothing at all
#   intel-104  coretemp package at 104 C, temp1_crit 100: warning, countdown,
#              one power-off request (a recorder) on "Accept Now"
#   zen4-92    k10temp Tctl at 92 C, a Ryzen 9 7950X (rated 95 by the table): nothing
#   zen1-x     a Ryzen 7 1800X, Tctl 110 C and Tdie 90 C, user limit 75 C: the
#              warning for the die's 90, no countdown (rated 95)
# Exit 77 (skipped) where a private mount namespace cannot be made.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")

if [ -z "${SX_TREE_CASE:-}" ]; then
  unshare --mount --propagation private true 2>/dev/null || {
    echo "SKIP: cannot make a private mount namespace (needs root or user namespaces)"
    exit 77
  }
  for name in intel-95 intel-104 zen4-92 zen1-x; do
    SX_TREE_CASE=$name unshare --mount --propagation private bash "$0" || exit 1
  done
  echo "PASS"
  exit 0
fi

source "$here/../hmio/boards/lib.sh"
board_test_setup

board_tree_begin "$WORK/tree"
case $SX_TREE_CASE in
  intel-*)
    board "Sentinax Test Boards" "TB-Z790 Protection" "1.0"
    host 0x8086
    chip coretemp isa coretemp.0
    attr temp1_label "Package id 0"
    attr temp1_input "${SX_TREE_CASE#intel-}000"
    attr temp1_crit 100000
    attr temp2_label "Core 0"
    attr temp2_input 90000
    attr temp2_crit 100000
    fake_cpuinfo GenuineIntel 6 183 "13th Gen Intel(R) Core(TM) i9-13900K"
    ;;
  zen4-92)
    board "Sentinax Test Boards" "TB-X670 Protection" "1.0"
    chip k10temp pci 0000:00:18.3
    attr temp1_label Tctl
    attr temp1_input 92000
    fake_cpuinfo AuthenticAMD 25 97 "AMD Ryzen 9 7950X 16-Core Processor"
    ;;
  zen1-x)
    board "Sentinax Test Boards" "TB-X370 Protection" "1.0"
    chip k10temp pci 0000:00:18.3
    attr temp1_label Tctl
    attr temp1_input 110000
    attr temp2_label Tdie
    attr temp2_input 90000
    fake_cpuinfo AuthenticAMD 23 1 "AMD Ryzen 7 1800X Eight-Core Processor"
    ;;
esac
mount_board_tree

prepare_workdir
set_interval 1
[ "$SX_TREE_CASE" = zen1-x ] && set_cpu_upper_position 50
start_display
start_app
wait_for 20 trace_has ValueRAM || fail "$SX_TREE_CASE: the monitor never read the sensors"

if [ "$SX_TREE_CASE" = intel-104 ]; then
  wait_for 20 find_dialog "System Protection" || fail "$SX_TREE_CASE: no countdown"
  grep -qa 'CPU Temperature WARNING : 104 degrees' "$WORK/log.dat" || fail "$SX_TREE_CASE: no warning"
  grep -q 'pass 100 °C' "$WORK/app.out" || fail "$SX_TREE_CASE: the crit was not the rating"
  click_at "$(find_dialog "System Protection")" 0.26 0.80 # Accept Now
  wait_for 10 test -s "$WORK/poweroff.txt" || fail "$SX_TREE_CASE: no power-off request"
  sleep 1
  [ "$(wc -l < "$WORK/poweroff.txt")" = 1 ] || fail "$SX_TREE_CASE: more than one request"
else
  # Eight evaluations: a countdown would open by the third.
  while [ "$(trace_count ValueRAM)" -lt 9 ]; do
    find_dialog "System Protection" >/dev/null && fail "$SX_TREE_CASE: a countdown opened"
    kill -0 "$APP_PID" 2>/dev/null || fail "$SX_TREE_CASE: the monitor ended"
    sleep 0.2
  done
  [ ! -e "$WORK/poweroff.txt" ] || fail "$SX_TREE_CASE: power-off requested"
  if [ "$SX_TREE_CASE" = zen1-x ]; then
    grep -qa 'CPU Temperature WARNING : 90 degrees' "$WORK/log.dat" ||
      fail "$SX_TREE_CASE: no warning for the die's 90 degrees"
  else
    [ "$(log_records)" = 0 ] || fail "$SX_TREE_CASE: warned: $(tr -d '\r' < "$WORK/log.dat")"
  fi
fi
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "$SX_TREE_CASE: did not end"
echo "ok: $SX_TREE_CASE"
