#!/usr/bin/env bash
# StatusNotifierItem trays (waybar under sway, on a private session bus):
# - a tray host started after the monitor (XWayland) is found and the icon is
#   registered with it; until then the hint line says how to get back;
# - the host's activation of the icon (its only click) brings the hidden
#   window back (native Wayland), where an XEmbed tray wants a double-click.
source "$(dirname "$0")/lib.sh"
command -v waybar >/dev/null || skip "waybar is not installed (scripts/deps.sh)"
prepare_workdir
set_interval 1
start_sway
start_tray_bus
export HMIO_SCENARIO=$WORK/scenarios/demo.scenario
printf '{"layer":"top","position":"top","height":24,"modules-right":["tray"],"tray":{"spacing":4}}\n' \
  > "$WORK/waybar.json"

start_waybar() {
  waybar -c "$WORK/waybar.json" >"$WORK/waybar.log" 2>&1 &
  WAYBAR_PID=$!
  APP_PIDS+=("$WAYBAR_PID")
}
# The items the tray's watcher holds (service and path of each).
items() {
  busctl --user get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | grep -o '"[^"]*"'
}
# Activates the monitor's icon as the tray does on a click.
activate() {
  local item service path
  item=$(items | tr -d '"' | head -n 1)
  service=${item%%/*}
  path=/${item#*/}
  [ "$path" = "/$item" ] && path=/StatusNotifierItem
  busctl --user call "$service" "$path" org.kde.StatusNotifierItem Activate ii 0 0
}
window_mapped() { sway_window_rect Sentinax4 >/dev/null; }

# 1. Late host, XWayland: no tray at start, waybar later.
QT_QPA_PLATFORM=xcb start_app
wait_for 20 trace_has ValueRAM || fail "no start"
sleep 2
items >/dev/null && fail "an item before any tray"
start_waybar
wait_for 15 items || fail "the monitor's icon never reached the tray that started later: $(cat "$WORK/app.out")"
activate || fail "the icon does not answer the tray's activation"
wait_for 5 window_mapped || fail "the window is not shown after the activation"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end (XWayland)"
grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "crash: $(cat "$WORK/app.out")"

# 2. Native Wayland with the tray there from the start: the first tick hides
#    the window to the tray; the tray's activation brings it back.
QT_QPA_PLATFORM=wayland start_app
wait_for 20 trace_has ValueRAM || fail "no start (Wayland)"
wait_for 10 items || fail "no icon in the tray (Wayland)"
wait_for 10 bash -c "! swaymsg -t get_tree | jq -e '.. | objects | select(.name? == \"Sentinax4\")' >/dev/null" ||
  fail "the window did not hide to the tray"
activate || fail "the icon does not answer the tray's activation (Wayland)"
wait_for 5 window_mapped || fail "the tray's activation did not bring the hidden window back"

# 3. The tray host crashes and comes back: the icon returns to it.
kill -KILL "$WAYBAR_PID"
wait "$WAYBAR_PID" 2>/dev/null || true
sleep 1
start_waybar
wait_for 15 items || fail "the icon did not return to the restarted tray"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end (Wayland)"
grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "crash: $(cat "$WORK/app.out")"
echo "PASS"
