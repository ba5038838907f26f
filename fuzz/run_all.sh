#!/usr/bin/env bash
# Runs every fuzz target of a SENTINAX_FUZZ build for a fixed number of runs
# (CI) or a fixed time (longer campaigns), each starting from its seeds, as
# many targets at once as the machine has cores (FUZZ_JOBS to choose).
#   fuzz/run_all.sh BUILD_DIR [RUNS]           e.g. 1000000 runs each (default 50000)
#   FUZZ_SECONDS=3600 fuzz/run_all.sh BUILD_DIR   an hour each instead
#   FUZZ_TARGETS="hmio_sysfs_fuzz ini_fuzz" fuzz/run_all.sh BUILD_DIR   only these
# New inputs go to a scratch corpus (FUZZ_CORPUS, default a temporary folder
# removed afterwards); the seeds in the repository are never written. A crash
# leaves its input in the current folder (crash-*) and fails the script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
build=${1:?usage: fuzz/run_all.sh BUILD_DIR [RUNS]}
runs=${2:-50000}
scratch=${FUZZ_CORPUS:-}
if [ -z "$scratch" ]; then
  scratch=$(mktemp -d /tmp/sx-fuzz-corpus-XXXXXX)
  trap 'rm -rf "$scratch"' EXIT
fi

# target: seed folders or files (relative to the repository); @lists: the
# shipped board table cut into its lists, one seed each (see table_lists).
declare -A seeds=(
  [ini_fuzz]="data/Skins tests/config/fixtures"
  [skin_rows_fuzz]="fuzz/corpus/skin_rows"
  [skin_file_fuzz]="data/Skins tests/config/fixtures tests/skin/fixtures"
  [board_table_fuzz]="@lists"
  [board_table_file_fuzz]="@lists"
  [dmi_walk_fuzz]="fuzz/corpus/dmi"
  [hmio_parsers_fuzz]="@parsers"
  [hmio_dmi_fuzz]="fuzz/corpus/dmi"
  [hmio_sysfs_fuzz]="fuzz/corpus/hmio_sysfs"
  [wav_header_fuzz]="data/SOUND.wav"
  [shm_decoder_fuzz]="fuzz/corpus/shm_decoder"
  [gif_walk_fuzz]="fuzz/corpus/gif"
  [inventory_parsers_fuzz]="fuzz/corpus/inventory"
  [inventory_numbers_fuzz]="fuzz/corpus/inventory_numbers"
  [commandline_fuzz]="fuzz/corpus/commandline"
)

# table_lists TARGET FOLDER: the shipped board table cut before each [list]
# header, one seed per list. A parser of rows costs time per byte: the whole
# 17 KB table as every input ran at a tenth of the speed and reached no more
# code than its lists do one by one. The two-table target gets each list as
# the shipped part, with the user table of fuzz/corpus/board_table_file after
# its NUL; the first line of each part is the board the decision is made for.
table_lists() {
  awk -v out="$2" 'BEGIN { f = out "/list-000" }
                   /^\[/ { f = sprintf("%s/list-%03d", out, ++n) }
                   { print > f }' "$repo/data/boards.table"
  if [ "$1" = board_table_file_fuzz ]; then
    local piece
    for piece in "$2"/list-*; do
      { printf 'KX-4100\n'; cat "$piece"; printf '\0'; cat "$repo/fuzz/corpus/board_table_file/user.table"; } \
        > "$piece.pair" && mv "$piece.pair" "$piece"
    done
  fi
}

# parser_pieces FOLDER: seeds for the hardware library's parsers, whose first
# byte picks the parser (0 the channel map, 1 a scenario, 2 the board wiring).
# The map and the wiring table go in cut at their blank lines (a paragraph of
# map rows, one board's block), for the reason the board table is cut.
parser_pieces() {
  local file n=0
  for file in "$repo"/data/scenarios/*.scenario; do
    { printf '\001'; cat "$file"; } > "$1/scenario-$((n += 1))"
  done
  awk -v out="$1" -v sel=0 -f "$here/paragraphs.awk" "$repo/data/hwmon-channels.map"
  awk -v out="$1" -v sel=2 -f "$here/paragraphs.awk" "$repo/data/board-wiring.table"
}

limit=(-runs="$runs")
[ -n "${FUZZ_SECONDS:-}" ] && limit=(-max_total_time="$FUZZ_SECONDS")
# Recording a stack for every allocation was a sixth of the hardware library
# target's time in a profile; without it a report still names the fault and
# the crashing stack, and the kept input replayed by hand
# (build-fuzz/fuzz/<target> crash-...) gives the allocation stacks too. A
# quarantine of 16 MB instead of 256 still holds thousands of inputs' freed
# blocks, and took that target's page faults from 127,000 to 21,000 on the
# same 3,000 inputs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:malloc_context_size=0:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

# run_target TARGET: one target from its seeds; its line of the summary goes
# to $scratch/TARGET.line, its whole output to $scratch/TARGET.log.
run_target() {
  local target=$1 binary=$build/fuzz/$1 corpus=$scratch/$1 seed
  local log=$scratch/$1.log start=$SECONDS done_runs per_second
  mkdir -p "$corpus" "$scratch/seeds-$target"
  for seed in ${seeds[$target]}; do
    if [ "$seed" = @lists ]; then table_lists "$target" "$scratch/seeds-$target"
    elif [ "$seed" = @parsers ]; then parser_pieces "$scratch/seeds-$target"
    elif [ -d "$repo/$seed" ]; then cp "$repo/$seed"/* "$scratch/seeds-$target/" 2>/dev/null || true
    else cp "$repo/$seed" "$scratch/seeds-$target/"; fi
  done
  if ! "$binary" "${limit[@]}" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      "$corpus" "$scratch/seeds-$target" > "$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "FAIL: $target" >&2
    return 1
  fi
  done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  # libFuzzer divides by whole seconds: a target done within one has no rate.
  [ "${per_second:-0}" = 0 ] && per_second=">${done_runs:-?}"
  printf '%-24s %9s runs %5ss %7s/s  corpus %s\n' "$target" "${done_runs:-?}" $((SECONDS - start)) \
    "${per_second:-?}" "$(ls "$corpus" | wc -l)" | tee "$scratch/$target.line"
}

# The slowest targets first, so that the last ones to end are short.
order="hmio_sysfs_fuzz hmio_parsers_fuzz skin_file_fuzz board_table_file_fuzz board_table_fuzz ini_fuzz"
for target in $(printf '%s\n' "${!seeds[@]}" | sort); do
  [[ " $order " == *" $target "* ]] || order="$order $target"
done
[ -n "${FUZZ_TARGETS:-}" ] && order=$FUZZ_TARGETS
for target in $order; do
  [ -n "${seeds[$target]:-}" ] || { echo "no such fuzz target: $target" >&2; exit 1; }
  [ -x "$build/fuzz/$target" ] || { echo "missing $build/fuzz/$target: build the sentinax_fuzz target" >&2; exit 1; }
done

# reap: waits for the targets that have ended, keeps the running ones in
# $running; polled, as bash's `wait -n` misses jobs that ended before it.
reap() {
  local pid still=()
  for pid in "${running[@]}"; do
    if kill -0 "$pid" 2>/dev/null; then still+=("$pid")
    else wait "$pid" || failed=1; fi
  done
  running=("${still[@]}")
}
jobs=${FUZZ_JOBS:-$(nproc)}
failed=0
running=()
for target in $order; do
  while reap && [ "${#running[@]}" -ge "$jobs" ]; do sleep 0.2; done
  run_target "$target" &
  running+=("$!")
done
for pid in "${running[@]}"; do wait "$pid" || failed=1; done
[ "$failed" = 0 ] || { echo "FAIL: a fuzz target failed (its output is above)" >&2; exit 1; }

total=0
for target in $order; do
  runs_done=$(awk '{ print $2 }' "$scratch/$target.line")
  total=$((total + runs_done))
done
echo "all fuzz targets passed: $total runs in total"
