#!/usr/bin/env bash
# The face's cut-out corners on X11 with and without a compositing manager:
# without one the window is X-shaped; with one (picom or xcompmgr, started and
# stopped while the monitor runs) the compositor blends the window and the
# corners still show the desktop (the root window's colour), never black.
# Without a compositor the window is opaque (24 bits: cheaper for the X
# server); a compositor that starts makes it anew with alpha (32 bits).
# SCREENSHOTS=DIR keeps the pictures (the window and its top-left corner).
source "$(dirname "$0")/lib.sh"
COMPOSITOR=""
if command -v picom >/dev/null; then COMPOSITOR="picom --backend xrender --no-fading-openclose --shadow-radius 0 --no-vsync"
elif command -v xcompmgr >/dev/null; then COMPOSITOR="xcompmgr"
else skip "no compositing manager installed (picom or xcompmgr, scripts/deps.sh)"; fi
prepare_workdir
start_display
# A desktop colour that is neither black nor in the face.
xsetroot -solid '#3a6ea5' || fail "xsetroot"
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
# No tray: the window stays on the screen after the first tick (minimised
# without a window manager means nothing happens to it).
start_app
wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "no window"
W=$(visible_window_titled "$APP_PID" Sentinax4)
sleep 1

# corners NAME: the four corner pixels of the window against the desktop.
corners() {
  local geo x y
  geo=$(xdotool getwindowgeometry --shell "$W")
  x=$(echo "$geo" | sed -n 's/^X=//p'); y=$(echo "$geo" | sed -n 's/^Y=//p')
  # Xvfb keeps its screen in a file; a cut around the window as PNG.
  "$SCREEN_TOOL" "$WORK/Xvfb_screen0" "$WORK/$1.png" $((x - 10)) $((y - 10)) 580 450 >/dev/null ||
    fail "$1: no screenshot"
  local desktop got centre
  desktop=$("$PIXEL_TOOL" "$WORK/$1.png" 3 3)
  got=$("$PIXEL_TOOL" "$WORK/$1.png" 11 11 568 11 11 438 568 438 | sort -u)
  centre=$("$PIXEL_TOOL" "$WORK/$1.png" 290 225)
  [ "$got" = "$desktop" ] || fail "$1: corners show '$got', the desktop is '$desktop'"
  [ "$desktop" != "0 0 0" ] || fail "$1: the desktop is black: nothing to tell apart"
  [ "$centre" != "$desktop" ] || fail "$1: no face drawn"
  if [ -n "${SCREENSHOTS:-}" ]; then
    cp "$WORK/$1.png" "$SCREENSHOTS/window-$1.png"
    "$SCREEN_TOOL" "$WORK/Xvfb_screen0" "$SCREENSHOTS/corner-$1.png" $((x - 20)) $((y - 20)) 160 110 >/dev/null
  fi
  return 0
}

corners x11-plain
[ "$(xwininfo -id "$W" | sed -n 's/^ *Depth: //p')" = 24 ] || fail "an opaque window was expected without a compositor"
$COMPOSITOR >"$WORK/compositor.log" 2>&1 &
COMP_PID=$!
APP_PIDS+=("$COMP_PID")
sleep 2
kill -0 "$COMP_PID" 2>/dev/null || { cat "$WORK/compositor.log" >&2; skip "the compositing manager does not run on this X server"; }
# The window is made anew with alpha: it has a new id, at the same place.
wait_for 10 visible_window_titled "$APP_PID" Sentinax4 || fail "the window did not come back with the compositor"
W=$(visible_window_titled "$APP_PID" Sentinax4)
[ "$(xwininfo -id "$W" | sed -n 's/^ *Depth: //p')" = 32 ] || fail "the window has no alpha under the compositor"
corners x11-composited
kill "$COMP_PID"
wait "$COMP_PID" 2>/dev/null || true
sleep 1
corners x11-after-compositor
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "crash: $(cat "$WORK/app.out")"
echo "PASS"
