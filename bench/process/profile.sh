#!/usr/bin/env bash
# Profiles one row of the process benchmark (measure.sh) in the same set-up:
# where a state's time goes, by function.
#   callgrind  instruction counts over the window (repeatable on a noisy
#              machine; the program runs some fifty times slower, which a
#              1 s tick and 50 ms frames still allow)
#   perf       cpu-clock samples with call graphs (perf record, dwarf unwind)
# The raw profile stays in OUT (default: the current folder) as
# <state>.callgrind or <state>.perf; a summary is printed.
#
# Usage: bench/process/profile.sh [--build DIR] [--seconds N] [--tool T] [--out DIR] STATE
#   STATE: floor-hidden, floor-tray, floor-shown, floor-face, hidden, shown, covered
#          or warning
#   --seconds N   length of the profiled window (default 30)
#   --tool T      callgrind (default) or perf
set -euo pipefail

BUILD=$(cd "$(dirname "$0")/../.." && pwd)/build
WINDOW=30
TOOL=callgrind
OUT=$PWD
STATE=""
while [ $# -gt 0 ]; do
  case $1 in
  --build) BUILD=$(cd "$2" && pwd); shift 2 ;;
  --seconds) WINDOW=$2; shift 2 ;;
  --tool) TOOL=$2; shift 2 ;;
  --out) OUT=$(cd "$2" && pwd); shift 2 ;;
  -*) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
  *) STATE=$1; shift ;;
  esac
done
[ -n "$STATE" ] || { sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }
source "$(dirname "$0")/lib.sh"

case $TOOL in
callgrind)
  command -v valgrind >/dev/null || { echo "needs valgrind" >&2; exit 1; }
  WRAP=(valgrind --tool=callgrind --instr-atstart=no --dump-instr=no
        "--callgrind-out-file=$WORK/callgrind.out")
  start_state "$STATE"
  settle_state "$STATE" 120
  sleep 5
  pid=${PID_OF[$STATE]}
  callgrind_control -i on "$pid" >/dev/null
  callgrind_control -z "$pid" >/dev/null
  sleep "$WINDOW"
  callgrind_control -d "$STATE" "$pid" >/dev/null
  callgrind_control -i off "$pid" >/dev/null
  check_state "$STATE"
  file=$(ls -t "$WORK"/callgrind.out* | head -n 1)
  cp "$file" "$OUT/$STATE.callgrind"
  total=$(callgrind_annotate "$file" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1}')
  echo "$STATE: $total instructions in $WINDOW s ($(awk "BEGIN {printf \"%.0f\", $total / $WINDOW}") per sample)"
  callgrind_annotate --inclusive=yes "$file" 2>/dev/null | sed -n '/^Ir/,$p' | head -n 45
  callgrind_annotate "$file" 2>/dev/null | sed -n '/^Ir/,$p' | head -n 30
  ;;
perf)
  command -v perf >/dev/null || { echo "needs perf" >&2; exit 1; }
  start_state "$STATE"
  settle_state "$STATE" 20
  sleep 5
  perf record -e cpu-clock -F 4999 --call-graph dwarf,16384 -o "$OUT/$STATE.perf" \
    -p "${PID_OF[$STATE]}" -- sleep "$WINDOW" 2>/dev/null
  check_state "$STATE"
  perf report -i "$OUT/$STATE.perf" --no-children --sort dso,symbol --stdio 2>/dev/null |
    grep -v '^$' | grep -E '^ +[0-9]' | head -n 40
  ;;
*) echo "no tool $TOOL" >&2; exit 2 ;;
esac
