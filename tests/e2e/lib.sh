# Shared helpers of the end-to-end tests: each test runs the real program in a
# fresh working folder, on the simulator, under its own Xvfb display.
# Needs: RUN_DIR (the build's run folder). Sourced by the test scripts.
set -euo pipefail

: "${RUN_DIR:?RUN_DIR must name the run folder of the build}"
# This file's folder (the tests' shared data lies beside it).
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

WORK=$(mktemp -d /tmp/sx-e2e-XXXXXX)
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME=$WORK/config
export HMIO_TRACE=$WORK/trace.txt
# The machine's own CPU must not change what a test sees: by default a CPU the
# rating table does not know (fake_cpuinfo below picks another).
printf 'processor\t: 0\nvendor_id\t: TestVendor\nmodel name\t: Test CPU\n\n' > "$WORK/cpuinfo"
export SENTINAX_CPUINFO=$WORK/cpuinfo
# No test may ever power the machine off: the request goes to a recorder.
export SENTINAX_POWEROFF_COMMAND="$WORK/poweroff-recorder"
printf '#!/bin/sh\necho poweroff >> "%s/poweroff.txt"\n' "$WORK" > "$SENTINAX_POWEROFF_COMMAND"
chmod +x "$SENTINAX_POWEROFF_COMMAND"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$WORK/no-system-bus

XVFB_PID=""
WM_PID=""
APP_PIDS=()

# The program publishes under the system-wide names; what a test run created
# there goes with it (a monitor's lock object otherwise outlives it by design).
SHM_CREATED=()
for name in HMShared ShareHMMemDataMutex; do
  [ -e "/dev/shm/$name" ] || SHM_CREATED+=("$name")
done

cleanup() {
  local pid
  # The program first, then sway, which ends its XWayland (and its sockets
  # in /tmp) on an ordinary stop.
  for pid in "${APP_PIDS[@]}"; do
    [ "$pid" = "${SWAY_PID:-}" ] || kill -KILL "$pid" 2>/dev/null || true
  done
  if [ -n "${SWAY_PID:-}" ] && kill -TERM "$SWAY_PID" 2>/dev/null; then
    for _ in $(seq 1 50); do kill -0 "$SWAY_PID" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$SWAY_PID" 2>/dev/null || true
  fi
  # XWayland's socket and lock, left when sway was killed (they are nobody's).
  if [ -n "${SWAY_XDISPLAY:-}" ]; then
    local n=${SWAY_XDISPLAY#:}
    for f in "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"; do
      [ "$(stat -c %U "$f" 2>/dev/null)" = nobody ] && rm -f "$f"
    done
  fi
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  local name
  # Only while no monitor holds the lock: a test run of another build folder
  # may have started one meanwhile, and its objects are not ours to take.
  if [ ${#SHM_CREATED[@]} -gt 0 ] && { [ ! -e /dev/shm/ShareHMMemDataMutex ] ||
       flock -n -x /dev/shm/ShareHMMemDataMutex true 2>/dev/null; }; then
    for name in "${SHM_CREATED[@]}"; do rm -f "/dev/shm/$name"; done
  fi
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" >&2 || rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$WORK/app.out" ]; then echo "--- program output:" >&2; cat "$WORK/app.out" >&2; fi
  if [ -f "${HMIO_TRACE:-}" ]; then echo "--- trace:" >&2; tail -n 40 "$HMIO_TRACE" >&2; fi
  exit 1
}

# Copies the run folder's data into the working folder (the binary and the
# libraries stay where they are and are found through the program's RPATH).
prepare_workdir() {
  cp -r "$RUN_DIR/Skins" "$WORK/" 2>/dev/null || true
  cp "$RUN_DIR"/*.table "$RUN_DIR"/*.map "$WORK/" 2>/dev/null || true
  cp -r "$RUN_DIR/scenarios" "$WORK/" 2>/dev/null || true
}

# fake_hwmon_tree VENDOR PRODUCT: a desktop's sysfs under $WORK/root (an
# NCT6798 super-I/O and coretemp) for the library's sysfs back end, with the
# board's identity and the host bridge's vendor; the readings sit inside the
# shipped skin's limits. Sets HMIO_SYSFS_ROOT; fans: fan2 CPU, fan1 system,
# fan3 auxiliary.
fake_hwmon_tree() {
  local root=$WORK/root nct=$WORK/root/sys/class/hwmon/hwmon2 core=$WORK/root/sys/class/hwmon/hwmon4
  mkdir -p "$nct" "$core" "$root/sys/class/dmi/id" "$root/sys/bus/pci/devices/0000:00:00.0"
  echo nct6798 > "$nct/name"
  echo 1350 > "$nct/in0_input"; echo 1012 > "$nct/in1_input"
  echo 3310 > "$nct/in3_input"; echo 1006 > "$nct/in4_input"
  echo 34000 > "$nct/temp1_input"; echo 45000 > "$nct/temp2_input"
  echo 1850 > "$nct/fan1_input"; echo 2700 > "$nct/fan2_input"; echo 2100 > "$nct/fan3_input"
  echo coretemp > "$core/name"; echo 45000 > "$core/temp1_input"
  echo "Korvane" > "$root/sys/class/dmi/id/board_vendor"
  echo "$2" > "$root/sys/class/dmi/id/board_name"
  echo "1.0" > "$root/sys/class/dmi/id/board_version"
  echo "$1" > "$root/sys/bus/pci/devices/0000:00:00.0/vendor"
  unset HMIO_SCENARIO
  export HMIO_SYSFS_ROOT=$root
}

# Sets the interval of the working folder's skin (seconds), so tests need not
# wait for the shipped 3 s interval.
set_interval() {
  sed -i "s/^IntervalTime=.*/IntervalTime=$1\r/" "$WORK/Skins/Skin.ini"
}

# The warning log's records (each a line and an empty line, CR LF ends).
log_records() { [ -f "$WORK/log.dat" ] && grep -c 'WARNING' "$WORK/log.dat" || echo 0; }

# A visible window of the process with this exact title, by window id.
find_dialog() {
  local w
  for w in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do echo "$w"; return 0; done
  return 1
}

# Clicks inside a window at a point given as fractions of its size.
click_at() {
  local w=$1 fx=$2 fy=$3 geo width height
  geo=$(xdotool getwindowgeometry --shell "$w")
  width=$(echo "$geo" | sed -n 's/^WIDTH=//p')
  height=$(echo "$geo" | sed -n 's/^HEIGHT=//p')
  xdotool mousemove --window "$w" "$(awk "BEGIN{print int($width*$fx)}")" \
    "$(awk "BEGIN{print int($height*$fy)}")" click 1
}

# Starts a private X server (and, with "wm", a window manager with a tray).
start_display() {
  # The server picks a free display itself, so tests can run side by side.
  # -noreset: without it the server resets when its last client leaves (the
  # readiness probe below), and a program connecting in that instant fails.
  # -fbdir keeps the screen in $WORK/Xvfb_screen0 (XWD) for screen_cut.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -fbdir "$WORK" \
    3>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 200); do
    [ -s "$WORK/display" ] && break
    sleep 0.05
  done
  [ -s "$WORK/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  wait_for 10 xdotool getmouselocation || fail "Xvfb does not answer"
  if [ "${1:-}" = "wm" ]; then
    HOME=$WORK jwm >/dev/null 2>&1 &
    WM_PID=$!
    sleep 1
  fi
}

# screen_cut WINDOW X Y WIDTH HEIGHT OUT.png: saves a rectangle of a window
# (window coordinates) from the screen; prints "colours N".
screen_cut() {
  local geo wx wy
  geo=$(xdotool getwindowgeometry --shell "$1") || return 1
  wx=$(echo "$geo" | sed -n 's/^X=//p')
  wy=$(echo "$geo" | sed -n 's/^Y=//p')
  "$SCREEN_TOOL" "$WORK/Xvfb_screen0" "$6" $((wx + $2)) $((wy + $3)) "$4" "$5"
}

# Starts the program in the working folder; sets APP_PID.
start_app() {
  (cd "$WORK" && exec "$RUN_DIR/sentinax4" >"$WORK/app.out" 2>&1) &
  APP_PID=$!
  APP_PIDS+=("$APP_PID")
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# wait_exit PID SECONDS: waits for the process to end and sets EXIT_CODE;
# fails when it is still running after that long.
EXIT_CODE=""
wait_exit() {
  local pid=$1 end=$((SECONDS + $2))
  while kill -0 "$pid" 2>/dev/null; do
    if [ $SECONDS -ge $end ]; then return 1; fi
    sleep 0.1
  done
  EXIT_CODE=0
  wait "$pid" || EXIT_CODE=$?
}

# Presses a key in a window. xdotool types into the focused window through
# the server (XTEST), and sends the release to the window it was given: when
# the press closed that window, the release fails and the server keeps the key
# down, repeating it into whatever window comes next. So the key is released
# again for the server itself (a release of a key that is up is dropped), and
# a key still held after that fails the test.
press_key() {
  xdotool key --window "$1" "$2" 2>/dev/null || true
  xdotool keyup "$2" 2>/dev/null || true
  local down
  down=$("$KEYS_TOOL") || fail "press_key $2: keys still down on the server: $down"
}

trace_has() { grep -q "^$1(" "$HMIO_TRACE" 2>/dev/null; }
trace_count() { grep -c "^$1(" "$HMIO_TRACE" 2>/dev/null || true; }
# The entry point names of the trace, in order.
trace_names() { sed -n 's/^\([A-Za-z0-9_]*\)(.*/\1/p' "$HMIO_TRACE"; }

# Windows of a process (visible only with "visible").
windows_of() {
  if [ "${2:-}" = "visible" ]; then
    xdotool search --onlyvisible --pid "$1" 2>/dev/null
  else
    xdotool search --pid "$1" 2>/dev/null
  fi
}
has_visible_window() { [ -n "$(windows_of "$1" visible)" ]; }
# A visible window of the process with exactly this title.
visible_window_titled() {
  local w
  for w in $(windows_of "$1" visible); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$2" ] && { echo "$w"; return 0; }
  done
  return 1
}

# Tests that need something this machine cannot run end with this code, which
# ctest reports as skipped; the reason is printed first.
SKIP_CODE=77
skip() {
  echo "SKIP: $*"
  exit "$SKIP_CODE"
}

# start_sway: a headless wlroots desktop (sway, software rendering) with
# XWayland, run as the unprivileged user nobody (sway refuses root) in its own
# runtime folder. Sets WAYLAND_DISPLAY (a path), DISPLAY (XWayland's) and
# SWAYSOCK. The desktop's background is sway's own grey (no wallpaper), which
# is what shows through a window's transparent pixels. Skips where it cannot run.
SWAY_PID=""
start_sway() {
  command -v sway >/dev/null || skip "sway is not installed (scripts/deps.sh)"
  command -v Xwayland >/dev/null || skip "Xwayland is not installed (scripts/deps.sh)"
  [ "$(id -u)" = 0 ] || skip "starting sway as another user needs root"
  local rt=$WORK/wl
  mkdir -m 0700 "$rt"
  chown nobody:nogroup "$rt"
  chmod 0755 "$WORK"
  # Fixed-size windows float, centred; no borders or bars; XWayland at once,
  # letting root (the tests) in: XWayland runs as nobody.
  cat > "$rt/config" <<CONF
output HEADLESS-1 resolution 1024x768
default_border none
default_floating_border none
xwayland force
exec sh -c 'xhost +si:localuser:root >/dev/null; echo "\$DISPLAY" > $rt/xdisplay'
CONF
  chown nobody:nogroup "$rt/config"
  (cd "$rt" && exec env -i PATH="$PATH" HOME="$rt" XDG_RUNTIME_DIR="$rt" WLR_BACKENDS=headless \
     WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
     setpriv --reuid=nobody --regid=nogroup --clear-groups sway -c "$rt/config" \
     >"$WORK/sway.log" 2>&1) &
  SWAY_PID=$!
  APP_PIDS+=("$SWAY_PID")
  wait_for 15 test -S "$rt/wayland-1" || { cat "$WORK/sway.log" >&2; skip "sway did not start headless here"; }
  wait_for 15 test -s "$rt/xdisplay" || skip "XWayland did not start under sway"
  export WAYLAND_DISPLAY=$rt/wayland-1
  export DISPLAY
  DISPLAY=$(cat "$rt/xdisplay")
  SWAY_XDISPLAY=$DISPLAY
  SWAYSOCK=$(ls "$rt"/sway-ipc.*.sock)
  export SWAYSOCK
  wait_for 10 xdotool getmouselocation || { cat "$WORK/sway.log" >&2; echo "DISPLAY=$DISPLAY" >&2; xdotool getmouselocation >&2; skip "XWayland does not answer"; }
}

# A private session bus for the tray tests, nothing on it; sets
# DBUS_SESSION_BUS_ADDRESS.
start_tray_bus() {
  command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed"
  dbus-daemon --session --nofork --print-address=3 --address="unix:path=$WORK/session-bus" \
    3>"$WORK/bus-address" >/dev/null 2>&1 &
  APP_PIDS+=("$!")
  wait_for 10 test -s "$WORK/bus-address" || fail "no session bus"
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/session-bus
}

# start_tray_desktop: what the tray tests stand on (waybar, which
# start_waybar starts, skips the test where it is missing): the working folder
# on the demo scenario at a 1 s interval, the sway desktop and a private
# session bus for the tray.
start_tray_desktop() {
  command -v waybar >/dev/null || skip "waybar is not installed (scripts/deps.sh)"
  prepare_workdir
  set_interval 1
  start_sway
  start_tray_bus
  export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
}

# start_waybar: a bar with a tray (a StatusNotifierItem host) at the top of
# the sway desktop, 24 pixels high, on the session bus; its output goes to
# $WORK/waybar.log. Sets WAYBAR_PID.
start_waybar() {
  printf '{"layer":"top","position":"top","height":24,"modules-right":["tray"],"tray":{"spacing":4}}\n' \
    >"$WORK/waybar.json"
  waybar -c "$WORK/waybar.json" >"$WORK/waybar.log" 2>&1 &
  WAYBAR_PID=$!
  APP_PIDS+=("$WAYBAR_PID")
}

# The items the tray's watcher holds ("service/path" each, quoted).
tray_items() {
  busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | grep -o '"[^"]*"'
}

# Activates the first item of the tray as the tray does on a click.
activate_tray_icon() {
  local item service path
  item=$(tray_items | tr -d '"' | head -n 1)
  service=${item%%/*}
  path=/${item#*/}
  [ "$path" = "/$item" ] && path=/StatusNotifierItem
  busctl --user call "$service" "$path" org.kde.StatusNotifierItem Activate ii 0 0
}

# The sway tree's window with this exact title: "x y width height" of its
# rectangle on the output, or nothing (exit 1) while it is not mapped.
sway_window_rect() {
  swaymsg -t get_tree 2>/dev/null | jq -er --arg t "$1" \
    'first(.. | objects | select(.name? == $t and (.pid? != null)) | .rect | "\(.x) \(.y) \(.width) \(.height)")'
}

# fake_cpuinfo VENDOR FAMILY MODEL NAME: the monitor reads this CPU instead of
# /proc/cpuinfo (SENTINAX_CPUINFO), for its rated maximum.
fake_cpuinfo() {
  printf 'processor\t: 0\nvendor_id\t: %s\ncpu family\t: %s\nmodel\t\t: %s\nmodel name\t: %s\n\n' \
    "$1" "$2" "$3" "$4" > "$WORK/cpuinfo"
  export SENTINAX_CPUINFO=$WORK/cpuinfo
}

# load_scenario NAME CPU_TEMPS [EXTRA_LINE...]: a desktop board (KX-4100) whose
# CPU temperature follows CPU_TEMPS (a scenario sequence); every other reading
# sits inside the shipped skin's limits. Sets HMIO_SCENARIO.
load_scenario() {
  local name=$1 temps=$2
  shift 2
  {
    printf 'manufacturer Korvane\nproduct KX-4100 Load\nversion 1.0\nvendor 0x1022\n'
    printf 'load 1\nlm78 1\nlm75 1\nparam 0 %s\n' "$temps"
    printf 'slot 0 1350\nslot 2 3310\nslot 3 5030\nslot 4 12150\nslot 7 38\n'
    printf 'slot 8 2700\nslot 9 1850\nslot 10 2100\n'
    local line
    for line in "$@"; do printf '%s\n' "$line"; done
  } > "$WORK/scenarios/$name.scenario"
  export HMIO_SCENARIO=$WORK/scenarios/$name.scenario
}

# set_cpu_upper_position P: the CPU temperature upper limit's adjuster position
# in the working folder's skin (P * 0.5 + 50 degrees).
set_cpu_upper_position() {
  sed -i "s/^\(1=CPU_TEMP_UPPER_LIMIT,.*,H,\)[0-9]*/\1$1/" "$WORK/Skins/Skin.ini"
}

# start_private_bus system|session: a dbus-daemon of the test's own with the
# permissive policy of tests/support/private-bus.conf, its socket at
# $WORK/TYPE-bus. Sets DBUS_SYSTEM_BUS_ADDRESS or DBUS_SESSION_BUS_ADDRESS.
start_private_bus() {
  local type=$1
  sed -e "s|@TYPE@|$type|" -e "s|@SOCKET@|$WORK/$type-bus|" \
    "$E2E_DIR/../support/private-bus.conf" >"$WORK/$type.conf"
  dbus-daemon --config-file="$WORK/$type.conf" --nofork --print-address=1 \
    >"$WORK/$type-address" 2>/dev/null &
  APP_PIDS+=("$!")
  wait_for 10 test -s "$WORK/$type-address" || fail "no private $type bus"
  export "DBUS_${type^^}_BUS_ADDRESS=$(head -n 1 "$WORK/$type-address")"
}

# start_session_bus MODE: a private session bus with the fake notification
# service in MODE (see tests/alerts/ui/FakeNotifications.cpp); its calls go to
# $WORK/notifications.txt. Sets DBUS_SESSION_BUS_ADDRESS.
start_session_bus() {
  start_private_bus session
  start_notifier "$1"
}

# start_notifier MODE: (re)starts the fake notification service; sets NOTIFIER_PID.
NOTIFIER_PID=""
start_notifier() {
  if [ -n "$NOTIFIER_PID" ]; then
    kill "$NOTIFIER_PID" 2>/dev/null || true
    wait "$NOTIFIER_PID" 2>/dev/null || true
  fi
  : > "$WORK/notifier.out"
  "$FAKE_NOTIFICATIONS" "$WORK/notifications.txt" "$1" > "$WORK/notifier.out" 2>&1 &
  NOTIFIER_PID=$!
  APP_PIDS+=("$NOTIFIER_PID")
  wait_for 10 grep -q ready "$WORK/notifier.out" || fail "the fake notification service did not start"
}

# Ends the test X server (and its window manager), so that another can start.
stop_display() {
  [ -n "$WM_PID" ] && { kill "$WM_PID" 2>/dev/null || true; wait "$WM_PID" 2>/dev/null || true; }
  [ -n "$XVFB_PID" ] && { kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; }
  WM_PID=""
  XVFB_PID=""
  rm -f "$WORK/display" "$WORK/Xvfb_screen0"
}

# Milliseconds since the epoch.
now_ms() { date +%s%3N; }

# panel_board_with_tools: the panel-display board (its window is never hidden,
# so it can be clicked without a tray), allowed the cooling tool through the
# user's board table, with recorders for the tool and its exit helper on PATH
# ($WORK/tools.txt gets "frostline" and "haltix" lines). CPU_TEMPS as in
# load_scenario.
panel_board_with_tools() {
  load_scenario panel "$1"
  sed -i 's/^product .*/product KX-8011 Display/' "$HMIO_SCENARIO"
  mkdir -p "$XDG_CONFIG_HOME/sentinax" "$WORK/bin"
  printf '[FrostlineSupported]\nboard 8011 => FrostlineSupported=yes\n' \
    > "$XDG_CONFIG_HOME/sentinax/boards.table"
  local tool
  for tool in frostline haltix; do
    printf '#!/bin/sh\necho %s >> "%s/tools.txt"\n' "$tool" "$WORK" > "$WORK/bin/$tool"
    chmod +x "$WORK/bin/$tool"
  done
  export PATH="$WORK/bin:$PATH"
}

# The face's buttons of the shipped Skin.ini, clicked in window W.
click_unit_button() { xdotool mousemove --window "$1" 46 71 click 1; }
click_cooling_button() { xdotool mousemove --window "$1" 46 101 click 1; }
click_menu_button() { xdotool mousemove --window "$1" 465 18 click 1; }

# A visible window of the process that is neither of the two given.
other_window() {
  local w
  for w in $(windows_of "$APP_PID" visible); do
    [ "$w" != "$1" ] && [ "$w" != "${2:-}" ] && { echo "$w"; return 0; }
  done
  return 1
}

# check_orderly_end WHAT: after the monitor ended: status 0 unless EXPECT_STATUS
# says otherwise, the unit change saved, no shared block left, its lock free,
# the exit helper started once, no power-off.
check_orderly_end() {
  local what=$1
  [ "$EXIT_CODE" = "${EXPECT_STATUS:-0}" ] || fail "$what: exit status $EXIT_CODE"
  tr -d '\r' < "$WORK/Skins/Skin.ini" | grep -qx 'Celsius=0' || fail "$what: the unit was not saved"
  [ ! -e /dev/shm/HMShared ] || fail "$what: /dev/shm/HMShared left behind"
  flock -n -x /dev/shm/ShareHMMemDataMutex true 2>/dev/null || fail "$what: the lock is still held"
  wait_for 5 grep -q haltix "$WORK/tools.txt" || fail "$what: no exit helper"
  sleep 0.5
  [ "$(grep -c haltix "$WORK/tools.txt")" = 1 ] || fail "$what: exit helper started $(grep -c haltix "$WORK/tools.txt") times"
  [ ! -e "$WORK/poweroff.txt" ] || fail "$what: power-off requested"
}
