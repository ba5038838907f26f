#!/usr/bin/env bash
# Cancel in "System Protection" (clicked): no power-off, the monitor goes on.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display
export HMIO_SCENARIO=$WORK/scenarios/overheat.scenario
start_app
wait_for 25 find_dialog "System Protection" || fail "no System Protection dialog"
dialog=$(find_dialog "System Protection")
# Cancel sits at the right of the button row (dialog units 189..239 of 285, 50..64 of 71).
click_at "$dialog" 0.75 0.80
wait_for 5 bash -c "! xdotool search --onlyvisible --name '^System Protection\$'" || fail "Cancel did not close the dialog"
before=$(trace_count ValueRAM)
sleep 3
[ ! -e "$WORK/poweroff.txt" ] || fail "powered off after Cancel"
[ "$(trace_count ValueRAM)" -gt "$before" ] || fail "monitoring stopped"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
