#!/usr/bin/env bash
# The monitor installed into an empty prefix and started from a folder without
# skins: it works in the per-user folder, which the first start fills with the
# installed skins and sound, keeps the user's settings there, and switches
# start-at-login on and off. The installed desktop entry and metainfo pass
# their validators.
source "$(dirname "$0")/lib.sh"
BUILD_DIR=$(cd "$RUN_DIR/.." && pwd)
PREFIX=$WORK/prefix
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >/dev/null || fail "install"
for f in bin/sentinax4 bin/sentinax4-headless lib/sentinax/libhmio.so share/sentinax/boards.table \
         share/sentinax/hwmon-channels.map share/sentinax/Skins/Main.jpg \
         share/icons/hicolor/48x48/apps/sentinax4.png share/man/man1/sentinax4.1.gz; do
  [ -f "$PREFIX/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$PREFIX/share/applications/sentinax4.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$PREFIX/share/metainfo/example.korvane.Sentinax4.metainfo.xml" \
  >"$WORK/appstream.txt" 2>&1 || { cat "$WORK/appstream.txt" >&2; fail "metainfo"; }

export HOME=$WORK/home XDG_DATA_HOME="" XDG_CONFIG_HOME=""
mkdir -p "$HOME" "$WORK/elsewhere"
USER_DIR=$HOME/.local/share/sentinax
# A setting of the user's own survives the seeding.
mkdir -p "$USER_DIR/Skins"
cp "$PREFIX/share/sentinax/Skins/SkinBB.ini" "$USER_DIR/Skins/SkinBB.ini"
echo "; mine" >> "$USER_DIR/Skins/SkinBB.ini"

start_display wm
export HMIO_SCENARIO=$PREFIX/share/sentinax/scenarios/demo.scenario
(cd "$WORK/elsewhere" && exec "$PREFIX/bin/sentinax4" >"$WORK/app.out" 2>&1) &
APP_PID=$!
APP_PIDS+=("$APP_PID")
wait_for 15 trace_has ValueRAM || fail "no reading"
grep -q "working folder $USER_DIR (" "$WORK/app.out" || fail "working folder not said"
[ -f "$USER_DIR/Skins/Skin.ini" ] && [ -f "$USER_DIR/Skins/Main.jpg" ] && [ -f "$USER_DIR/SOUND.wav" ] \
  || fail "the per-user folder was not filled"
tail -n 1 "$USER_DIR/Skins/SkinBB.ini" | grep -q "; mine" || fail "the user's skin file was replaced"
trace_has LoadNTHMIO || fail "the hardware library was not loaded from lib/sentinax"
kill -TERM "$APP_PID"
wait_exit "$APP_PID" 10 || fail "did not end"
[ -z "$(ls "$WORK/elsewhere")" ] || fail "files left in the start folder: $(ls "$WORK/elsewhere")"

# --headless starts the installed program without a display, which finds the
# private libraries from where it is installed.
"$PREFIX/bin/sentinax4" --headless --version | grep -q '^Sentinax 4 ' || fail "--headless --version"

"$PREFIX/bin/sentinax4" --autostart on >/dev/null || fail "--autostart on"
ENTRY=$HOME/.config/autostart/sentinax4.desktop
grep -qx "Exec=\"$PREFIX/bin/sentinax4\"" "$ENTRY" || fail "autostart entry: $(cat "$ENTRY")"
desktop-file-validate "$ENTRY" || fail "autostart entry is not valid"
"$PREFIX/bin/sentinax4" --autostart off >/dev/null || fail "--autostart off"
[ ! -e "$ENTRY" ] || fail "autostart entry left"
echo "PASS"
