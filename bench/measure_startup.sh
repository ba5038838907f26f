#!/usr/bin/env bash
# Start-up time of the real program: from exec to its first hardware read
# (the first ValueRAM, which comes after the skin is loaded and its controls
# are made, and after the sensor detection), on the simulated demo board
# under Xvfb. Once with the shipped skin, once with a 16 MiB skin (the most
# that is read) whose button section holds some 800,000 short rows.
# Usage: bench/measure_startup.sh [BUILD_DIR] [REPEATS]   (default build, 5)
set -euo pipefail
cd "$(dirname "$0")/.."
RUN_DIR=$(cd "${1:-build}" && pwd)/run
REPEATS=${2:-5}
[ -x "$RUN_DIR/sentinax4" ] || { echo "build first: no $RUN_DIR/sentinax4" >&2; exit 1; }

work=$(mktemp -d /tmp/sx-startup-XXXXXX)
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n 1 "$work/display")"

# The 16 MiB skin: rows 8, 9, ... inserted after the shipped skin's seventh
# button, then a comment line that makes the file exactly 16 MiB.
big_skin() {
  local shipped=$1 out=$2 target=$((16 * 1024 * 1024))
  local room=$((target - $(stat -c %s "$shipped")))
  awk -v room="$room" '
    { print }
    /^7=BUTTON_EXIT/ {
      used = 0
      for (n = 8; ; n++) {
        row = n "=B" n ",1,1,1,1,t,F"
        if (used + length(row) + 1 > room - 2) break
        print row; used += length(row) + 1
      }
      pad = room - used - 1
      line = ""; for (i = 0; i < pad; i++) line = line ";"
      print line
    }' "$shipped" > "$out"
  [ "$(stat -c %s "$out")" = "$target" ] || { echo "big skin is $(stat -c %s "$out") bytes" >&2; exit 1; }
}

# One start: prints the milliseconds to the first hardware read and the
# resident memory then.
start_once() {
  local dir=$1 start first pid rss
  rm -f "$dir/trace"
  start=$(date +%s%N)
  (cd "$dir" && XDG_RUNTIME_DIR=$dir/runtime HMIO_SCENARIO=$dir/scenarios/demo.scenario \
     HMIO_TRACE=$dir/trace exec "$RUN_DIR/sentinax4") >"$dir/out" 2>&1 &
  pid=$!
  until grep -q '^ValueRAM(' "$dir/trace" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || { cat "$dir/out" >&2; exit 1; }
    sleep 0.005
  done
  first=$((($(date +%s%N) - start) / 1000000))
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$first $((rss / 1024))"
}

measure() { # $1: label, $2: skin file to use
  local dir=$work/$1 times=() rss=0 line
  mkdir -p "$dir"
  mkdir -m 0700 "$dir/runtime"
  cp -r "$RUN_DIR/Skins" "$RUN_DIR/scenarios" "$RUN_DIR/boards.table" "$dir/"
  cp "$2" "$dir/Skins/Skin.ini"
  for _ in $(seq 1 "$REPEATS"); do
    line=$(start_once "$dir")
    times+=("${line% *}")
    rss=${line#* }
  done
  local sorted
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  printf '%-14s skin %8s bytes: first hardware read after %s ms (median of %s: %s), RSS %s MiB\n' \
    "$1" "$(stat -c %s "$2")" "$(echo "$sorted" | sed -n "$(((REPEATS + 1) / 2))p")" "$REPEATS" \
    "$(echo "$sorted" | tr '\n' ' ' | sed 's/ $//')" "$rss"
  grep -m1 'rows' "$dir/out" || true
}

big_skin "$RUN_DIR/Skins/Skin.ini" "$work/big.ini"
measure shipped "$RUN_DIR/Skins/Skin.ini"
measure 16MiB "$work/big.ini"
