#!/usr/bin/env bash
# The display dies under a running monitor (the X server, then a Wayland
# compositor): the program ends within seconds, and its clean-up has run
# first: the settings are saved (here: the missing skin file is made), the
# shared block is gone and no power-off was ever asked for.
source "$(dirname "$0")/lib.sh"
prepare_workdir
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario

# dies KIND PID: the display process goes; the monitor must follow cleanly.
dies() {
  rm -f "$WORK/Skins/Skin.ini"
  wait_for 20 trace_has ValueRAM || fail "$1: no start"
  [ -e /dev/shm/HMShared ] || fail "$1: no shared block to take down"
  kill -KILL "$2"
  wait "$2" 2>/dev/null || true
  wait_exit "$APP_PID" 15 || fail "$1: the monitor outlived its display"
  grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "$1: crash: $(cat "$WORK/app.out")"
  [ -f "$WORK/Skins/Skin.ini" ] || fail "$1: the clean-up did not run (no skin file saved): $(cat "$WORK/app.out")"
  [ -e /dev/shm/HMShared ] && fail "$1: the shared block was left behind"
  [ -e "$WORK/poweroff.txt" ] && fail "$1: a power-off was asked for"
  : > "$HMIO_TRACE"
  return 0
}

start_display
start_app
dies X11 "$XVFB_PID"
XVFB_PID=""

start_sway
QT_QPA_PLATFORM=wayland start_app
dies Wayland "$SWAY_PID"
SWAY_PID=""
echo "PASS"
