#!/usr/bin/env bash
# Runs the unit tests (native, with sanitizers), the end-to-end tests under Wine (the x64 program's
# on 64-bit Windows, the x86 one's on 32-bit Windows), the short soak,
# the check of the release's imports, the NSIS install script's guards and the
# reproducible-release check, and closes with the time each stage took and one line that counts
# every test.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
log="$top/build/unit-tests.log"

times=""
# stage NAME: starts timing a stage (and ends the one before).
stage_start=$SECONDS
stage_name=
stage() {
    [ -z "$stage_name" ] || times+="${times:+, }$stage_name $((SECONDS - stage_start)) s"
    stage_name=$1 stage_start=$SECONDS
    [ -z "$1" ] || echo "== $1"
}

# The reproducible-release check builds the commit once more from nothing: it runs from the start
# at the lowest priority, beside the tests, on the processor time they leave, and is read at its
# turn.
release_log="$top/build/reproducible.log"
nice -n 19 "$top/tools/check-reproducible.sh" >"$release_log" 2>&1 &
release_pid=$!

stage "unit tests"
"$top/build/native/tests/unit_tests" --gtest_brief=1 2>&1 | tee "$log"
unit_status=${PIPESTATUS[0]}
unit_passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
unit_failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
unit_passed=${unit_passed:-0}
unit_failed=${unit_failed:-0}
[ "$unit_status" = 0 ] || [ "$unit_failed" != 0 ] || unit_failed=1

# run_counted NAME LOG COMMAND...: runs a suite that closes with "NAME: N passed, M failed" and
# sets NAME_passed and NAME_failed (a suite that fails without saying so counts one failure).
run_counted() {
    local name=$1 log=$2
    shift 2
    "$@" 2>&1 | tee "$log"
    counted "$name" "$log" "${PIPESTATUS[0]}"
}

# counted NAME LOG STATUS [LABEL]: the same for a suite that has run (and closes with
# "LABEL: N passed, M failed" when its label is not its name).
counted() {
    local name=$1 log=$2 status=$3 label=${4:-$1} passed failed
    passed=$(sed -n "s/^$label: \([0-9]*\) passed.*/\1/p" "$log")
    failed=$(sed -n "s/^$label: [0-9]* passed, \([0-9]*\) failed.*/\1/p" "$log")
    passed=${passed:-0}
    failed=${failed:-0}
    [ "$status" = 0 ] || [ "$failed" != 0 ] || failed=1
    printf -v "${name}_passed" '%s' "$passed"
    printf -v "${name}_failed" '%s' "$failed"
}

# Beside the end-to-end tests, much of whose time is spent waiting, and one after the other, each
# with a Wine prefix and a display of its own: the x86 program's stories on 32-bit Windows, then
# the short soak (its pointer storm is the most sensitive to the machine's load, so no more than
# three Wine sessions run at once). Both are read at their turn.
x86_log="$top/build/e2e-x86-tests.log"
x86_status_file="$top/build/e2e-x86.status"
soak_log="$top/build/soak-tests.log"
rm -f "$x86_status_file"
(
    "$top/tests/e2e/run.sh" "$top/build/windows/x86" >"$x86_log" 2>&1 </dev/null
    echo $? >"$x86_status_file"
    "$top/tests/soak/soak.sh" short >"$soak_log" 2>&1 </dev/null
) &
beside_pid=$!

# The x64 program's suites run in two halves side by side, each with a prefix and a display of
# its own: much of their time is spent waiting for Wine and the program.
second_half="keys log interaction controller loading"
first_half=$(for suite in "$top"/tests/e2e/test_*.sh; do basename "$suite" .sh; done |
    sed 's/^test_//' | grep -vxF -f <(tr ' ' '\n' <<<"$second_half") | paste -sd ' ')
second_log="$top/build/e2e-second-tests.log"
E2E_SUITES=$second_half E2E_WORK_NAME=e2e-second \
    "$top/tests/e2e/run.sh" "$top/build/windows" >"$second_log" 2>&1 </dev/null &
second_pid=$!

stage "end-to-end tests"
run_counted e2e "$top/build/e2e-tests.log" env E2E_SUITES="$first_half" \
    "$top/tests/e2e/run.sh" "$top/build/windows"

stage "end-to-end tests, second half (the rest of their run)"
wait "$second_pid"
second_status=$?
cat "$second_log"
counted e2e_second "$second_log" "$second_status" e2e

stage "end-to-end tests on 32-bit Windows and the short soak (the rest of their run)"
wait "$beside_pid"
soak_status=$?
cat "$x86_log"
counted e2e_x86 "$x86_log" "$(cat "$x86_status_file" 2>/dev/null || echo 1)" e2e
cat "$soak_log"
counted soak "$soak_log" "$soak_status"

stage "imports"
run_counted imports "$top/build/imports-tests.log" "$top/tests/release/test_check_imports.sh"

stage "NSIS install"
run_counted nsis "$top/build/nsis-tests.log" "$top/tests/release/test_install_nsis.sh"

stage "reproducible release"
release_passed=0
release_failed=0
if wait "$release_pid"; then release_passed=1; else release_failed=1; fi
cat "$release_log"

stage ""

passed=$((unit_passed + e2e_passed + e2e_second_passed + e2e_x86_passed + soak_passed + imports_passed + nsis_passed + release_passed))
failed=$((unit_failed + e2e_failed + e2e_second_failed + e2e_x86_failed + soak_failed + imports_failed + nsis_failed + release_failed))
echo
echo "times: $times"
echo "unit: $unit_passed passed, $unit_failed failed; end-to-end: $((e2e_passed + e2e_second_passed)) passed, $((e2e_failed + e2e_second_failed)) failed; end-to-end on 32-bit Windows: $e2e_x86_passed passed, $e2e_x86_failed failed; short soak: $soak_passed passed, $soak_failed failed; imports: $imports_passed passed, $imports_failed failed; NSIS install: $nsis_passed passed, $nsis_failed failed; reproducible release: $release_passed passed, $release_failed failed"
echo "tests: $passed passed, $failed failed"
[ "$failed" = 0 ]
