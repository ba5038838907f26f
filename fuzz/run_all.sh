#!/usr/bin/env bash
# Runs every fuzz target of a SENTINAX_FUZZ build for a fixed number of runs
# (CI) or a fixed time (longer campaigns), each starting from its seeds.
#   fuzz/run_all.sh BUILD_DIR [RUNS]           e.g. 50000 runs each (default)
#   FUZZ_SECONDS=3600 fuzz/run_all.sh BUILD_DIR   an hour each instead
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
  [hmio_parsers_fuzz]="data/scenarios data/hwmon-channels.map"
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

limit=(-runs="$runs")
[ -n "${FUZZ_SECONDS:-}" ] && limit=(-max_total_time="$FUZZ_SECONDS")
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

total=0
for target in $(printf '%s\n' "${!seeds[@]}" | sort); do
  binary=$build/fuzz/$target
  [ -x "$binary" ] || { echo "missing $binary: build the sentinax_fuzz target" >&2; exit 1; }
  corpus=$scratch/$target
  mkdir -p "$corpus" "$scratch/seeds-$target"
  for seed in ${seeds[$target]}; do
    if [ "$seed" = @lists ]; then table_lists "$target" "$scratch/seeds-$target"
    elif [ -d "$repo/$seed" ]; then cp "$repo/$seed"/* "$scratch/seeds-$target/" 2>/dev/null || true
    else cp "$repo/$seed" "$scratch/seeds-$target/"; fi
  done
  log=$scratch/$target.log
  start=$SECONDS
  if ! "$binary" "${limit[@]}" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      "$corpus" "$scratch/seeds-$target" > "$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "FAIL: $target" >&2
    exit 1
  fi
  done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  # libFuzzer divides by whole seconds: a target done within one has no rate.
  [ "${per_second:-0}" = 0 ] && per_second=">${done_runs:-?}"
  total=$((total + ${done_runs:-0}))
  printf '%-24s %9s runs %5ss %7s/s  corpus %s\n' "$target" "${done_runs:-?}" $((SECONDS - start)) \
    "${per_second:-?}" "$(ls "$corpus" | wc -l)"
done
echo "all fuzz targets passed: $total runs in total"
