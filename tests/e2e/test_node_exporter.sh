#!/usr/bin/env bash
# Readings for fleet monitoring: the monitor writes sentinax.prom on every
# evaluation, promtool accepts it, and node_exporter's textfile collector
# serves the readings on its /metrics page.
source "$(dirname "$0")/lib.sh"
command -v prometheus-node-exporter >/dev/null || fail "prometheus-node-exporter is not installed"
command -v promtool >/dev/null || fail "promtool (prometheus) is not installed"
prepare_workdir
set_interval 1
mkdir -p "$WORK/metrics"
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
(cd "$WORK" && exec "$RUN_DIR/sentinax4" --metrics-dir "$WORK/metrics" >"$WORK/app.out" 2>&1) &
APP_PID=$!
APP_PIDS+=("$APP_PID")
wait_for 15 test -s "$WORK/metrics/sentinax.prom" || fail "no metrics file"
promtool check metrics < "$WORK/metrics/sentinax.prom" || fail "promtool: $(cat "$WORK/metrics/sentinax.prom")"
grep -q '^sentinax_voltage_volts{item="vcore"} 1\.3' "$WORK/metrics/sentinax.prom" || fail "vcore"
[ "$(ls -A "$WORK/metrics")" = "sentinax.prom" ] || fail "other files in the folder: $(ls -A "$WORK/metrics")"

# node_exporter on a free loopback port, only the textfile collector.
PORT=""
for p in $(seq $((20000 + $$ % 20000)) $((20000 + $$ % 20000 + 50))); do
  (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null && continue
  PORT=$p
  break
done
[ -n "$PORT" ] || fail "no free port"
prometheus-node-exporter --web.listen-address="127.0.0.1:$PORT" --collector.disable-defaults \
  --collector.textfile --collector.textfile.directory="$WORK/metrics" >"$WORK/exporter.out" 2>&1 &
APP_PIDS+=("$!")
scrape() {
  exec 3<>"/dev/tcp/127.0.0.1/$PORT" || return 1
  printf 'GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
  cat <&3 > "$WORK/scrape.txt"
  exec 3<&-
  grep -q '^sentinax_fan_speed_rpm{item="cpu"}' "$WORK/scrape.txt"
}
wait_for 15 scrape || fail "node_exporter does not serve the readings: $(tail -n 5 "$WORK/exporter.out")"
grep -q '^sentinax_temperature_celsius{item="cpu"} ' "$WORK/scrape.txt" || fail "temperature"
grep -q 'node_textfile_scrape_error 0' "$WORK/scrape.txt" || fail "textfile collector error"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
