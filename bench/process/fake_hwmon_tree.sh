#!/usr/bin/env bash
# Builds the desktop that the process benchmark measures on, as plain files
# under ROOT: an NCT6798 super-I/O (hwmon2) and coretemp (hwmon4) in
# ROOT/sys/class/hwmon, the board's identity in ROOT/sys/class/dmi/id, the host
# bridge's PCI vendor (Intel) in ROOT/vendor, and an empty ROOT/firmware (no
# DMI table, so the identity comes from dmi/id). The readings sit inside the
# shipped standard skin's limits; with --fan-warning the CPU fan turns at
# 300 rpm, under its lower limit, so the monitor warns (blinking readout,
# alarm) from its third evaluation on.
#
# The monitor reads the tree either through HMIO_SYSFS_ROOT=ROOT or with
# ROOT/sys/class mounted over /sys/class (bench/process/measure.sh does the
# latter in a private mount namespace).
# Usage: fake_hwmon_tree.sh ROOT [--fan-warning]
set -euo pipefail
root=${1:?usage: fake_hwmon_tree.sh ROOT [--fan-warning]}
cpu_fan=2700
[ "${2:-}" = "--fan-warning" ] && cpu_fan=300

nct=$root/sys/class/hwmon/hwmon2
core=$root/sys/class/hwmon/hwmon4
dmi=$root/sys/class/dmi/id
mkdir -p "$nct" "$core" "$dmi" "$root/firmware" "$root/sys/bus/pci/devices/0000:00:00.0"

echo nct6798 >"$nct/name"
echo 1350 >"$nct/in0_input"  # Vcore, mV
echo 1012 >"$nct/in1_input"  # +12 V through its divider (x 12)
echo 3310 >"$nct/in3_input"  # 3.3 V
echo 1006 >"$nct/in4_input"  # +5 V through its divider (x 5)
echo 34000 >"$nct/temp1_input" # system, millidegrees
echo 45000 >"$nct/temp2_input"
echo 1850 >"$nct/fan1_input" # system fan, rpm
echo "$cpu_fan" >"$nct/fan2_input"
echo 2100 >"$nct/fan3_input"
echo coretemp >"$core/name"
echo 45000 >"$core/temp1_input"

echo Korvane >"$dmi/board_vendor"
echo "KX-4100 Bench" >"$dmi/board_name"
echo 1.0 >"$dmi/board_version"
echo 0x8086 >"$root/vendor"
# The same vendor where HMIO_SYSFS_ROOT points at the tree.
echo 0x8086 >"$root/sys/bus/pci/devices/0000:00:00.0/vendor"
