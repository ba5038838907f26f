#!/usr/bin/env bash
# A skin file that cannot be used (here: binary junk) does not disarm the
# monitor: it runs on the shipped settings (alarm on, sane limits), says so
# once, warns about a rail that is out of range, and leaves the file exactly as
# it was, even after a limit was moved.
source "$(dirname "$0")/lib.sh"
prepare_workdir
head -c 4096 /dev/urandom > "$WORK/Skins/Skin.ini"
cp "$WORK/Skins/Skin.ini" "$WORK/junk.bin"
start_display
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario
start_app
wait_for 30 test -s "$WORK/log.dat" || fail "no warning: the monitor was disarmed"
LC_ALL=C grep -qa 'CPU CORE VOLTAGE WARNING : 2\.10 v' "$WORK/log.dat" || fail "record: $(cat "$WORK/log.dat")"
[ "$(grep -c 'shipped settings are used' "$WORK/app.out")" = 1 ] || fail "no single message"
wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "no window"
W=$(visible_window_titled "$APP_PID" Sentinax4)
# Move the 3.3 V upper adjuster (255,170 55x18) a little, then end.
xdotool mousemove --window "$W" 282 177 mousedown 1 mousemove --window "$W" 262 177 mouseup 1
sleep 0.5
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
cmp -s "$WORK/junk.bin" "$WORK/Skins/Skin.ini" || fail "the skin file was changed"
grep -q 'settings not saved' "$WORK/app.out" || fail "the unsaved change was not reported"
echo "PASS"
