#!/usr/bin/env bash
# The X server goes away under a running monitor (killed, as a crashed display
# server or a closed remote session would): the monitor ends in order within a
# few seconds, with a clear message, the changed setting saved, the shared
# block and its lock removed (so no reader takes stale values for live ones),
# and the exit helper started once.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
panel_board_with_tools "45"
start_app
wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "no window"
W=$(visible_window_titled "$APP_PID" Sentinax4)
wait_for 10 trace_has ValueRAM || fail "no readings"
click_unit_button "$W"
click_cooling_button "$W"
wait_for 5 grep -q frostline "$WORK/tools.txt" || fail "the cooling tool did not start"
[ -e /dev/shm/HMShared ] || fail "no shared block while running"

start=$(now_ms)
kill -KILL "$XVFB_PID"
XVFB_PID=""
wait_exit "$APP_PID" 5 || fail "the monitor kept running without its display"
end=$(now_ms)
EXPECT_STATUS=1 check_orderly_end "display lost"
grep -q 'sentinax4: the display connection was lost' "$WORK/app.out" || fail "no clear message"
echo "ok: ended $((end - start)) ms after the X server died"
echo "PASS"
