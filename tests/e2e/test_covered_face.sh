#!/usr/bin/env bash
# A face that nobody can see costs nothing: the monitor is brought back from
# its tray icon, then another window is put over its whole face. While covered,
# the picture draws no frame and the window paints nothing at all, yet the
# sensors are read every second; uncovered, the face is painted at once and
# the picture turns again. Frames are counted through Qt's own painting log.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
fake_hwmon_tree 0x8086 "KX-4100 Intel"
start_display
# A tray host without a window manager: the face stays where it is put and
# the covering window goes exactly over it.
trayer --edge bottom --align right --widthtype request >/dev/null 2>&1 &
APP_PIDS+=($!)
export QT_LOGGING_RULES="qt.widgets.painting=true"
start_app

face() { visible_window_titled "$APP_PID" Sentinax4; }
icon() {
  local w
  for w in $(windows_of "$APP_PID" visible); do
    xdotool getwindowgeometry "$w" | grep -qE 'Geometry: [0-9]{1,2}x[0-9]{1,2}$' &&
      { echo "$w"; return 0; }
  done
  return 1
}
hidden() { ! face >/dev/null && icon >/dev/null; }
# The first tick hides the window and then reads the sensors; before it, the
# window may not be mapped yet, which is not hidden.
wait_for 20 trace_has ValueRAM || fail "no readings"
wait_for 20 hidden || fail "the window was not hidden to the tray"
xdotool mousemove --window "$(icon)" 5 5 click --repeat 2 --delay 60 1
wait_for 10 face || fail "the tray icon did not bring the window back"
xdotool mousemove 0 0
FACE=$(face)

# What Qt painted so far: frames of the picture, and paints of anything on
# the face (the tray icon is a window of its own).
PAINTING=qt.widgets.painting
frames() { grep -c "^$PAINTING: Drawing .*name=\"picture\"" "$WORK/app.out" || true; }
face_paints() { grep "^$PAINTING: Drawing " "$WORK/app.out" | grep -v QSystemTrayIcon || true; }
paints() { face_paints | wc -l; }
# turning: five more frames of the picture come.
turning() {
  local until=$(($(frames) + 5))
  wait_for 10 bash -c "[ \$(grep -c '^$PAINTING: Drawing .*name=\"picture\"' '$WORK/app.out') -ge $until ]"
}
turning || fail "the shown picture does not turn"

eval "$(xdotool getwindowgeometry --shell "$FACE")"
"$TITLED_WINDOW" cover >"$WORK/cover.id" &
APP_PIDS+=($!)
wait_for 5 test -s "$WORK/cover.id" || fail "no covering window"
COVER=$(cat "$WORK/cover.id")
xdotool windowsize "$COVER" $((WIDTH + 20)) $((HEIGHT + 20)) windowmove "$COVER" $((X - 10)) $((Y - 10))

# Settled once nothing has been painted for a second (what was on its way
# when the cover came may still land).
still() {
  local before=$(paints)
  sleep 1
  [ "$(paints)" = "$before" ]
}
wait_for 10 still || fail "the covered face is still painted ($(paints) paints)"
covered_paints=$(paints)
covered_frames=$(frames)
reads=$(trace_count ValueRAM)
sleep 3
[ "$(paints)" = "$covered_paints" ] ||
  fail "painted while covered: $covered_paints -> $(paints) paints, $covered_frames -> $(frames) frames"
[ "$(trace_count ValueRAM)" -ge $((reads + 2)) ] ||
  fail "sampling stopped while covered: $reads -> $(trace_count ValueRAM) reads"
# (Asked again for a while: a search that meets a window going away fails once.)
wait_for 5 face || fail "the covered face was hidden"

xdotool windowunmap "$COVER"
turning || fail "the picture does not turn again once uncovered"
# The whole face is painted again at once (the readouts as they are now).
# (Taken whole first: grep -q leaving a pipe early would fail the pipeline.)
since=$(face_paints | tail -n +$((covered_paints + 1)))
grep -q "Drawing QRegion(.*bounds=(0,0 ${WIDTH}x${HEIGHT}).* of sentinax::CMainDialog" <<<"$since" ||
  fail "the face was not painted again when uncovered"

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "SIGTERM did not end the program"
echo "PASS"
