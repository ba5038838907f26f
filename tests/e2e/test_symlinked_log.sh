#!/usr/bin/env bash
# log.dat as a symbolic link to another file: the link and its target are left
# alone (records never go through a link), the refusal is said once, and the
# warning still reaches the window.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
printf 'precious\n' > "$WORK/precious.txt"
ln -s precious.txt "$WORK/log.dat"
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario
start_app

wait_for 20 grep -q 'cannot write the warning log log.dat: is a symbolic link' "$WORK/app.out" \
  || fail "the link was not reported"
wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "the warning did not bring the window back"
[ -L "$WORK/log.dat" ] || fail "the link was replaced"
[ "$(cat "$WORK/precious.txt")" = precious ] || fail "the link's target was written"
[ ! -e "$WORK/log.dat.1" ] || fail "something was moved aside"

kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
echo "PASS"
