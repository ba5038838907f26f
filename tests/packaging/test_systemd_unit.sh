#!/usr/bin/env bash
# The service unit as systemd reads it: `systemd-analyze verify` in a scratch
# root that holds the built program where the unit names it (and the targets
# a service is ordered after), with no message at all (verify reports a
# misspelt key or a bad value but still succeeds, so any output fails here);
# then the exposure score of its sandbox, printed for the record.
# Needs: UNIT (the unit file), PROGRAM (the built sentinax4).
set -euo pipefail
: "${UNIT:?}" "${PROGRAM:?}"
command -v systemd-analyze >/dev/null || { echo "SKIP: systemd-analyze is not installed"; exit 77; }
root=$(mktemp -d /tmp/sx-unit-XXXXXX)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/usr/bin" "$root/etc/systemd/system" "$root/lib/systemd/system"
cp "$PROGRAM" "$root/usr/bin/sentinax4"
cp "$UNIT" "$root/etc/systemd/system/"
for target in sysinit.target basic.target shutdown.target multi-user.target; do
  [ -e "/lib/systemd/system/$target" ] && cp "/lib/systemd/system/$target" "$root/lib/systemd/system/"
done
name=$(basename "$UNIT")
out=$(systemd-analyze verify --man=no --root="$root" "$name" 2>&1) || {
  echo "FAIL: verify: $out"; exit 1; }
[ -z "$out" ] || { echo "FAIL: verify said: $out"; exit 1; }
security=$(systemd-analyze security --offline=true --root="$root" "$name" 2>&1) || {
  echo "FAIL: security: $security"; exit 1; }
echo "$security" | grep -E '^✗|Overall'
echo "PASS"
