#!/usr/bin/env bash
# The countdown is the top window over the monitor's own window: on a bare X
# server (nothing but the order of raising decides there) and under a window
# manager with a tray (jwm), where the window was hidden to the tray when the
# countdown opened and the warning then brings it back while the countdown
# runs.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
load_scenario hot "45*3 110"

# check_on_top WHAT: the countdown is shown and above the main window, also
# after a few more warning ticks have raised the main window.
check_on_top() {
  local what=$1 dialog main
  wait_for 20 find_dialog "System Protection" || fail "$what: no countdown"
  dialog=$(find_dialog "System Protection")
  wait_for 10 visible_window_titled "$APP_PID" Sentinax4 || fail "$what: the warning did not show the window"
  sleep 3 # warning ticks raise the main window again and again
  main=$(visible_window_titled "$APP_PID" Sentinax4)
  find_dialog "System Protection" >/dev/null || fail "$what: the countdown is not visible"
  "$STACK_TOOL" "$dialog" "$main" || fail "$what: the countdown is below the main window"
  kill -TERM "$APP_PID"
  wait_exit "$APP_PID" 10 || fail "$what: did not end"
  [ ! -e "$WORK/poweroff.txt" ] || fail "$what: power-off requested"
  echo "ok: $what"
}

start_display
start_app
check_on_top "bare X server"
stop_display

start_display wm
rm -f "$HMIO_TRACE"
start_app
wait_for 20 trace_has ValueRAM || fail "no readings" # the first tick hides the window
wait_for 15 bash -c "! xdotool search --onlyvisible --name '^Sentinax4\$' >/dev/null" ||
  fail "the window did not hide to the tray"
check_on_top "window manager, window hidden to the tray"
echo "PASS"
