#!/usr/bin/env bash
# The harness's own check: a report within 2 % passes, anything else fails
# (a wrong value, a value where none is expected, a missing value, a text).
set -uo pipefail
source "$(dirname "$0")/lib.sh"
report=$(mktemp /tmp/sx-report-XXXXXX)
trap 'rm -f "$report"' EXIT
cat > "$report" <<'TEXT'
Sentinax 4 sensors
values
  Vcore               1.344 V       nct6798-isa-0290 in0, wiring row w:3
  CPU temperature     45 C          k10temp-pci-00c3 temp2, generic default m:54
  +12 V               12.078 V      nct6798-isa-0290 in1, lm-sensors configuration
  CPU fan             1500 rpm      nct6798-isa-0290 fan2, generic default m:80
  system fan          0 rpm         nct6798-isa-0290 fan1, generic default m:81
  third fan           not monitored on this board (wiring block w:1)
  +5 V                not read: no input known
TEXT
failures=0
expect_result() { # WANT(pass|fail) EXPECTATIONS...
  local want=$1 got
  shift
  BOARD_EXPECT=("$@")
  if check_report "$report" >/dev/null; then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "FAIL: expected $want for: $*"
    failures=$((failures + 1))
  fi
}
expect_result pass "vcore 1344" "cputemp 45" "v12 12078" "cpufan 1500"
expect_result pass "v12 11850" "cpufan 1530"       # within 2 %
expect_result fail "v12 11830"                     # 2.1 % below
expect_result fail "cpufan 1470"                   # 2.0 % and a bit above
expect_result pass "fan3 none" "v5 none" "sysfan none"
expect_result fail "vcore none"                    # a value where none is expected
expect_result fail "v5 5000"                       # no value where one is expected
expect_result fail "v33 3300"                      # not in the report at all
expect_result fail "systemp 34"
expect_result fail "vdimm 1200"                    # not an item
[ $failures = 0 ] && echo PASS
exit $((failures > 0))
