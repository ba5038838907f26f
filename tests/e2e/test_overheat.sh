#!/usr/bin/env bash
# The CPU overheats: "System Protection" opens after three evaluations; while
# it is open the other items go on being evaluated and logged; with no action
# the power-off request (a recorder here) is made once after 30 seconds.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display wm
cat > "$WORK/scenarios/overheat-fan.scenario" <<'SCEN'
manufacturer Korvane
product KX-4100 Heat
version 1.0
vendor 0x1022
load 1
lm78 1
lm75 1
param 0 45 45 105
slot 0 1350
slot 2 3310
slot 3 5030
slot 4 12150
slot 7 38
slot 8 2700*8 0
slot 9 1850
slot 10 2100
SCEN
export HMIO_SCENARIO=$WORK/scenarios/overheat-fan.scenario
start_app

wait_for 20 find_dialog "System Protection" || fail "no System Protection dialog"
opened=$SECONDS
grep -qa 'CPU Temperature WARNING : 105 degrees' "$WORK/log.dat" || fail "no temperature record"
# The fan stops while the dialog is open: nested ticks still evaluate it.
wait_for 15 grep -qa 'CPU FAN SPEED WARNING' "$WORK/log.dat" || fail "no fan record during the dialog"
find_dialog "System Protection" >/dev/null || fail "the dialog closed early"
[ ! -e "$WORK/poweroff.txt" ] || fail "powered off before the countdown ended"
wait_for 40 test -s "$WORK/poweroff.txt" || fail "no power-off request after the countdown"
elapsed=$((SECONDS - opened))
[ "$elapsed" -ge 27 ] || fail "power-off after only $elapsed s"
sleep 2
[ "$(wc -l < "$WORK/poweroff.txt")" = 1 ] || fail "power-off requested $(wc -l < "$WORK/poweroff.txt") times"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
