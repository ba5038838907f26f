#!/usr/bin/env bash
# sentinax4 --clear-intrusion resets the chassis latch through the hardware
# library with no display at all, and says what it found: on a fake sysfs tree
# (the latch file is written back to 0), to the journal with its priority when
# standard error is the journal's stream, and as a failure when the latch
# cannot be cleared (the simulator's latch that ignores the reset).
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
prepare_workdir

fake_hwmon_tree 0x1022 "KX-7045 Case"
latch=$WORK/root/sys/class/hwmon/hwmon2/intrusion0_alarm
echo 1 > "$latch"
(cd "$WORK" && "$RUN_DIR/sentinax4" --clear-intrusion) >"$WORK/out" 2>"$WORK/err" ||
  fail "exit status $?: $(cat "$WORK/err")"
[ "$(cat "$latch")" = 0 ] || fail "the latch file holds $(cat "$latch")"
grep -qx 'sentinax4: the chassis-intrusion latch was set: it is cleared now' "$WORK/err" ||
  fail "message: $(cat "$WORK/err")"
[ ! -s "$WORK/out" ] || fail "standard output: $(cat "$WORK/out")"

# Under systemd: standard error is the journal's stream, each line filed as notice.
: > "$WORK/journal"
JOURNAL_STREAM=$(stat -c '%d:%i' "$WORK/journal") \
  "$RUN_DIR/sentinax4" --clear-intrusion 2>>"$WORK/journal" >/dev/null || fail "second run failed"
grep -qx '<5>sentinax4: the chassis-intrusion latch was not set (it is reset all the same)' \
  "$WORK/journal" || fail "journal line: $(cat -A "$WORK/journal")"

# A latch that stays set: said at error priority, status 1, the reset was tried.
printf 'manufacturer Korvane\nproduct KX-7045 Case\nversion 1.0\nvendor 0x1022\nload 1\n' \
  > "$WORK/stuck.scenario"
printf 'chassis 1\nchassis-clear ignored\n' >> "$WORK/stuck.scenario"
unset HMIO_SYSFS_ROOT
status=0
HMIO_SCENARIO=$WORK/stuck.scenario "$RUN_DIR/sentinax4" --clear-intrusion 2>"$WORK/err" || status=$?
[ "$status" = 1 ] || fail "status $status for a latch that stays set"
grep -q '^sentinax4: the chassis-intrusion latch is still set after the reset' "$WORK/err" ||
  fail "message: $(cat "$WORK/err")"
trace_has ChassisClear || fail "the library was not asked to clear it"
[ ! -e "$WORK/poweroff.txt" ] || fail "power-off requested"
echo "PASS"
