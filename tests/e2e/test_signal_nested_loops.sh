#!/usr/bin/env bash
# SIGTERM, SIGINT and SIGHUP while a menu or dialog runs a loop of its own
# (the Options menu, Settings, About, the inventory, the countdown): the
# monitor ends within a second (checked with a 5 s bound, the time printed) with status 0, the
# changed setting saved, the shared block removed, the exit helper started
# once, and no power-off from the countdown it closed.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display

# run_case WHAT SIGNAL OPENER: OPENER opens the loop in window W and prints
# the window that shows it.
run_case() {
  local what=$1 signal=$2 opener=$3
  cp "$RUN_DIR/Skins/Skin.ini" "$WORK/Skins/Skin.ini"
  set_interval 1
  rm -f "$WORK/tools.txt" "$WORK/poweroff.txt"
  start_app
  wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "$what: no window"
  W=$(visible_window_titled "$APP_PID" Sentinax4)
  wait_for 10 trace_has ValueRAM || fail "$what: no readings"
  click_unit_button "$W"
  click_cooling_button "$W"
  wait_for 5 grep -q frostline "$WORK/tools.txt" || fail "$what: the cooling tool did not start"
  "$opener" || fail "$what: it did not open"
  local start end
  start=$(now_ms)
  kill "-$signal" "$APP_PID"
  wait_exit "$APP_PID" 5 || fail "$what: still running 5 s after SIG$signal"
  end=$(now_ms)
  check_orderly_end "$what"
  echo "ok: $what: ended $((end - start)) ms after SIG$signal"
}

open_options_menu() {
  click_menu_button "$W"
  wait_for 5 other_window "$W" >/dev/null
}
# choose_menu_entry N: the Nth of the Options menu's three entries.
choose_menu_entry() {
  click_menu_button "$W"
  wait_for 5 other_window "$W" >/dev/null || return 1
  local menu height
  menu=$(other_window "$W")
  height=$(xdotool getwindowgeometry --shell "$menu" | sed -n 's/^HEIGHT=//p')
  sleep 0.3
  xdotool mousemove --window "$menu" 30 $((height * (2 * $1 - 1) / 6)) click 1
}
open_settings() {
  choose_menu_entry 3 || return 1 # Se&ttings
  wait_for 5 visible_window_titled "$APP_PID" Settings >/dev/null
}
open_inventory() {
  choose_menu_entry 2 || return 1 # &WMI info
  wait_for 10 visible_window_titled "$APP_PID" "WMI information" >/dev/null
}
open_about() {
  xdotool mousemove --window "$W" 489 18 click 1 # BUTTON_HELP
  wait_for 5 visible_window_titled "$APP_PID" "About Sentinax 4" >/dev/null
}
open_countdown() {
  wait_for 20 find_dialog "System Protection" >/dev/null
}

# The CPU is cool for the first readings (time to click), then too hot.
panel_board_with_tools "45*8 110"
run_case "Options menu open" TERM open_options_menu
run_case "Settings open" INT open_settings
run_case "About open" HUP open_about
run_case "inventory open" TERM open_inventory
run_case "countdown open" TERM open_countdown
echo "PASS"
