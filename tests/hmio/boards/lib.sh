# Builds a fake sysfs tree of one board from a .board file (a bash fragment
# sourced after this library). The tree is laid out as /sys would be:
#   $BOARD_TREE/class/hwmon/hwmonN/     the chips (name, attributes, device link)
#   $BOARD_TREE/devices/...             their devices, each with a subsystem link
#                                       into $BOARD_TREE/bus/<bus>, so that
#                                       libsensors names the chip by its bus
#   $BOARD_TREE/dmi/id/board_*          the board's DMI strings
#   $BOARD_TREE/pci/0000:00:00.0/vendor the host bridge's vendor
# mount_board_tree (in a private mount namespace) puts it in place over /sys.
#
# The board file's words:
#   board "<vendor>" "<name>" [<version>]
#   host 0x1022|0x8086
#   chip <hwmon name> <bus> [<device>]   bus: isa pci i2c acpi wmi virtual
#   attr <file> <value>
#   expect <item> <value>|none           mV, whole degrees C, rpm
#   sensors_conf <<'CONF' ... CONF       an lm-sensors configuration

BOARD_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# enter_board_namespace ARGS...: re-runs the calling script with ARGS in a
# private mount namespace, where it may mount over /sys, unless it runs in one
# already; skips (exit 77) where none can be made.
enter_board_namespace() {
  [ -z "${SX_BOARD_NAMESPACE:-}" ] || return 0
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "SKIP: cannot make a private mount namespace (needs root or user namespaces)"
    exit 77
  fi
  SX_BOARD_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
}

# board_test_setup: inside the namespace, a /dev/shm of the test's own (so
# the monitor's shared block never meets another test's) and the end-to-end
# helpers, with no simulator, tree, channel map or wiring table chosen.
board_test_setup() {
  mount -t tmpfs -o mode=1777 sentinax-shm /dev/shm
  source "$BOARD_LIB_DIR/../../e2e/lib.sh"
  unset HMIO_SYSFS_ROOT HMIO_SCENARIO HMIO_CHANNEL_MAP HMIO_BOARD_WIRING
}

# use_example_wiring: the example boards' wiring rows as the user's own.
use_example_wiring() {
  mkdir -p "$XDG_CONFIG_HOME/sentinax"
  cp "$BOARD_LIB_DIR/example-wiring.table" "$XDG_CONFIG_HOME/sentinax/board-wiring.table"
}

BOARD_TREE=""
BOARD_CHIP=""
BOARD_CHIPS=0
BOARD_EXPECT=()
BOARD_CONF=""

# board_tree_begin DIR: starts an empty tree in DIR.
board_tree_begin() {
  BOARD_TREE=$1
  rm -rf "$BOARD_TREE"
  mkdir -p "$BOARD_TREE/class/hwmon" "$BOARD_TREE/devices" "$BOARD_TREE/bus" \
    "$BOARD_TREE/dmi/id" "$BOARD_TREE/pci/0000:00:00.0"
  BOARD_CHIP=""
  BOARD_CHIPS=0
  BOARD_EXPECT=()
  BOARD_CONF=""
  echo 0x1022 > "$BOARD_TREE/pci/0000:00:00.0/vendor"
}

board() {
  printf '%s\n' "$1" > "$BOARD_TREE/dmi/id/board_vendor"
  printf '%s\n' "$2" > "$BOARD_TREE/dmi/id/board_name"
  printf '%s\n' "${3:-}" > "$BOARD_TREE/dmi/id/board_version"
}

host() { printf '%s\n' "$1" > "$BOARD_TREE/pci/0000:00:00.0/vendor"; }

chip() {
  local name=$1 bus=$2 device=${3:-} folder subsystem place
  folder=$BOARD_TREE/class/hwmon/hwmon$BOARD_CHIPS
  BOARD_CHIPS=$((BOARD_CHIPS + 1))
  mkdir -p "$folder"
  printf '%s\n' "$name" > "$folder/name"
  BOARD_CHIP=$folder
  case $bus in
    virtual) return 0 ;;
    isa) subsystem=platform; place=platform ;;
    pci) subsystem=pci; place=pci0000:00 ;;
    i2c) subsystem=i2c; place=i2c ;;
    acpi) subsystem=acpi; place=acpi ;;
    wmi) subsystem=wmi; place=wmi ;;
    *) echo "board file: unknown bus '$bus'" >&2; return 1 ;;
  esac
  [ -n "$device" ] || { echo "board file: chip $name needs a device" >&2; return 1; }
  mkdir -p "$BOARD_TREE/devices/$place/$device" "$BOARD_TREE/bus/$subsystem"
  ln -sfn "$BOARD_TREE/bus/$subsystem" "$BOARD_TREE/devices/$place/$device/subsystem"
  ln -sfn "$BOARD_TREE/devices/$place/$device" "$folder/device"
}

attr() {
  [ -n "$BOARD_CHIP" ] || { echo "board file: attr before any chip" >&2; return 1; }
  printf '%s\n' "$2" > "$BOARD_CHIP/$1"
}

expect() { BOARD_EXPECT+=("$1 $2"); }

sensors_conf() { BOARD_CONF=$(cat); }

# build_board_tree FILE DIR: the tree of one board file.
build_board_tree() {
  board_tree_begin "$2"
  # shellcheck disable=SC1090
  source "$1"
}

# mount_board_tree [with-conf]: in a private mount namespace (root), puts the
# tree over /sys/class/hwmon (a tmpfs over /sys/class first), the DMI strings
# and the host bridge, hides the real DMI table, and gives /etc/sensors.d the
# board's configuration (with-conf) or nothing.
mount_board_tree() {
  mount -t tmpfs -o mode=0755 sentinax-class /sys/class
  mkdir -p /sys/class/hwmon /sys/class/dmi/id
  mount --bind "$BOARD_TREE/class/hwmon" /sys/class/hwmon
  mount --bind "$BOARD_TREE/dmi/id" /sys/class/dmi/id
  mount -t tmpfs -o mode=0755 sentinax-firmware /sys/firmware
  mount -t tmpfs -o mode=0755 sentinax-pci /sys/bus/pci/devices
  mkdir -p /sys/bus/pci/devices/0000:00:00.0
  mount --bind "$BOARD_TREE/pci/0000:00:00.0" /sys/bus/pci/devices/0000:00:00.0
  mkdir -p /etc/sensors.d
  mount -t tmpfs -o mode=0755 sentinax-sensors /etc/sensors.d
  if [ "${1:-}" = with-conf ] && [ -n "$BOARD_CONF" ]; then
    printf '%s\n' "$BOARD_CONF" > /etc/sensors.d/board.conf
  fi
}

# The report's title of an item.
item_title() {
  case $1 in
    vcore) echo "Vcore" ;; v33) echo "+3.3 V" ;; v5) echo "+5 V" ;; v12) echo "+12 V" ;;
    cputemp) echo "CPU temperature" ;; systemp) echo "system temperature" ;;
    cpufan) echo "CPU fan" ;; sysfan) echo "system fan" ;; fan3) echo "third fan" ;;
    *) return 1 ;;
  esac
}

# check_report REPORT: compares the "values" part of a --sensors report with
# the board's expectations (within 2 %); prints each mismatch, fails on any.
check_report() {
  local report=$1 failed=0 entry item want title line got unit
  for entry in "${BOARD_EXPECT[@]}"; do
    item=${entry%% *}
    want=${entry#* }
    want=${want%%[[:space:]]*}
    title=$(item_title "$item") || { echo "unknown item '$item'"; failed=1; continue; }
    line=$(awk -v t="$title" '/^values$/ {v=1; next}
      v { s = substr($0, 3, 20); sub(/ +$/, "", s); if (s == t) { print substr($0, 23); exit } }' \
      "$report" | sed 's/^ *//')
    read -r got unit _ <<< "$line"
    if [ "$want" = none ]; then
      case $line in
        "not monitored"*|"not read"*|"no reading"*) ;;
        *) [ "$got" = 0 ] || [ "$got" = 0.000 ] ||
             { echo "$item: expected none, the report says '$line'"; failed=1; } ;;
      esac
      continue
    fi
    case $unit in
      V) got=$(awk -v g="$got" 'BEGIN { printf "%d", g * 1000 + (g < 0 ? -0.5 : 0.5) }') ;;
      C|rpm) ;;
      *) echo "$item: expected $want, the report says '$line'"; failed=1; continue ;;
    esac
    if ! awk -v g="$got" -v w="$want" 'BEGIN { d = g - w; if (d < 0) d = -d;
           lim = (w < 0 ? -w : w) * 0.02; exit !(d <= lim) }'; then
      echo "$item: expected $want, read $got ($line)"
      failed=1
    fi
  done
  return $failed
}
