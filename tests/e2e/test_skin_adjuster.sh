#!/usr/bin/env bash
# The skinned window on each shipped skin. On the standard skin a user drags
# the 3.3 V upper adjuster to its start and leaves by the face's exit button:
# the skin file changes in that row only, and the next start uses the new
# limit (3,299 mV, below the board's 3.306-3.312 V: a warning record). The
# compact and BB skins open, show their values and leave by their exit button
# without touching their files. Screenshots of the shown windows are kept in
# the build folder (e2e-artifacts/skin/), not compared.
source "$(dirname "$0")/lib.sh"
prepare_workdir
set_interval 1
start_display # no window manager, so no tray: the window stays shown
ART=$RUN_DIR/../e2e-artifacts/skin
mkdir -p "$ART"
SKIN_SHOT=$RUN_DIR/../bin/sx-skin-shot

# shot NAME MASK: the shown window as a PNG, outside the mask transparent.
shot() {
  if declare -F screen_cut >/dev/null && [ -x "${SCREEN_TOOL:-}" ] && [ -x "$SKIN_SHOT" ]; then
    screen_cut "$W" 0 0 560 430 "$WORK/$1.png" >/dev/null &&
      "$SKIN_SHOT" "$WORK/$1.png" "$WORK/Skins/$2" "$ART/$1.png" || echo "no screenshot $1" >&2
  fi
}

# run_skin SCENARIO: starts the program on it and waits for the shown window (W).
run_skin() {
  rm -f "$WORK/log.dat"
  export HMIO_SCENARIO=$WORK/scenarios/$1.scenario
  start_app
  wait_for 15 visible_window_titled "$APP_PID" Sentinax4 || fail "$1: no window"
  W=$(visible_window_titled "$APP_PID" Sentinax4)
  wait_for 10 trace_has ValueRAM || fail "$1: no readings"
}

# leave: a click on the face's exit button (526,8 22x20) ends the program.
leave() {
  xdotool mousemove --window "$W" 537 18 click 1
  wait_exit "$APP_PID" 10 || fail "the exit button did not end the program"
  [ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
}

# --- The standard skin: drag, leave, compare.
cp "$WORK/Skins/Skin.ini" "$WORK/before.ini"
run_skin skin-standard
sleep 2 # the first tick has shown values
# V33_UPPER_LIMIT: 255,170 55x18 at position 50; its thumb's middle is at
# x 255 + 27. Dragged 60 pixels left it stops at 0.
xdotool mousemove --window "$W" 282 177 mousedown 1
for dx in 10 20 30 40 50 60; do xdotool mousemove --window "$W" $((282 - dx)) 177; sleep 0.05; done
sleep 0.3
shot skin-standard-dragging Mask.png
xdotool mouseup 1
leave
expected=$(sed 's/^13=V33_UPPER_LIMIT,.*/13=V33_UPPER_LIMIT,Normal.jpg,Sel.jpg,255,170,55,18,H,0/' "$WORK/before.ini")
cmp -s <(printf '%s\n' "$expected") "$WORK/Skins/Skin.ini" ||
  fail "skin file: $(diff "$WORK/before.ini" "$WORK/Skins/Skin.ini")"
[ "$(diff "$WORK/before.ini" "$WORK/Skins/Skin.ini" | grep -c '^[<>]')" = 2 ] || fail "more than one row changed"

# --- The next start uses the saved limit; leaving changes nothing more.
cp "$WORK/Skins/Skin.ini" "$WORK/saved.ini"
run_skin skin-standard
wait_for 15 grep -q '3.3V WARNING' "$WORK/log.dat" || fail "the saved limit is not used"
shot skin-standard Mask.png
leave
cmp -s "$WORK/saved.ini" "$WORK/Skins/Skin.ini" || fail "an untouched run rewrote the skin file"

# --- The two-fan skins.
for skin in compact:Skin4120.ini:CompactMask.png bb:SkinBB.ini:BBMask.png; do
  IFS=: read -r name file mask <<<"$skin"
  cp "$WORK/Skins/$file" "$WORK/before.ini"
  run_skin "skin-$name"
  sleep 2.5
  shot "skin-$name" "$mask"
  leave
  cmp -s "$WORK/before.ini" "$WORK/Skins/$file" || fail "$file changed"
  grep -E "Skins/$file: (picture|pictures not|controls not|text field)" "$WORK/app.out" &&
    fail "$file: skin faults reported"
done
echo "PASS"
