#!/usr/bin/env bash
# StatusNotifierItem trays (waybar under sway, on a private session bus):
# - a tray host started after the monitor (XWayland) is found and the icon is
#   registered with it; until then the hint line says how to get back;
# - the host's activation of the icon (its only click) brings the hidden
#   window back (native Wayland), where an XEmbed tray wants a double-click.
source "$(dirname "$0")/lib.sh"
start_tray_desktop
window_mapped() { sway_window_rect Sentinax4 >/dev/null; }

# 1. Late host, XWayland: no tray at start, waybar later.
QT_QPA_PLATFORM=xcb start_app
wait_for 20 trace_has ValueRAM || fail "no start"
sleep 2
tray_items >/dev/null && fail "an item before any tray"
start_waybar
wait_for 15 tray_items || fail "the monitor's icon never reached the tray that started later: $(cat "$WORK/app.out")"
activate_tray_icon || fail "the icon does not answer the tray's activation"
wait_for 5 window_mapped || fail "the window is not shown after the activation"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end (XWayland)"
grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "crash: $(cat "$WORK/app.out")"

# 2. Native Wayland with the tray there from the start: the first tick hides
#    the window to the tray; the tray's activation brings it back.
QT_QPA_PLATFORM=wayland start_app
wait_for 20 trace_has ValueRAM || fail "no start (Wayland)"
wait_for 10 tray_items || fail "no icon in the tray (Wayland)"
wait_for 10 bash -c "! swaymsg -t get_tree | jq -e '.. | objects | select(.name? == \"Sentinax4\")' >/dev/null" ||
  fail "the window did not hide to the tray"
activate_tray_icon || fail "the icon does not answer the tray's activation (Wayland)"
wait_for 5 window_mapped || fail "the tray's activation did not bring the hidden window back"

# 3. The tray host crashes and comes back: the icon returns to it.
kill -KILL "$WAYBAR_PID"
wait "$WAYBAR_PID" 2>/dev/null || true
sleep 1
start_waybar
wait_for 15 tray_items || fail "the icon did not return to the restarted tray"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end (Wayland)"
grep -q 'Segmentation\|Aborted' "$WORK/app.out" && fail "crash: $(cat "$WORK/app.out")"
echo "PASS"
