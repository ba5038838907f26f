#!/usr/bin/env bash
# The fleet picture: three monitors without a display (sentinax4 --headless,
# as the service runs them) on three fake boards, each in a mount
# namespace of its own (its board's sysfs tree over /sys, its own /dev/shm and
# metrics folder), each folder served by a node_exporter of its own, and one
# Prometheus scraping them every second with the shipped alert rules (their
# waiting periods cut to seconds in a test copy). With every board healthy no
# alert fires; heating one board's CPU past its critical limit fires the
# temperature, warning and power-off countdown alerts for that board only, as
# Prometheus' HTTP API tells (promtool query instant); cooled again, the
# countdown is called off and its alert ends.
# Exit 77 (skipped) where a private mount namespace cannot be made.
here=$(dirname "$(readlink -f "$0")")
source "$here/lib.sh"
source "$here/../hmio/boards/lib.sh"
unshare --mount --propagation private true 2>/dev/null ||
  skip "cannot make a private mount namespace (needs root or user namespaces)"
for tool in prometheus prometheus-node-exporter promtool; do
  command -v $tool >/dev/null || fail "$tool is not installed (scripts/deps.sh)"
done
unset HMIO_SYSFS_ROOT HMIO_SCENARIO HMIO_CHANNEL_MAP HMIO_BOARD_WIRING HMIO_TRACE

boards=(asus-prime-z370-a gigabyte-b550-aorus-elite msi-x570-a-pro)
hot=asus-prime-z370-a

TAKEN=" "
free_port() {
  local p
  for p in $(seq $((20000 + RANDOM % 20000)) 65000); do
    case $TAKEN in *" $p "*) continue ;; esac
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null && continue
    TAKEN+="$p "
    echo "$p"
    return 0
  done
  return 1
}

declare -A exporter_port
for board in "${boards[@]}"; do
  mon=$WORK/mon-$board
  mkdir -p "$mon/metrics"
  mkdir -m 0700 "$mon/runtime"
  cp -r "$RUN_DIR/Skins" "$mon/"
  cp "$RUN_DIR"/*.table "$RUN_DIR"/*.map "$mon/"
  sed -i "s/^IntervalTime=.*/IntervalTime=1\r/" "$mon/Skins/Skin.ini"
  build_board_tree "$here/../hmio/boards/$board.board" "$WORK/tree-$board" ||
    fail "$board: the board file cannot be read"
  (cd "$mon" && exec env XDG_RUNTIME_DIR="$mon/runtime" HMIO_TRACE="$mon/trace.txt" \
     unshare --mount --propagation private bash -c '
       mount -t tmpfs -o mode=1777 sentinax-shm /dev/shm
       source "$1"
       BOARD_TREE=$2
       mount_board_tree
       exec "$3" --headless --settings Skins/Skin.ini --metrics-dir "$4"' fleet-monitor \
       "$here/../hmio/boards/lib.sh" "$WORK/tree-$board" "$RUN_DIR/sentinax4" "$mon/metrics" \
       >"$mon/app.out" 2>&1) &
  APP_PIDS+=("$!")
done
for board in "${boards[@]}"; do
  wait_for 30 test -s "$WORK/mon-$board/metrics/sentinax.prom" ||
    fail "$board: no readings: $(cat "$WORK/mon-$board/app.out")"
done

for board in "${boards[@]}"; do
  port=$(free_port) || fail "no free port"
  exporter_port[$board]=$port
  prometheus-node-exporter --web.listen-address="127.0.0.1:$port" --collector.disable-defaults \
    --collector.textfile --collector.textfile.directory="$WORK/mon-$board/metrics" \
    >"$WORK/exporter-$board.out" 2>&1 &
  APP_PIDS+=("$!")
done

# The shipped rules, waiting seconds instead of minutes.
sed -E 's/^( +for: )[0-9]+m$/\13s/' "$here/../../packaging/prometheus/sentinax-rules.yml" \
  > "$WORK/rules.yml"
grep -q 'for: 3s' "$WORK/rules.yml" || fail "no waiting period was cut"
{
  printf 'global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n'
  printf 'rule_files:\n  - %s\n' "$WORK/rules.yml"
  printf 'scrape_configs:\n  - job_name: sentinax\n    static_configs:\n'
  for board in "${boards[@]}"; do
    printf "      - targets: ['127.0.0.1:%s']\n        labels: {board: %s}\n" \
      "${exporter_port[$board]}" "$board"
  done
} > "$WORK/prometheus.yml"
PROM=$(free_port) || fail "no free port"
prometheus --config.file="$WORK/prometheus.yml" --storage.tsdb.path="$WORK/tsdb" \
  --web.listen-address="127.0.0.1:$PROM" --log.level=warn >"$WORK/prometheus.out" 2>&1 &
APP_PIDS+=("$!")

query() { promtool query instant "http://127.0.0.1:$PROM" "$1" 2>/dev/null; }
# The boards of the firing alerts named $1 (all firing alerts without it).
firing_boards() {
  query "ALERTS{alertstate=\"firing\"${1:+,alertname=\"$1\"}}" |
    sed -n 's/.*board="\([^"]*\)".*/\1/p' | sort -u | tr '\n' ' '
}
scraped_all() { [ "$(query 'count(sentinax_last_evaluation_timestamp_seconds)' |
                     sed -n 's/.*=> \([0-9]*\) @.*/\1/p')" = 3 ]; }
wait_for 60 scraped_all || fail "Prometheus does not see three monitors: $(cat "$WORK/prometheus.out")"
# A few evaluations of the rules on three healthy boards: nothing fires.
sleep 6
[ -z "$(query 'ALERTS')" ] || fail "alerts on healthy boards: $(query 'ALERTS')"
cpu=$(query "sentinax_temperature_celsius{item=\"cpu\",board=\"$hot\"}")
echo "$cpu" | grep -q '=> 38 @' || fail "the CPU temperature of $hot: $cpu"

# Heat one board: its CPU package past the critical limit of 100 degrees.
coretemp=$(grep -lx coretemp "$WORK/tree-$hot"/class/hwmon/hwmon*/name)
echo 104000 > "$(dirname "$coretemp")/temp1_input"
heated() {
  local b
  for b in SentinaxTemperatureOutOfRange SentinaxWarning SentinaxPowerOffCountdown; do
    [ "$(firing_boards $b)" = "$hot " ] || return 1
  done
}
wait_for 60 heated || fail "the heated board's alerts: $(query 'ALERTS')"
[ "$(firing_boards)" = "$hot " ] || fail "alerts for other boards: $(query 'ALERTS{alertstate="firing"}')"
echo "query: ALERTS{alertstate=\"firing\"}"
query 'ALERTS{alertstate="firing"}'
grep -q 'the over-temperature power-off waits for the CPU to pass 100' "$WORK/mon-$hot/app.out" ||
  fail "the crit was not the rating: $(cat "$WORK/mon-$hot/app.out")"

# Cooled again: the countdown is called off, and its alert ends.
echo 45000 > "$(dirname "$coretemp")/temp1_input"
cooled() { [ -z "$(firing_boards SentinaxPowerOffCountdown)" ]; }
wait_for 30 cooled || fail "the countdown alert did not end: $(query 'ALERTS')"
[ ! -e "$WORK/poweroff.txt" ] || fail "power-off requested"
for pid in "${APP_PIDS[@]:0:3}"; do kill -TERM "$pid" 2>/dev/null; done
for pid in "${APP_PIDS[@]:0:3}"; do wait_exit "$pid" 10 || fail "a monitor did not end"; done
echo "PASS"
