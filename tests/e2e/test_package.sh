#!/usr/bin/env bash
# The Debian package: its metadata (dependencies computed from the binaries),
# its files in the install layout, and nothing that runs as root at log-in.
source "$(dirname "$0")/lib.sh"
BUILD_DIR=$(cd "$RUN_DIR/.." && pwd)
(cd "$WORK" && cpack -G DEB -B "$WORK/pkg" --config "$BUILD_DIR/CPackConfig.cmake" >"$WORK/cpack.txt" 2>&1) \
  || { cat "$WORK/cpack.txt" >&2; fail "cpack"; }
DEB=$(ls "$WORK"/pkg/sentinax4_*.deb 2>/dev/null | head -n 1)
[ -f "$DEB" ] || fail "no package"
dpkg-deb --info "$DEB" > "$WORK/info.txt"
grep -q '^ Package: sentinax4$' "$WORK/info.txt" || fail "package name"
grep -q '^ Maintainer: ' "$WORK/info.txt" || fail "maintainer"
grep -q '^ Description: hardware-health monitor' "$WORK/info.txt" || fail "description"
grep -q '^ Depends: .*libqt6widgets6' "$WORK/info.txt" || fail "shlibdeps: $(grep Depends "$WORK/info.txt")"
grep -q '^ Depends: .*libc6' "$WORK/info.txt" || fail "shlibdeps: no libc6"
grep -q '^ Depends: .*qt6-wayland' "$WORK/info.txt" || fail "no qt6-wayland: native Wayland sessions would run through XWayland"
dpkg-deb --contents "$DEB" | awk '{print $6}' | sed 's|^\./||' > "$WORK/files.txt"
for f in usr/bin/sentinax4 usr/bin/sentinax4-headless usr/bin/sentinax-shm usr/lib/sentinax/libhmio.so \
         usr/share/sentinax/boards.table usr/share/sentinax/Skins/Skin.ini \
         usr/share/sentinax/Skins/Main.jpg usr/share/applications/sentinax4.desktop \
         usr/share/metainfo/example.korvane.Sentinax4.metainfo.xml \
         usr/share/icons/hicolor/256x256/apps/sentinax4.png usr/share/man/man1/sentinax4.1.gz \
         usr/lib/systemd/system/sentinax4-headless.service \
         usr/share/doc/sentinax4/examples/settings.ini usr/share/doc/sentinax4/fleet.md \
         usr/share/sentinax/prometheus/sentinax-rules.yml \
         usr/share/sentinax/prometheus/sentinax-dashboard.json; do
  grep -qx "$f" "$WORK/files.txt" || fail "not in the package: $f"
done
grep -q '^etc/' "$WORK/files.txt" && fail "the package installs into /etc: $(grep '^etc/' "$WORK/files.txt")"
grep -q 'autostart' "$WORK/files.txt" && fail "the package starts something at log-in"
# The service is installed, not enabled: no link into a target's wants.
grep -q '\.wants/' "$WORK/files.txt" && fail "the package enables a service: $(grep '\.wants/' "$WORK/files.txt")"
# Maintainer scripts, if any, only refresh the library cache at installation.
mkdir "$WORK/control"
dpkg-deb -e "$DEB" "$WORK/control"
for script in preinst postinst prerm postrm; do
  [ -f "$WORK/control/$script" ] || continue
  grep -vE '^(#!/bin/sh|set -e|if \[ "\$1" = "(configure|remove)" \]; then|[[:space:]]*ldconfig|fi|)$' \
    "$WORK/control/$script" && fail "$script does more than ldconfig"
done
grep -q '^  ;' "$WORK/info.txt" && fail "description: $(cat "$WORK/info.txt")"
echo "PASS"
