#!/usr/bin/env bash
# Under a wlroots compositor (sway) a native Wayland window titled exactly
# "Configuration" pauses monitoring, as an X11 window does: the compositor's
# list of top-level windows is read through its foreign-toplevel protocol.
# "Configuration - x" does not pause it. A compositor that offers no such list
# is said once.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_sway
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
QT_QPA_PLATFORM=wayland start_app
wait_for 20 trace_has ValueRAM || fail "no start"
grep -q 'pausing by window title' "$WORK/app.out" && fail "sway offers the list, but: $(cat "$WORK/app.out")"
sleep 2

QT_QPA_PLATFORM=wayland "$QT_TITLED_WINDOW" "Configuration" >/dev/null 2>&1 &
PAUSER=$!
APP_PIDS+=("$PAUSER")
wait_for 10 sway_window_rect Configuration || fail "the pausing window did not appear"
sleep 1.5
reads=$(trace_count ValueRAM)
sleep 3
[ "$(trace_count ValueRAM)" = "$reads" ] || fail "the hardware was read while a native Configuration window was open"
kill "$PAUSER"
wait "$PAUSER" 2>/dev/null || true
sleep 1.5
reads=$(trace_count ValueRAM)
sleep 2.5
[ "$(trace_count ValueRAM)" -gt "$reads" ] || fail "monitoring did not resume after the window closed"

QT_QPA_PLATFORM=wayland "$QT_TITLED_WINDOW" "Configuration - x" >/dev/null 2>&1 &
OTHER=$!
APP_PIDS+=("$OTHER")
wait_for 10 sway_window_rect "Configuration - x" || fail "the other window did not appear"
sleep 1
reads=$(trace_count ValueRAM)
sleep 2.5
[ "$(trace_count ValueRAM)" -gt "$reads" ] || fail "a longer title paused monitoring"
kill "$OTHER"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
