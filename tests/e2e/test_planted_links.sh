#!/usr/bin/env bash
# Links planted where the monitor writes: the metrics file, log.dat,
# WMIinfo.txt and the skin file (a link leading out of the working folder).
# The monitor monitors and warns as always, writes through none of them, says
# why for each, and every target keeps its bytes, mode, owner and time.
source "$(dirname "$0")/lib.sh"
prepare_workdir
RUN=$WORK/work
OUT=$WORK/outside
mkdir -p "$RUN" "$OUT" "$WORK/metrics"
mv "$WORK/Skins" "$WORK"/*.table "$WORK"/*.map "$RUN/"
sed -i "s/^IntervalTime=.*/IntervalTime=1\r/" "$RUN/Skins/Skin.ini"
mv "$RUN/Skins/Skin.ini" "$OUT/Skin.ini"
chmod 0640 "$OUT/Skin.ini"
for t in root-only log-target wmi-target; do printf 'precious %s\n' "$t" > "$OUT/$t"; chmod 0600 "$OUT/$t"; done
ln -s "$OUT/Skin.ini" "$RUN/Skins/Skin.ini"
ln -s "$OUT/root-only" "$WORK/metrics/sentinax.prom"
ln -s ../outside/log-target "$RUN/log.dat"
ln -s ../outside/wmi-target "$RUN/WMIinfo.txt"
state() { for f in "$OUT"/*; do stat -c '%n %s %a %u %g %Y' "$f"; sha256sum "$f"; done; }
state > "$WORK/before.txt"

start_display wm
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario
(cd "$RUN" && exec "$RUN_DIR/sentinax4" --metrics-dir "$WORK/metrics" >"$WORK/app.out" 2>&1) &
APP_PID=$!
APP_PIDS+=("$APP_PID")

said() { grep -qF "$1" "$WORK/app.out"; }
wait_for 20 said 'cannot write the warning log log.dat: is a symbolic link' || fail "log.dat not reported"
said "$WORK/metrics/sentinax.prom: cannot write the readings for Prometheus: is a symbolic link; it is not followed" \
  || fail "the metrics link not reported"
wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "the warning did not bring the window back"
W=$(visible_window_titled "$APP_PID" Sentinax4)

# A changed setting (the unit button, BUTTON_TEMP 14,60 64x22) to be saved at exit.
xdotool mousemove --window "$W" 46 71 click 1
sleep 0.3
# Options (454,8 22x20) > WMI info.
xdotool mousemove --window "$W" 465 18 click 1
sleep 0.5
xdotool key w
wait_for 60 visible_window_titled "$APP_PID" "WMI information" || fail "no inventory dialog"
said 'cannot write the inventory file WMIinfo.txt: is a symbolic link' || fail "WMIinfo.txt not reported"
[ "$(grep -c 'cannot write the inventory file' "$WORK/app.out")" = 1 ] || fail "WMIinfo.txt said more than once"
press_key "$(visible_window_titled "$APP_PID" "WMI information")" Escape

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
said "cannot save settings to Skins/Skin.ini: is a symbolic link to $OUT/Skin.ini, outside the working folder; it is not followed" \
  || fail "the refused save was not said"
[ "$(grep -c 'cannot save settings' "$WORK/app.out")" = 1 ] || fail "the refused save was said more than once"
state > "$WORK/after.txt"
diff "$WORK/before.txt" "$WORK/after.txt" || fail "a link's target changed"
for l in "$RUN/Skins/Skin.ini" "$WORK/metrics/sentinax.prom" "$RUN/log.dat" "$RUN/WMIinfo.txt"; do
  [ -L "$l" ] || fail "$l is no longer the planted link"
done
[ "$(ls -A "$WORK/metrics")" = sentinax.prom ] || fail "left in the metrics folder: $(ls -A "$WORK/metrics")"
[ -z "$(ls -A "$RUN/Skins" | grep '\.tmp')" ] || fail "temporary files left"
echo "PASS"
