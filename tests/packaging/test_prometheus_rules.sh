#!/usr/bin/env bash
# The alert rules: promtool checks them and runs their unit tests on recorded
# series; the dashboard is valid JSON.
# Needs: RULES_DIR (packaging/prometheus).
set -euo pipefail
: "${RULES_DIR:?}"
command -v promtool >/dev/null || { echo "FAIL: promtool (prometheus) is not installed"; exit 1; }
cd "$RULES_DIR"
promtool check rules sentinax-rules.yml
promtool test rules sentinax-rules-test.yml
if command -v jq >/dev/null; then
  jq -e '.panels | length > 0' sentinax-dashboard.json >/dev/null || { echo "FAIL: dashboard"; exit 1; }
fi
echo "PASS"
