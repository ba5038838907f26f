#!/usr/bin/env bash
# The process benchmark: what the running monitor costs per sample, beside a
# bare Qt program doing the least a monitor can do, all in one run on this
# machine, so that only the ratios between the rows count (docs/performance.md).
#
# Every program gets its own Xvfb with a tray host (trayer); all run at the
# same time and sample once a second. The monitor reads a fake NCT6798 +
# coretemp desktop (fake_hwmon_tree.sh) mounted over /sys/class in a private
# mount namespace, with a private /dev/shm. The rows:
#   floor-hidden  sx_process_floor: QApplication, 1 s timer, pread of the inputs
#   floor-tray    the same with one tray icon (all a hidden monitor shows)
#   floor-shown   the same with one QLabel shown and changed every tick
#   floor-face    the same with the face's animations at Qt's minimum (a 96 x 96
#                 picture every 50 ms, a text line every 150 ms)
#   hidden        the monitor hidden to the tray, all in range
#   shown         the monitor brought back from its tray icon, all in range
#   covered       the same, then an ordinary window raised over its whole face
#   warning       the monitor with the CPU fan under its limit (blink, alarm)
# x floor: the ratio to the bare floor (hidden and covered: floor-hidden;
# shown and warning: floor-shown); x match: the ratio to the floor that shows
# what the monitor must show in that state (hidden: floor-tray; shown and
# warning: floor-face), so what is left is the monitor's own doing; for the
# covered face, which nobody sees, the ratio to the monitor hidden to the tray.
# ms/sample: the process's run time from the scheduler (all threads, exact to
# the ns) over the window, per second; wakeups: the scheduler's time slices
# per sample; X: the same for the program's X server; RSS and PSS at the end.
#
# Usage: bench/process/measure.sh [--build DIR] [--seconds N] [--runs N] [--baseline RUN]
#   --build DIR     build folder with run/sentinax4 and bin/sx_process_floor
#                   (default: build, configured with -DSENTINAX_BENCH=ON)
#   --seconds N     length of the measured window (default 60)
#   --runs N        repeat the whole measurement; ranges are printed at the end
#   --baseline RUN  also measure the monitor of another run folder (another
#                   build, e.g. of an older commit) in the four states, in the
#                   same run: rows "before, ..."
# Needs Xvfb, trayer, xdotool and unshare; run as root, or as a user where
# unprivileged user namespaces are allowed (Debian 12 allows them).
set -euo pipefail

BUILD=$(cd "$(dirname "$0")/../.." && pwd)/build
WINDOW=60
RUNS=1
BASE_RUN=""
while [ $# -gt 0 ]; do
  case $1 in
  --build) BUILD=$(cd "$2" && pwd); shift 2 ;;
  --seconds) WINDOW=$2; shift 2 ;;
  --runs) RUNS=$2; shift 2 ;;
  --baseline) BASE_RUN=$(cd "$2" && pwd); shift 2 ;;
  *) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done
source "$(dirname "$0")/lib.sh"

ROWS=(floor-hidden floor-tray floor-shown floor-face hidden shown covered warning)
MONITORS=(hidden shown covered warning)
if [ -n "$BASE_RUN" ]; then
  [ -x "$BASE_RUN/sentinax4" ] || { echo "no sentinax4 in $BASE_RUN" >&2; exit 1; }
  ROWS+=(base-hidden base-shown base-covered base-warning)
  MONITORS+=(base-hidden base-shown base-covered base-warning)
fi
declare -A LABEL=(
  [floor-hidden]="bare Qt, nothing shown (hidden floor)"
  [floor-tray]="bare Qt, a tray icon only (tray floor)"
  [floor-shown]="bare Qt, one QLabel changed each tick (shown floor)"
  [floor-face]="bare Qt, label + face animations (face floor)"
  [hidden]="monitor, hidden to the tray, all in range"
  [shown]="monitor, shown, all in range"
  [covered]="monitor, shown but covered by another window"
  [warning]="monitor, shown, CPU fan in warning (blink, alarm)"
  [base-hidden]="before: monitor, hidden to the tray"
  [base-shown]="before: monitor, shown"
  [base-covered]="before: monitor, shown but covered"
  [base-warning]="before: monitor, CPU fan in warning")
# The floor each row is a ratio to.
declare -A BASE=([floor-hidden]=floor-hidden [floor-tray]=floor-hidden [hidden]=floor-hidden [floor-shown]=floor-shown
  [shown]=floor-shown [warning]=floor-shown [floor-face]=floor-shown [base-hidden]=floor-hidden
  [base-shown]=floor-shown [base-warning]=floor-shown [covered]=floor-hidden
  [base-covered]=floor-hidden)
# The floor showing the same things (none for the floors themselves); a face
# that nobody sees is held to the monitor hidden to the tray.
declare -A MATCH=([hidden]=floor-tray [shown]=floor-face [warning]=floor-face
  [base-hidden]=floor-tray [base-shown]=floor-face [base-warning]=floor-face [covered]=hidden
  [base-covered]=base-hidden)
ROW_FORMAT='%-52s %9s %7s %7s %8s %9s %7s %7s\n'

measure_once() {
  local run=$1 name
  PID_OF=()
  for name in "${ROWS[@]}"; do start_state "$name"; done
  for name in "${MONITORS[@]}"; do settle_state "$name" 20; done
  sleep 5 # past the start-up and the first warning's work

  local load0 load1 t0 t1
  load0=$(cut -d' ' -f1-3 /proc/loadavg)
  for name in "${ROWS[@]}"; do
    threads "${PID_OF[$name]}" >"$WORK/$name/cpu0"
    threads "${XSERVER_OF[$name]}" >"$WORK/$name/x0"
  done
  t0=$(date +%s%N)
  sleep "$WINDOW"
  for name in "${ROWS[@]}"; do
    threads "${PID_OF[$name]}" >"$WORK/$name/cpu1"
    threads "${XSERVER_OF[$name]}" >"$WORK/$name/x1"
  done
  t1=$(date +%s%N)
  load1=$(cut -d' ' -f1-3 /proc/loadavg)
  for name in "${ROWS[@]}"; do check_state "$name"; done

  # name, ms per sample, wakeups per sample, X server ms per sample, RSS, PSS
  local samples
  samples=$(awk "BEGIN {print ($t1 - $t0) / 1e9}")
  for name in "${ROWS[@]}"; do
    echo "$name $(cpu_between "$WORK/$name/cpu0" "$WORK/$name/cpu1")" \
      "$(cpu_between "$WORK/$name/x0" "$WORK/$name/x1")" "$(memory "${PID_OF[$name]}")"
  done | awk -v n="$samples" '{printf "%s %.3f %.1f %.3f %.1f %.1f\n", $1, $2 / 1e6 / n,
                                       $3 / n, $4 / 1e6 / n, $6 / 1024, $7 / 1024}' \
    >"$WORK/figures.$run"

  echo
  echo "run $run: ${WINDOW} s window, $samples samples of 1 s; load average $load0 before," \
    "$load1 after"
  printf "$ROW_FORMAT" "program and state" "ms/sample" "x floor" "x match" "wakeups" \
    "X ms/smp" "RSS MiB" "PSS MiB"
  local ms wakeups xms rss pss base match ratio byface
  while read -r name ms wakeups xms rss pss; do
    base=$(awk -v b="${BASE[$name]}" '$1 == b {print $2}' "$WORK/figures.$run")
    ratio=$(awk "BEGIN {printf \"%.2f\", $ms / $base}")
    byface=""
    if [ -n "${MATCH[$name]:-}" ]; then
      match=$(awk -v b="${MATCH[$name]}" '$1 == b {print $2}' "$WORK/figures.$run")
      byface=$(awk "BEGIN {printf \"%.2f\", $ms / $match}")
    fi
    printf "$ROW_FORMAT" "${LABEL[$name]}" "$ms" "$ratio" "$byface" "$wakeups" "$xms" "$rss" \
      "$pss"
    echo "$name $ms $ratio ${byface:--} $xms" >>"$WORK/ratios"
  done <"$WORK/figures.$run"

  stop_all
  for name in "${ROWS[@]}"; do rm -rf "${WORK:?}/$name"; done
}

echo "Sentinax process benchmark, $(nproc) cores; $(uptime)"
for run in $(seq 1 "$RUNS"); do measure_once "$run"; done
if [ "$RUNS" -gt 1 ]; then
  # Ranges of each figure, and the ratios of the sums over all runs (a small
  # figure such as the hidden floor's varies a lot from run to run).
  for name in "${ROWS[@]}"; do echo "$name ${BASE[$name]} ${MATCH[$name]:--}"; done >"$WORK/bases"
  echo
  echo "over $RUNS runs: ranges (min-max), and pooled ratios (sum over the runs / the floor's sum)"
  printf '%-52s %13s %11s %11s %13s %7s %7s\n' "program and state" "ms/sample" "x floor" \
    "x match" "X ms/sample" "pooled" "p.match"
  awk 'FILENAME ~ /bases$/ {base[$1] = $2; match_[$1] = $3; next}
       FILENAME ~ /ratios$/ { k = $1; if (!(k in seen)) { seen[k] = 1; order[++n] = k }
         for (f = 2; f <= 5; ++f) if ($f != "-") {
           if (!((k, f) in lo) || $f < lo[k, f]) lo[k, f] = $f
           if (!((k, f) in hi) || $f > hi[k, f]) hi[k, f] = $f }
         next }
       { sum[$1] += $2 }
       END { for (i = 1; i <= n; ++i) { k = order[i]; line = k
               for (f = 2; f <= 5; ++f) line = line " " (((k, f) in lo) ? lo[k, f] "-" hi[k, f] : "-")
               line = line " " sprintf("%.2f", sum[k] / sum[base[k]])
               face = (match_[k] != "-") ? sprintf("%.2f", sum[k] / sum[match_[k]]) : "-"
               print line " " face } }' "$WORK/bases" "$WORK/ratios" "$WORK"/figures.* |
    while read -r name ms ratio byface xms pooled pface; do
      printf '%-52s %13s %11s %11s %13s %7s %7s\n' "${LABEL[$name]}" "$ms" "$ratio" "$byface" \
        "$xms" "$pooled" "$pface"
    done
fi
echo "machine afterwards: $(uptime)"
