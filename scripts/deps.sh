#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. As root the
# missing ones are installed with apt-get; otherwise the exact command is
# printed and the script fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins qt6-wayland
  libxcb1-dev libxcb-ewmh-dev libxcb-xfixes0-dev libwayland-dev libudev-dev libsensors-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool jwm trayer dbus
  sway xwayland grim waybar picom weston jq x11-xserver-utils x11-utils
  locales-all
  prometheus-node-exporter prometheus desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Run as root:" >&2
  echo "  $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
