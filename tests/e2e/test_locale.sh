#!/usr/bin/env bash
# Under a language whose decimal mark is a comma the log and the readouts
# still show a point: the +12 V readout of a German run looks exactly like the
# one of a run in the C locale, and the warning record says "2.10 v".
source "$(dirname "$0")/lib.sh"
# (grep -q ends early; with pipefail the writer's broken pipe would count)
LOCALES=$(locale -a 2>/dev/null)
grep -qix 'de_DE.utf8' <<<"$LOCALES" || fail "the de_DE.UTF-8 locale is not installed (locales-all)"
prepare_workdir
set_interval 1
start_display wm
export HMIO_SCENARIO=$WORK/scenarios/vcore-high.scenario

# run_in LOCALE OUT.png: runs until the warning brought the window back, then
# cuts the +12 V readout (12.15 V) out of the screen.
run_in() {
  rm -f "$WORK/log.dat"
  export LC_ALL=$1
  start_app
  unset LC_ALL
  wait_for 20 test -s "$WORK/log.dat" || fail "$1: no warning record"
  wait_for 5 visible_window_titled "$APP_PID" Sentinax4 || fail "$1: the window did not come back"
  sleep 1.5 # at least one more evaluation painted on the shown window
  local w colours
  w=$(visible_window_titled "$APP_PID" Sentinax4)
  colours=$(screen_cut "$w" 460 258 60 20 "$2") || fail "$1: no screen cut"
  [ "${colours#colours }" -gt 2 ] || fail "$1: the readout is empty ($colours)"
  kill -TERM "$APP_PID"
  wait_exit "$APP_PID" 10 || fail "$1: did not end"
}

run_in C "$WORK/c.png"
run_in de_DE.UTF-8 "$WORK/de.png"
LC_ALL=C grep -qaP '^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d CPU CORE VOLTAGE WARNING : 2\.10 v \r$' "$WORK/log.dat" \
  || fail "German record: $(od -c "$WORK/log.dat" | head -n 4)"
cmp -s "$WORK/c.png" "$WORK/de.png" || fail "the +12 V readout differs under de_DE.UTF-8"
echo "PASS"
