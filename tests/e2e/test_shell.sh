#!/usr/bin/env bash
# What a user does from the tray and the face under a desktop with a tray
# (jwm): a double-click on the tray icon brings the hidden window back; the
# unit button switches to Fahrenheit; Options > Settings sets a 30 s interval
# (sampling visibly slows down); the tray menu's Exit ends the monitor, which
# saves exactly the interval and the unit.
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
cp "$WORK/Skins/Skin.ini" "$WORK/before.ini" # interval 3 s
start_app

# The window hides to the tray on the first tick; its tray icon is the small one.
wait_for 15 trace_has ValueRAM || fail "no readings"
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Sentinax4\$' >/dev/null" \
  || fail "the window did not hide to the tray"
tray_icon() {
  local w
  for w in $(windows_of "$APP_PID" visible); do
    [ "$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')" -le 48 ] && { echo "$w"; return 0; }
  done
  return 1
}
wait_for 10 tray_icon || fail "no tray icon"
T=$(tray_icon)
xdotool mousemove --window "$T" 8 8 click --repeat 2 --delay 80 1
wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "double-click did not restore the window"
W=$(visible_window_titled "$APP_PID" Sentinax4)

# The unit button (BUTTON_TEMP 14,60 64x22), then the menu button (454,8 22x20).
xdotool mousemove --window "$W" 46 71 click 1
sleep 0.3
xdotool mousemove --window "$W" 465 18 click 1
menu_window() {
  local w
  for w in $(windows_of "$APP_PID" visible); do
    [ "$w" != "$W" ] && [ "$w" != "$T" ] && { echo "$w"; return 0; }
  done
  return 1
}
wait_for 5 menu_window || fail "no Options menu"
sleep 0.3
xdotool key t # Se&ttings (the open menu holds the keyboard)
wait_for 5 visible_window_titled "$APP_PID" Settings || fail "no Settings dialog"
S=$(visible_window_titled "$APP_PID" Settings)
xdotool windowactivate --sync "$S" 2>/dev/null || true
sleep 0.3
# The slider has the focus first; Tab to the number field, then type.
xdotool key Tab ctrl+a
xdotool type --delay 80 30
sleep 0.3
xdotool key Return
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Settings\$' >/dev/null" || fail "Settings did not close"

# Every 3 s before, every 30 s now: no reading in the next 8 s.
sleep 1
before=$(trace_count ValueRAM)
sleep 8
[ "$(trace_count ValueRAM)" = "$before" ] || fail "the interval did not change"

# The tray menu: right-click, then its second entry, Exit.
xdotool mousemove --window "$T" 8 8 click 3
wait_for 5 menu_window || fail "no tray menu"
M=$(menu_window)
H=$(xdotool getwindowgeometry --shell "$M" | sed -n 's/^HEIGHT=//p')
xdotool mousemove --window "$M" 30 $((H * 3 / 4)) click 1
wait_exit "$APP_PID" 10 || fail "the tray menu's Exit did not end the monitor"
[ "$(trace_count UnloadNTHMIO)" = 1 ] || fail "clean-up did not run once"
grep -q 'malloc\|double free\|Aborted' "$WORK/app.out" && fail "crash: $(cat "$WORK/app.out")"
changed=$({ diff "$WORK/before.ini" "$WORK/Skins/Skin.ini" || true; } | grep '^>' | tr -d '\r' | sort | tr '\n' ' ')
[ "$changed" = "> Celsius=0 > IntervalTime=30 " ] || fail "saved: $changed"
echo "PASS"
