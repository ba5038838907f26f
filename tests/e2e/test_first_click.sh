#!/usr/bin/env bash
# Every click counts: after a dialog or menu that a face button opened has
# closed (the About box, the Options menu), the very first click on a face
# button runs its command. Three dialogs, each followed by one click on the
# unit button: three toggles, so the saved unit is the other one.
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
grep -q '^Celsius=1' <(tr -d '\r' < "$WORK/Skins/Skin.ini") || fail "the shipped skin is not in Celsius"
start_app
wait_for 15 trace_has ValueRAM || fail "no readings"
main_window() {
  local w
  for w in $(windows_of "$APP_PID"); do
    [ "$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')" = 560 ] && { echo "$w"; return 0; }
  done
  return 1
}
tray_icon() {
  local w width
  for w in $(windows_of "$APP_PID" visible); do
    width=$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')
    [ "$width" -le 48 ] && [ "$width" -gt 1 ] && { echo "$w"; return 0; }
  done
  return 1
}
W=$(main_window) || fail "no window"
wait_for 10 tray_icon || fail "no tray icon"
wait_for 10 bash -c "! xdotool search --onlyvisible --pid $APP_PID --name '^Sentinax4\$' | grep -qx $W" ||
  fail "the window did not hide to the tray"
for _ in 1 2 3 4 5; do
  xdotool search --onlyvisible --pid "$APP_PID" --name '^Sentinax4$' | grep -qx "$W" && break
  xdotool mousemove --window "$(tray_icon)" 8 8 click --repeat 2 --delay 80 1
  sleep 1
done
xdotool search --onlyvisible --pid "$APP_PID" --name '^Sentinax4$' | grep -qx "$W" || fail "not restored"
dialog_open() { [ "$(windows_of "$APP_PID" visible | grep -vx "$W" | grep -vx "$(tray_icon)" | wc -l)" -gt 0 ]; }
unit_click() { xdotool mousemove --window "$W" 46 71 click 1; sleep 0.7; }

# The About box (BUTTON_HELP 478,8 22x20), closed with Escape.
xdotool mousemove --window "$W" 489 18 click 1
wait_for 5 visible_window_titled "$APP_PID" "About Sentinax 4" || fail "no About box"
xdotool key Escape
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^About Sentinax 4\$' >/dev/null" || fail "About did not close"
unit_click
# The Options menu (BUTTON_MENU 454,8 22x20), closed with Escape.
xdotool mousemove --window "$W" 465 18 click 1
wait_for 5 dialog_open || fail "no Options menu"
sleep 0.3
xdotool key Escape
sleep 0.8
dialog_open && fail "the menu did not close"
unit_click
# The About box again, then the unit button once more.
xdotool mousemove --window "$W" 489 18 click 1
wait_for 5 visible_window_titled "$APP_PID" "About Sentinax 4" || fail "no second About box"
xdotool key Escape
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^About Sentinax 4\$' >/dev/null" || fail "About did not close"
unit_click

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
saved=$(tr -d '\r' < "$WORK/Skins/Skin.ini" | grep '^Celsius=')
[ "$saved" = "Celsius=0" ] || fail "three first clicks after dialogs should toggle the unit three times: $saved"
echo "PASS"
