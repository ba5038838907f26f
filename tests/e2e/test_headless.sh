#!/usr/bin/env bash
# sentinax4 --headless against the window on the same boards: the simulator
# (a Vcore that leaves its range and comes back, so log.dat gets several
# episodes) and a fake sysfs tree with a CPU fan below its limit. Each board
# runs the window (private Xvfb) and then the run without a display for the
# same number of library reads; log.dat, timestamps masked, must be the same
# bytes. The run without a display loads no Qt GUI library, publishes the
# shared block and the readings for Prometheus, says what it decided on
# standard error and ends cleanly on SIGTERM, withdrawing the block.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display

cat > "$WORK/scenarios/episodes.scenario" <<'SCEN'
manufacturer Korvane
product KX-4100 Episodes
version 1.0
vendor 0x1022
load 1
lm78 1
lm75 1
param 0 45
slot 0 1350 2100 2100 2100 2100 1350 1350 2100 2100 2100 2100 2100 1350 cycle
slot 2 3310
slot 3 5030
slot 4 12150
slot 7 38
slot 8 2700
slot 9 1850
slot 10 2100
SCEN

reads() { grep -c '^ValueRAM' "$HMIO_TRACE" 2>/dev/null || true; }
read_at_least() { [ "$(reads)" -ge "$1" ]; }
masked_log() { sed -E 's#[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}#DATE TIME#' "$WORK/log.dat"; }

# run_mode MODE READS: runs the monitor (window or headless) until the
# library was read READS times, then ends it with SIGTERM; log.dat, masked,
# goes to $WORK/log-MODE.txt.
run_mode() {
  local mode=$1 n=$2 args=()
  rm -f "$WORK/log.dat" "$HMIO_TRACE"
  [ "$mode" = headless ] && args=(--headless --settings Skins/Skin.ini --metrics-dir "$WORK/metrics")
  (cd "$WORK" && exec "$RUN_DIR/sentinax4" "${args[@]}" >"$WORK/app.out" 2>&1) &
  APP_PID=$!
  APP_PIDS+=("$APP_PID")
  wait_for 40 read_at_least "$n" || fail "$mode: only $(reads) reads"
  sleep 0.3 # the tick that made the last read ends
  if [ "$mode" = headless ]; then
    grep -q 'libQt6Core' "/proc/$APP_PID/maps" || fail "not the Qt program it should be"
    ! grep -qE 'libQt6(Gui|Widgets)' "/proc/$APP_PID/maps" || fail "a Qt GUI library is loaded"
    "$RUN_DIR/sentinax-shm" >"$WORK/shm.txt" || fail "no shared block"
    grep -q 'Monitor *running' "$WORK/shm.txt" || fail "the block: $(cat "$WORK/shm.txt")"
    test -s "$WORK/metrics/sentinax.prom" || fail "no readings for Prometheus"
  fi
  kill -TERM "$APP_PID"
  wait_exit "$APP_PID" 10 || fail "$mode did not end"
  [ "$EXIT_CODE" = 0 ] || fail "$mode ended with $EXIT_CODE"
  touch "$WORK/log.dat"
  masked_log > "$WORK/log-$mode.txt"
}

mkdir -p "$WORK/metrics"
export HMIO_SCENARIO=$WORK/scenarios/episodes.scenario
run_mode window 16
run_mode headless 16
[ "$(grep -c WARNING "$WORK/log-window.txt")" -ge 2 ] || fail "too few records: $(cat "$WORK/log-window.txt")"
cmp "$WORK/log-window.txt" "$WORK/log-headless.txt" ||
  fail "log.dat differs: $(diff "$WORK/log-window.txt" "$WORK/log-headless.txt")"
grep -q 'settings from Skins/Skin.ini, interval 1 s' "$WORK/app.out" || fail "no settings line"
if "$RUN_DIR/sentinax-shm" 2>/dev/null | grep -q 'Monitor *running'; then
  fail "the block says running after the end"
fi

# A fake tree: the CPU fan (fan2) at 300 rpm, below the shipped lower limit.
fake_hwmon_tree 0x8086 "KX-4100 Tree"
echo 300 > "$WORK/root/sys/class/hwmon/hwmon2/fan2_input"
run_mode window 8
run_mode headless 8
grep -q 'CPU FAN SPEED WARNING' "$WORK/log-window.txt" || fail "no fan record: $(cat "$WORK/log-window.txt")"
cmp "$WORK/log-window.txt" "$WORK/log-headless.txt" ||
  fail "log.dat differs on the tree: $(diff "$WORK/log-window.txt" "$WORK/log-headless.txt")"

# Settings that cannot be read: said, and the shipped ones are used.
mkdir "$WORK/not-a-file.ini"
(cd "$WORK" && exec "$RUN_DIR/sentinax4" --headless --settings not-a-file.ini >"$WORK/app.out" 2>&1) &
APP_PID=$!
APP_PIDS+=("$APP_PID")
wait_for 10 grep -q 'settings from the shipped Skin.ini, interval 3 s' "$WORK/app.out" ||
  fail "unreadable settings: $(cat "$WORK/app.out")"
grep -q 'not-a-file.ini: .*the shipped settings are used' "$WORK/app.out" || fail "not said why"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
[ ! -e "$WORK/poweroff.txt" ] || fail "power-off requested"
echo PASS
