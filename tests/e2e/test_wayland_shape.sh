#!/usr/bin/env bash
# The face's cut-out corners under a Wayland compositor (sway, headless): as a
# native Wayland window and as an X11 window through XWayland, the pixels
# outside the skin's rounded outline show the desktop behind the window, not
# black, while the face itself is drawn. SCREENSHOTS=DIR keeps the pictures
# (the window and its top-left corner).
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_sway
command -v grim >/dev/null || skip "grim is not installed (scripts/deps.sh)"
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario

# shot MODE: starts the monitor on Qt's MODE platform, photographs its window
# and checks the four corners against the desktop beside the window.
shot() {
  local mode=$1 rect x y w h
  QT_QPA_PLATFORM=$mode start_app
  wait_for 20 sway_window_rect Sentinax4 || fail "$mode: no window on the desktop"
  # The first readings (the window stays up: no tray to hide to).
  : > "$HMIO_TRACE"
  wait_for 20 trace_has ValueRAM || fail "$mode: no readings"
  sleep 1
  rect=$(sway_window_rect Sentinax4) || fail "$mode: the window went away without a tray"
  read -r x y w h <<<"$rect"
  [ "$w" = 560 ] && [ "$h" = 430 ] || fail "$mode: window is ${w}x$h"
  grim -g "$((x - 20)),$((y - 20)) $((w + 40))x$((h + 40))" "$WORK/$mode.png" ||
    fail "$mode: grim failed"
  # Window corners at (20,20)+(1,1) etc. in the picture; the desktop at (5,5).
  local desktop corners centre
  desktop=$("$PIXEL_TOOL" "$WORK/$mode.png" 5 5)
  corners=$("$PIXEL_TOOL" "$WORK/$mode.png" 21 21 $((w + 18)) 21 21 $((h + 18)) $((w + 18)) $((h + 18)) | sort -u)
  centre=$("$PIXEL_TOOL" "$WORK/$mode.png" $((w / 2 + 20)) $((h / 2 + 20)))
  [ "$corners" = "$desktop" ] || fail "$mode: corners show '$corners', the desktop is '$desktop'"
  [ "$desktop" != "0 0 0" ] || fail "$mode: the desktop itself is black: nothing to tell apart"
  [ "$centre" != "$desktop" ] || fail "$mode: no face drawn"
  if [ -n "${SCREENSHOTS:-}" ]; then
    cp "$WORK/$mode.png" "$SCREENSHOTS/window-$2.png"
    grim -g "$((x - 20)),$((y - 20)) 160x110" "$SCREENSHOTS/corner-$2.png"
  fi
  kill -TERM "$APP_PID"
  wait_exit "$APP_PID" 10 || fail "$mode: did not end"
  grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "$mode: crash"
  return 0
}

shot wayland wayland-native
shot xcb xwayland
echo "PASS"
