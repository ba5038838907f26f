# Shared by the process benchmark (measure.sh) and its profiler (profile.sh):
# the fake desktop, private X servers with a tray host, the programs in the
# states the benchmark measures, and the scheduler's figures of a process.
# Needs: BUILD (the build folder). Sourced; sets WORK and cleans it up on exit.
set -euo pipefail

SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
RUN_DIR=$BUILD/run
FLOOR=$BUILD/bin/sx_process_floor
COVER=$BUILD/bin/sx_cover_window
[ -x "$RUN_DIR/sentinax4" ] && [ -x "$FLOOR" ] && [ -x "$COVER" ] || {
  echo "build first: cmake --build $BUILD (configured with -DSENTINAX_BENCH=ON)" >&2
  exit 1
}
for tool in Xvfb trayer xdotool unshare; do
  command -v $tool >/dev/null || { echo "needs $tool" >&2; exit 1; }
done
# The monitor runs in a mount namespace of its own: the fake tree over
# /sys/class and a private /dev/shm, so its /HMShared meets no other monitor.
if [ "$(id -u)" = 0 ]; then
  UNSHARE=(unshare --mount --propagation private)
else
  UNSHARE=(unshare --user --map-root-user --mount --propagation private)
fi
"${UNSHARE[@]}" true 2>/dev/null || {
  echo "needs a private mount namespace: run as root or allow user namespaces" >&2
  exit 1
}

WORK=$(mktemp -d /tmp/sx-bench-XXXXXX)
PIDS=()
stop_all() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  PIDS=()
}
cleanup() {
  stop_all
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" >&2 || rm -rf "$WORK"
}
trap cleanup EXIT
# A signal (an interrupted run, a closed output pipe) ends the script through
# the clean-up too.
trap 'exit 1' INT TERM HUP PIPE
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

"$SRC/bench/process/fake_hwmon_tree.sh" "$WORK/tree"
"$SRC/bench/process/fake_hwmon_tree.sh" "$WORK/tree-warning" --fan-warning
chmod -R a+rX "$WORK"

declare -A DISPLAY_OF XSERVER_OF PID_OF
# WRAP: a command put before the measured program (a profiler); empty: none.
WRAP=()

# start_display NAME: a private X server with a tray host (trayer).
start_display() {
  local name=$1 dir=$WORK/$1 i
  mkdir -p "$dir"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dir/display" \
    >/dev/null 2>&1 &
  XSERVER_OF[$name]=$!
  PIDS+=($!)
  for i in $(seq 1 200); do [ -s "$dir/display" ] && break; sleep 0.05; done
  DISPLAY_OF[$name]=":$(head -n 1 "$dir/display")"
  for i in $(seq 1 100); do
    DISPLAY=${DISPLAY_OF[$name]} xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
  done
  DISPLAY=${DISPLAY_OF[$name]} trayer --edge bottom --align right --widthtype request \
    >/dev/null 2>&1 &
  PIDS+=($!)
}

# start_floor NAME [--label|--face]: the bare Qt program on the fake tree.
start_floor() {
  local name=$1
  shift
  start_display "$name"
  DISPLAY=${DISPLAY_OF[$name]} "${WRAP[@]}" "$FLOOR" --root "$WORK/tree" "$@" \
    >"$WORK/$name/out" 2>&1 &
  PID_OF[$name]=$!
  PIDS+=($!)
}

# start_monitor NAME TREE [RUN]: the monitor of the run folder RUN (default
# RUN_DIR) in its own working folder (the shipped skins with a 1 s interval)
# and mount namespace, on the tree's files.
start_monitor() {
  local name=$1 tree=$2 dir=$WORK/$1 run=${3:-$RUN_DIR}
  start_display "$name"
  mkdir -p "$dir/work/runtime" "$dir/config"
  chmod 0700 "$dir/work/runtime"
  cp -r "$run/Skins" "$run/boards.table" "$run/hwmon-channels.map" "$run/SOUND.wav" "$dir/work/"
  sed -i 's/^IntervalTime=[0-9]*/IntervalTime=1/' "$dir/work/Skins/Skin.ini"
  # Nothing here may power the machine off.
  printf '#!/bin/sh\necho poweroff >> "%s/poweroff.txt"\n' "$dir" >"$dir/poweroff"
  chmod +x "$dir/poweroff"
  local vendor=/sys/bus/pci/devices/0000:00:00.0/vendor mounts
  mounts="mount --bind '$tree/sys/class' /sys/class"
  mounts+=" && mount -t tmpfs -o mode=1777,size=8m shm /dev/shm"
  [ -d /sys/firmware ] && mounts+=" && mount --bind '$tree/firmware' /sys/firmware"
  [ -e $vendor ] && mounts+=" && mount --bind '$tree/vendor' $vendor"
  local wrap=""
  [ ${#WRAP[@]} -gt 0 ] && wrap=$(printf "'%s' " "${WRAP[@]}")
  (cd "$dir/work" && DISPLAY=${DISPLAY_OF[$name]} XDG_RUNTIME_DIR=$dir/work/runtime \
    XDG_CONFIG_HOME=$dir/config HOME=$dir SENTINAX_POWEROFF_COMMAND=$dir/poweroff \
    exec "${UNSHARE[@]}" sh -c "$mounts && exec $wrap'$run/sentinax4'") >"$dir/out" 2>&1 &
  PID_OF[$name]=$!
  PIDS+=($!)
}

# window_of NAME small|face [visible]: the process's tray icon (a window of at
# most 99 x 99 pixels) or its face (any larger one).
window_of() {
  local name=$1 kind=$2 only=() w small
  [ "${3:-}" = visible ] && only=(--onlyvisible)
  for w in $(DISPLAY=${DISPLAY_OF[$name]} xdotool search "${only[@]}" --pid "${PID_OF[$name]}" \
    2>/dev/null); do
    small=face
    DISPLAY=${DISPLAY_OF[$name]} xdotool getwindowgeometry "$w" 2>/dev/null |
      grep -qE 'Geometry: [0-9]{1,2}x[0-9]{1,2}$' && small=small
    [ $small = "$kind" ] && { echo "$w"; return 0; }
  done
  return 1
}
wait_until() { # SECONDS COMMAND...
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.2
  done
}
hidden_to_tray() {
  window_of "$1" small visible >/dev/null && ! window_of "$1" face visible >/dev/null
}
face_shown() { window_of "$1" face visible >/dev/null; }
fail_state() {
  echo "$1: $2" >&2
  cat "$WORK/$1/out" >&2
  exit 1
}

# cover_face NAME: an ordinary window mapped over the monitor's face (10
# pixels more on every side), on top of everything; sets COVER_OF[NAME].
declare -A COVER_OF
cover_face() {
  local name=$1 face geo x y w h
  face=$(window_of "$name" face visible) || fail_state "$name" "no face to cover"
  geo=$(DISPLAY=${DISPLAY_OF[$name]} xdotool getwindowgeometry --shell "$face")
  x=$(echo "$geo" | sed -n 's/^X=//p')
  y=$(echo "$geo" | sed -n 's/^Y=//p')
  w=$(echo "$geo" | sed -n 's/^WIDTH=//p')
  h=$(echo "$geo" | sed -n 's/^HEIGHT=//p')
  DISPLAY=${DISPLAY_OF[$name]} "$COVER" $((x - 10)) $((y - 10)) $((w + 20)) $((h + 20)) \
    >"$WORK/$name/cover" 2>&1 &
  COVER_OF[$name]=$!
  PIDS+=($!)
  wait_until 10 test -s "$WORK/$name/cover" || fail_state "$name" "the cover window did not come"
}
face_covered() {
  face_shown "$1" && kill -0 "${COVER_OF[$1]:-0}" 2>/dev/null &&
    DISPLAY=${DISPLAY_OF[$1]} xdotool search --onlyvisible --name '^cover$' >/dev/null 2>&1
}

# start_state STATE: the program of one row of the table, started.
#   floor-hidden, floor-tray, floor-shown, floor-face, hidden, shown, covered,
#   warning, and base-hidden, base-shown, base-covered, base-warning: the
#   monitor of BASE_RUN (another build's run folder) in those states
start_state() {
  case $1 in
  floor-hidden) start_floor floor-hidden ;;
  floor-tray) start_floor floor-tray --tray ;;
  floor-shown) start_floor floor-shown --label ;;
  floor-face) start_floor floor-face --face ;;
  hidden | shown | covered) start_monitor "$1" "$WORK/tree" ;;
  warning) start_monitor warning "$WORK/tree-warning" ;;
  base-hidden | base-shown | base-covered) start_monitor "$1" "$WORK/tree" "$BASE_RUN" ;;
  base-warning) start_monitor "$1" "$WORK/tree-warning" "$BASE_RUN" ;;
  *) echo "no state $1" >&2; exit 2 ;;
  esac
}

# settle_state STATE LIMIT: waits (at most LIMIT seconds per step) until the
# monitor is in its state. Every monitor hides to the tray at its first tick;
# the shown one is brought back by a double click on its tray icon (the
# covered one too, then a window is put over its face), the one in warning
# comes back by itself at its third evaluation out of range.
settle_state() {
  local name=$1 limit=$2 icon
  case $name in
  floor-*) ;;
  *hidden)
    wait_until "$limit" hidden_to_tray "$name" || fail_state "$name" "never hidden to the tray"
    ;;
  *shown | *covered)
    wait_until "$limit" hidden_to_tray "$name" || fail_state "$name" "never hidden to the tray"
    icon=$(window_of "$name" small)
    DISPLAY=${DISPLAY_OF[$name]} xdotool mousemove --window "$icon" 5 5 click --repeat 2 \
      --delay 60 1
    wait_until "$limit" face_shown "$name" || fail_state "$name" "the tray icon did not restore it"
    DISPLAY=${DISPLAY_OF[$name]} xdotool mousemove 0 0 # the pointer off the face
    case $name in *covered) cover_face "$name" ;; esac
    ;;
  *warning)
    wait_until "$limit" window_of "$name" small >/dev/null || fail_state "$name" "no tray icon"
    wait_until "$((limit + 10))" face_shown "$name" || fail_state "$name" "never came back"
    DISPLAY=${DISPLAY_OF[$name]} xdotool mousemove 0 0
    ;;
  esac
}

# check_state STATE: still in its state? (a message when not)
check_state() {
  case $1 in
  floor-*) ;;
  *hidden) hidden_to_tray "$1" || echo "WARNING: $1: the monitor came back" >&2 ;;
  *shown) face_shown "$1" || echo "WARNING: $1: the monitor was hidden" >&2 ;;
  *covered) face_covered "$1" || echo "WARNING: $1: the face is no longer covered" >&2 ;;
  *warning)
    grep -q 'CPU FAN' "$WORK/$1/work/log.dat" 2>/dev/null ||
      echo "WARNING: $1: no CPU fan warning was logged" >&2
    ;;
  esac
}

# Run time (ns) and time slices of each thread of a process: "tid ns slices".
threads() {
  local t
  for t in /proc/"$1"/task/*; do
    echo "${t##*/} $(cut -d' ' -f1,3 "$t/schedstat" 2>/dev/null)"
  done
}
# Resident and proportional set size (KiB) of a process.
memory() { awk '/^Rss:/ {r = $2} /^Pss:/ {p = $2} END {print r, p}' /proc/"$1"/smaps_rollup; }
# cpu_between BEFORE AFTER: run time (ns) and slices spent between two
# snapshots of threads (a thread born in between counts from zero).
cpu_between() {
  awk 'NR == FNR {run[$1] = $2; sl[$1] = $3; next}
       NF == 3 {r += $2 - run[$1]; s += $3 - sl[$1]} END {print r + 0, s + 0}' "$1" "$2"
}
