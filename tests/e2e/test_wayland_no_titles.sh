#!/usr/bin/env bash
# A Wayland compositor that does not tell other programs its windows' titles
# (weston here; GNOME's is the common one): the monitor says once that pausing
# by window title is not available in this session, and goes on monitoring.
source "$(dirname "$0")/lib.sh"
command -v weston >/dev/null || skip "weston is not installed (scripts/deps.sh)"
[ "$(id -u)" = 0 ] || skip "starting weston as another user needs root"
prepare_workdir
set_interval 1
rt=$WORK/wl
mkdir -m 0700 "$rt"
chown nobody:nogroup "$rt"
chmod 0755 "$WORK"
(cd "$rt" && exec env -i PATH="$PATH" HOME="$rt" XDG_RUNTIME_DIR="$rt" \
   setpriv --reuid=nobody --regid=nogroup --clear-groups \
   weston --backend=headless-backend.so --socket=wayland-w --no-config >"$WORK/weston.log" 2>&1) &
APP_PIDS+=("$!")
wait_for 15 test -S "$rt/wayland-w" || { cat "$WORK/weston.log" >&2; skip "weston did not start headless here"; }
export WAYLAND_DISPLAY=$rt/wayland-w
unset DISPLAY
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
QT_QPA_PLATFORM=wayland start_app
wait_for 20 trace_has ValueRAM || fail "no start: $(cat "$WORK/app.out")"
sleep 3
[ "$(grep -c 'pausing by window title is not available in this session' "$WORK/app.out")" = 1 ] ||
  fail "not said once: $(cat "$WORK/app.out")"
reads=$(trace_count ValueRAM)
sleep 2
[ "$(trace_count ValueRAM)" -gt "$reads" ] || fail "monitoring stopped"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "crash"
echo "PASS"
