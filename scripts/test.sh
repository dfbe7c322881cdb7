#!/usr/bin/env bash
# `make test`: builds each build folder given (the 64-bit and the 32-bit
# build) and runs its whole suite through CTest. The builds' suites run side
# by side, each in a session of its own: a private Xvfb, the build's own Wine
# prefix ($build/wineprefix) and its own wineserver, so that they share no
# screen, registry, drive or window. What takes time without needing the
# build (the prefixes, the large root the end-to-end tests list, the device
# program's cross tools) is made while the builds compile; the device program
# is made after them. A failing suite fails the run and its output is
# printed; the run ends with one line per suite and build.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
[ $# -gt 0 ] || set -- "$ZB_BUILD_DIR"

builds=()
for b in "$@"; do
    builds+=("$(cd "$b" && pwd)")
done
work=$(mktemp -d)
# Made before anything else, so that a failed build removes it too.
big_root=$("$here/big-root.sh" --new)
cleanup() {
    local pids
    pids=$(jobs -p)
    [ -z "$pids" ] || kill $pids 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$big_root"
    rm -rf "$work"
}
trap cleanup EXIT

# Runs "$@" for one build, with that build's prefix.
for_build() {
    local build=$1
    shift
    ZB_BUILD_DIR=$build WINEPREFIX=$build/wineprefix "$@"
}

"$here/big-root.sh" --fill "$big_root" &
root_job=$!
# The device program's cross tools: minutes the first time on a machine, then
# kept (ce-binutils.sh).
"$here/ce-binutils.sh" >"$work/ce-binutils.log" 2>&1 &
ce_tools_job=$!
prefix_jobs=()
for i in "${!builds[@]}"; do
    (for_build "${builds[i]}" bash -c "source '$here/wine-env.sh' && zb_prepare_prefix") \
        >"$work/prefix-$i.log" 2>&1 &
    prefix_jobs+=($!)
done

start=$SECONDS
for b in "${builds[@]}"; do
    cmake --build "$b" -j2
done
if ! wait "$ce_tools_job"; then
    cat "$work/ce-binutils.log"
    echo "the device's cross tools could not be built" >&2
    exit 1
fi
# The device program, in each build whose suite checks it.
for b in "${builds[@]}"; do
    [ ! -f "$b/tests/device/CTestTestfile.cmake" ] || "$here/device.sh" "$b/device"
done
echo "built in $((SECONDS - start)) s"

wait "$root_job"
for i in "${!builds[@]}"; do
    if ! wait "${prefix_jobs[i]}"; then
        cat "$work/prefix-$i.log"
        echo "the Wine prefix of ${builds[i]} could not be made" >&2
        exit 1
    fi
done

# One suite: its own display, prefix and server, then CTest.
suite() {
    export ZB_BUILD_DIR=$1 WINEPREFIX=$1/wineprefix ZB_BIG_ROOT_DIR=$big_root
    zb_start_session
    rm -rf "$1/Testing/Temporary/LastTest.log" "$1/Testing/gtest" "$1/Testing/ctest.xml"
    echo "== $1 (PE machine $(zb_pe_machine "$1/ZemloBattery.exe"), display $DISPLAY)"
    ctest --test-dir "$1" --output-on-failure --output-junit "$1/Testing/ctest.xml"
}

start=$SECONDS
suite_jobs=()
for i in "${!builds[@]}"; do
    (suite "${builds[i]}") >"$work/suite-$i.log" 2>&1 &
    suite_jobs+=($!)
done
for i in "${!builds[@]}"; do
    wait "${suite_jobs[i]}" || cat "$work/suite-$i.log"
done

# One line per CTest test and build. A GoogleTest program (CTest's label
# gtest) writes its report to Testing/gtest/NAME.xml once every test has run:
# without one, or with fewer tests run than it lists, the program died or
# stopped early and the suite has failed, whatever its exit code. A test that
# is no GoogleTest program counts as one check.
# Prints "NAME STATUS TIME" per test, from CTest's JUnit report.
ctest_results() {
    sed -nE 's/.*<testcase name="([^"]*)".* time="([^"]*)" status="([^"]*)".*/\1 \3 \2/p' \
        "$1/Testing/ctest.xml" | awk '{ print $1, ($2 == "run" ? "passed" : "failed"), $3 }'
}
gtest_suites() {
    ctest --test-dir "$1" -N -L '^gtest$' | sed -nE 's/^ *Test +#[0-9]+: //p'
}

# "LISTED RAN FAILED SKIPPED" from a GoogleTest XML report; disabled tests
# are not listed.
report_counts() {
    awk '
        /<testsuites / {
            match($0, / tests="[0-9]+"/); listed = substr($0, RSTART + 8, RLENGTH - 9)
            match($0, / disabled="[0-9]+"/); listed -= substr($0, RSTART + 11, RLENGTH - 12)
        }
        /<testcase / { current = ++cases; if ($0 ~ /status="run"/) ++ran; if ($0 ~ /result="skipped"/) ++skipped }
        /<failure / { if (!(current in failed)) { failed[current] = 1; ++failures } }
        END { printf "%d %d %d %d\n", listed, ran, failures, skipped }' "$1"
}

# The output CTest kept of one test.
test_output() {
    awk -v name="$2" '
        /^[0-9]+\/[0-9]+ Test: / { inside = ($3 == name) }
        inside' "$1/Testing/Temporary/LastTest.log"
}

summary() {
    local build=$1 label=$2 name status ctest_status time report listed ran fails skips gtests
    gtests=$(gtest_suites "$build")
    if [ ! -s "$build/Testing/ctest.xml" ]; then
        echo "$label: CTest wrote no report" >&2
        failed_suites+=("$label")
        return
    fi
    while read -r name status time; do
        ctest_status=$status
        report=$build/Testing/gtest/$name.xml
        if ! grep -qxF -- "$name" <<<"$gtests"; then
            listed=1 ran=1 skips=0
            fails=$([ "$status" = passed ] && echo 0 || echo 1)
        elif [ -s "$report" ]; then
            read -r listed ran fails skips <<<"$(report_counts "$report")"
            if [ "$ran" -lt "$listed" ]; then
                echo "$label $name: $ran of $listed tests ran" >&2
                fails=$((fails + listed - ran))
                status=failed
            fi
            [ "$fails" -eq 0 ] || status=failed
        else
            listed=1 ran=1 fails=1 skips=0 status=failed
            echo "$label $name: the suite ended without GoogleTest's report: it died or stopped early" >&2
        fi
        printf "%-10s %-18s %4d tests: %3d passed, %d failed, %d skipped  %6.1f s\n" \
            "$label" "$name" "$listed" $((ran - fails - skips)) "$fails" "$skips" "$time"
        passed=$((passed + ran - fails - skips)) fails_all=$((fails_all + fails))
        skipped=$((skipped + skips))
        if [ "$status" != passed ]; then
            failed_suites+=("$label $name")
            # CTest printed what it counted as failed already.
            [ "$ctest_status" = failed ] || test_output "$build" "$name" >>"$work/failed-output"
        fi
    done < <(ctest_results "$build")
}
echo
passed=0 fails_all=0 skipped=0
failed_suites=()
: >"$work/failed-output"
for b in "${builds[@]}"; do
    summary "$b" "${b#"$PWD"/}"
done
cat "$work/failed-output"
echo "The suites ran side by side in $((SECONDS - start)) s."
echo "total: $passed passed, $fails_all failed, $skipped skipped"
if [ ${#failed_suites[@]} -gt 0 ]; then
    printf 'failed: %s\n' "${failed_suites[@]}" >&2
    exit 1
fi
