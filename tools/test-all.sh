#!/usr/bin/env bash
# Runs the unit tests (native, with sanitizers), then the end-to-end tests under Wine, and closes
# with one line that counts every test.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
log="$top/build/unit-tests.log"

echo "== unit tests"
"$top/build/native/tests/unit_tests" --gtest_brief=1 2>&1 | tee "$log"
unit_status=${PIPESTATUS[0]}
unit_passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
unit_failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
unit_passed=${unit_passed:-0}
unit_failed=${unit_failed:-0}
[ "$unit_status" = 0 ] || [ "$unit_failed" != 0 ] || unit_failed=1

echo "== end-to-end tests"
e2e_log="$top/build/e2e-tests.log"
"$top/tests/e2e/run.sh" "$top/build/windows" 2>&1 | tee "$e2e_log"
e2e_status=${PIPESTATUS[0]}
e2e_passed=$(sed -n 's/^e2e: \([0-9]*\) passed.*/\1/p' "$e2e_log")
e2e_failed=$(sed -n 's/^e2e: [0-9]* passed, \([0-9]*\) failed.*/\1/p' "$e2e_log")
e2e_passed=${e2e_passed:-0}
e2e_failed=${e2e_failed:-0}
[ "$e2e_status" = 0 ] || [ "$e2e_failed" != 0 ] || e2e_failed=1

echo "== soak, short"
soak_log="$top/build/soak-tests.log"
"$top/tools/soak.sh" short 2>&1 | tee "$soak_log"
soak_status=${PIPESTATUS[0]}
soak_passed=$(sed -n 's/^soak: \([0-9]*\) passed.*/\1/p' "$soak_log")
soak_failed=$(sed -n 's/^soak: [0-9]* passed, \([0-9]*\) failed.*/\1/p' "$soak_log")
soak_passed=${soak_passed:-0}
soak_failed=${soak_failed:-0}
[ "$soak_status" = 0 ] || [ "$soak_failed" != 0 ] || soak_failed=1

echo "== reproducible release"
release_passed=0
release_failed=0
if "$top/tools/check-reproducible.sh"; then release_passed=1; else release_failed=1; fi

passed=$((unit_passed + e2e_passed + soak_passed + release_passed))
failed=$((unit_failed + e2e_failed + soak_failed + release_failed))
echo
echo "unit: $unit_passed passed, $unit_failed failed; end-to-end: $e2e_passed passed, $e2e_failed failed; soak: $soak_passed passed, $soak_failed failed; reproducible release: $release_passed passed, $release_failed failed"
echo "tests: $passed passed, $failed failed"
[ "$failed" = 0 ]
