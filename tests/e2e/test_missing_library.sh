#!/usr/bin/env bash
# Without the hardware library the program ends at once, silently, with code 0.
source "$(dirname "$0")/lib.sh"
prepare_workdir
start_display
mkdir "$WORK/bin"
cp "$RUN_DIR/sentinax4" "$WORK/bin/"
unset LD_LIBRARY_PATH
(cd "$WORK" && exec "$WORK/bin/sentinax4" >"$WORK/app.out" 2>&1) &
APP_PID=$!
APP_PIDS+=("$APP_PID")
wait_exit "$APP_PID" 10 || fail "the program kept running without its library"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
[ ! -s "$HMIO_TRACE" ] || fail "a hardware call was made"
echo "PASS"
