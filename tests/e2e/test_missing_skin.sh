#!/usr/bin/env bash
# A skin file that does not exist: the monitor runs on the shipped settings,
# says once that the file is made at exit, and at exit (here a SIGTERM) the
# file exists, written whole, with the limit the user dragged in it.
source "$(dirname "$0")/lib.sh"
prepare_workdir
rm "$WORK/Skins/Skin.ini"
start_display
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
start_app
wait_for 15 trace_has ValueRAM || fail "no start"
[ "$(grep -c 'created with them at exit' "$WORK/app.out")" = 1 ] || fail "not said once"
wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "no window"
W=$(visible_window_titled "$APP_PID" Sentinax4)
# Drag the 3.3 V upper adjuster (255,170 55x18) to the left, then end.
xdotool mousemove --window "$W" 282 177 mousedown 1
for dx in 5 10 15 20; do xdotool mousemove --window "$W" $((282 - dx)) 177; sleep 0.05; done
xdotool mouseup 1
sleep 0.5
[ -e "$WORK/Skins/Skin.ini" ] && fail "the file was made before the exit"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
[ -f "$WORK/Skins/Skin.ini" ] || fail "no skin file after the exit: $(cat "$WORK/app.out")"
row=$(tr -d '\r' < "$WORK/Skins/Skin.ini" | grep '^13=V33_UPPER_LIMIT,')
pos=${row##*,}
[ -n "$pos" ] && [ "$pos" -lt 50 ] || fail "the dragged limit is not in the file: $row"
grep -q '^Mask=Mask.png' <(tr -d '\r' < "$WORK/Skins/Skin.ini") || fail "the file lacks the shipped skin's rows"
ls -a "$WORK/Skins" | grep -q '\.tmp' && fail "a temporary file was left"

# The next run reads it as its own file: nothing to say, the limit stands.
start_app
wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "no second start"
grep -q 'shipped settings' "$WORK/app.out" && fail "the made file was not used: $(cat "$WORK/app.out")"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "the second run did not end"
echo "PASS"
