#!/usr/bin/env bash
# A per-user folder that cannot be made (a file where ~/.local/share should
# be), started from a folder without skins: the monitor never takes the start
# folder as its working folder. It says where it works and that its files are
# not written in this run, still monitors and warns, and leaves the start
# folder (and "/") as they were.
source "$(dirname "$0")/lib.sh"
prepare_workdir
export HOME=$WORK/home XDG_DATA_HOME=""
mkdir -p "$HOME/.local" "$WORK/start"
echo "not a folder" > "$HOME/.local/share"
had_log=no; [ -e /log.dat ] && had_log=yes
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario
(cd "$WORK/start" && exec "$RUN_DIR/sentinax4" >"$WORK/app.out" 2>&1) &
APP_PID=$!
APP_PIDS+=("$APP_PID")

wait_for 15 trace_has ValueRAM || fail "no readings"
grep -q "working folder / (the per-user folder $HOME/.local/share/sentinax cannot be used: $HOME/.local/share is a regular file, not a folder; .* not written in this run)" \
  "$WORK/app.out" || fail "the working folder was not explained"
wait_for 40 grep -q 'cannot write the warning log log.dat: nothing is written into the working folder in this run' \
  "$WORK/app.out" || fail "the lost warning record was not said"
wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "the warning did not bring the window back"
ticks=$(trace_count ValueRAM)
sleep 4
[ "$(trace_count ValueRAM)" -gt "$ticks" ] || fail "monitoring stopped"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ -z "$(ls -A "$WORK/start")" ] || fail "files in the start folder: $(ls -A "$WORK/start")"
[ "$had_log" = yes ] || [ ! -e /log.dat ] || fail "log.dat was written into /"
[ -f "$HOME/.local/share" ] || fail "the file in the way was replaced"
echo "PASS"
