#!/usr/bin/env bash
# `make test`: builds each build folder given (the 64-bit and the 32-bit
# build) and runs its whole suite through CTest. The builds' suites run side
# by side, and a build that has a core to itself splits its suites into two
# lanes. Each lane is a session of its own: a private Xvfb, its own Wine
# prefix ($build/wineprefix, a copy for the second lane) and its own
# wineserver, so that no two suites share a screen, registry, drive or
# window; CTest hands the lanes out (a test's RESOURCE_GROUPS). What takes
# time without needing the build (the prefixes, the large root the
# end-to-end tests list, the device program's cross tools) is made while the
# builds compile; the device program is made after them. A failing suite
# fails the run and its output is printed; the run ends with one line per
# suite and build.
#
# Where this host cannot run 32-bit programs, the 32-bit build is built and
# its checks that need no Wine (CTest's label "host") run; its other suites
# are named as not run and count as skipped, and the 64-bit build runs the
# screen suites of the 32-bit build's screens in their place (label
# "stand_in"), so that every screen is tested. ZB_REQUIRE_32BIT=1 fails the
# run there instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
[ $# -gt 0 ] || set -- "$ZB_BUILD_DIR"

runs_32bit=yes
zb_runs_32bit || runs_32bit=no
if [ $runs_32bit = no ] && [ "${ZB_REQUIRE_32BIT:-}" = 1 ]; then
    echo "make test: $zb_no_32bit, and ZB_REQUIRE_32BIT=1 requires them" >&2
    exit 1
fi

builds=()
runnable=() # per build: whether its Wine suites can run here
for b in "$@"; do
    b=$(cd "$b" && pwd)
    builds+=("$b")
    # A 32-bit build, as CMake recorded its compiler.
    if grep -qs 'CMAKE_CXX_SIZEOF_DATA_PTR "4"' "$b"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
        runnable+=("$runs_32bit")
    else
        runnable+=(yes)
    fi
done
running=0
for r in "${runnable[@]}"; do [ "$r" = no ] || running=$((running + 1)); done
# The stand-ins run unless a 32-bit build runs its screens itself here.
stand_ins=()
for i in "${!builds[@]}"; do
    if [ "${runnable[i]}" = yes ] &&
        grep -qs 'CMAKE_CXX_SIZEOF_DATA_PTR "4"' "${builds[i]}"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
        stand_ins=(-LE '^stand_in$')
    fi
done
lanes=1
[ "$running" -eq 1 ] && [ "$(nproc)" -ge 2 ] && lanes=2
echo "This host runs 32-bit programs: $runs_32bit; deadlines scaled by $ZB_DEADLINE_SCALE; $lanes lane(s) a build."

# Whatever the run started ends with it, however it ends (run-tag.sh).
source "$here/run-tag.sh"
work=$(mktemp -d)
big_root=""
cleanup() {
    [ -z "$big_root" ] || rm -rf "$big_root"
    rm -rf "$work"
}
zb_tag_run "make test" cleanup
# Made before anything else, so that a failed build removes it too.
big_root=$("$here/big-root.sh" --new)

# A lane's prefix and fake battery: the first lane's are the build's own.
lane_prefix() { [ "$2" -eq 0 ] && echo "$1/wineprefix" || echo "$1/wineprefix-lane$2"; }
lane_power() { [ "$2" -eq 0 ] && echo "$1/fake-power" || echo "$1/fake-power-lane$2"; }

# The prefixes of a build: the first made (or brought up to date) by Wine,
# the others copied from it whenever it is newer.
prepare_prefixes() {
    local build=$1 lane first
    first=$(lane_prefix "$build" 0)
    ZB_BUILD_DIR=$build WINEPREFIX=$first bash -c "source '$here/wine-env.sh' && zb_prepare_prefix"
    for ((lane = 1; lane < lanes; lane++)); do
        local copy
        copy=$(lane_prefix "$build" $lane)
        if [ ! -f "$copy/$zb_prefix_mark" ] || [ "$first/system.reg" -nt "$copy/system.reg" ]; then
            rm -rf "$copy"
            cp -a "$first" "$copy"
        fi
    done
}

"$here/big-root.sh" --fill "$big_root" &
root_job=$!
# The device program's cross tools: minutes the first time on a machine, then
# kept (ce-binutils.sh).
"$here/ce-binutils.sh" >"$work/ce-binutils.log" 2>&1 &
ce_tools_job=$!
prefix_jobs=()
for i in "${!builds[@]}"; do
    if [ "${runnable[i]}" = yes ]; then
        prepare_prefixes "${builds[i]}" >"$work/prefix-$i.log" 2>&1 &
        prefix_jobs+=($!)
    else
        prefix_jobs+=("")
    fi
done

# In the background, waited for: a signal's trap runs at once, not once a
# foreground command has ended.
start=$SECONDS
for b in "${builds[@]}"; do
    cmake --build "$b" -j2 &
    wait $!
done
# The tools' first build may outlast the programs': what it does is shown
# until it ends.
if kill -0 "$ce_tools_job" 2>/dev/null; then
    echo "waiting for the device's cross tools (scripts/ce-binutils.sh, minutes the first time on a machine):"
    tail -n +1 -f --pid="$ce_tools_job" "$work/ce-binutils.log" &
    wait $!
    shown=yes
fi
if ! wait "$ce_tools_job"; then
    [ "${shown:-}" = yes ] || cat "$work/ce-binutils.log"
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
    [ -n "${prefix_jobs[i]}" ] || continue
    if ! wait "${prefix_jobs[i]}"; then
        cat "$work/prefix-$i.log"
        echo "the Wine prefix of ${builds[i]} could not be made" >&2
        exit 1
    fi
done

# One build's suites: a session per lane (display, prefix, server), whose
# settings a test takes by the lane CTest gives it (wine-env.sh), then CTest.
# A build whose programs cannot run here runs its host checks alone. Runs in
# a subshell of its own, whose end takes its lanes' servers and displays.
suite() {
    local build=$1 can_run=$2 lane
    lane_displays=() lane_prefixes=()
    export ZB_BUILD_DIR=$build ZB_BIG_ROOT_DIR=$big_root
    rm -rf "$build/Testing/Temporary/LastTest.log" "$build/Testing/gtest" "$build/Testing/ctest.xml"
    local ctest_args=(--test-dir "$build" --output-on-failure --output-junit "$build/Testing/ctest.xml")
    if [ "$can_run" = no ]; then
        echo "== $build: $zb_no_32bit; its checks without Wine alone"
        ctest "${ctest_args[@]}" -L '^host$'
        return
    fi
    export ZB_LANES=$work/lanes-${build//\//_}
    mkdir -p "$ZB_LANES"
    trap 'for p in "${lane_prefixes[@]}"; do WINEPREFIX=$p wineserver -k 2>/dev/null || true; done
          for d in "${lane_displays[@]}"; do kill "$d" 2>/dev/null || true; done' EXIT
    local spec='{"version": {"major": 1, "minor": 0}, "local": [{"lanes": ['
    for ((lane = 0; lane < lanes; lane++)); do
        local prefix power
        prefix=$(lane_prefix "$build" $lane)
        power=$(lane_power "$build" $lane)
        zb_private_display
        lane_displays+=("$zb_xvfb_pid")
        lane_prefixes+=("$prefix")
        WINEPREFIX=$prefix wineserver -p || true
        printf 'export DISPLAY=%q WINEPREFIX=%q ZB_FAKE_POWER_DIR=%q\n' "$DISPLAY" "$prefix" "$power" \
            >"$ZB_LANES/lane-$lane.env"
        spec+="$([ $lane -eq 0 ] || echo ,){\"id\": \"$lane\", \"slots\": 1}"
    done
    echo "$spec]}]}" >"$ZB_LANES/lanes.json"
    echo "== $build (PE machine $(zb_pe_machine "$build/ZemloBattery.exe"), $lanes lane(s))"
    local timeout=$((600 * ZB_DEADLINE_SCALE))
    [ $timeout -le 3600 ] || timeout=3600
    ctest "${ctest_args[@]}" "${stand_ins[@]}" -j "$lanes" --resource-spec-file "$ZB_LANES/lanes.json" --timeout $timeout
}

start=$SECONDS
suite_jobs=()
for i in "${!builds[@]}"; do
    (suite "${builds[i]}" "${runnable[i]}") >"$work/suite-$i.log" 2>&1 &
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
        printf "%-10s %-25s %4d tests: %3d passed, %d failed, %d skipped  %6.1f s\n" \
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
# A build whose Wine suites could not run here: a line for each, counted as
# skipped.
not_run() {
    local name
    while read -r name; do
        printf "%-10s %-25s not run: %s\n" "$2" "$name" "$zb_no_32bit"
        skipped=$((skipped + 1))
    done < <(ctest --test-dir "$1" -N -LE '^host$' | sed -nE 's/^ *Test +#[0-9]+: //p')
}
echo
passed=0 fails_all=0 skipped=0
failed_suites=()
: >"$work/failed-output"
for i in "${!builds[@]}"; do
    summary "${builds[i]}" "${builds[i]#"$PWD"/}"
    [ "${runnable[i]}" = yes ] || not_run "${builds[i]}" "${builds[i]#"$PWD"/}"
done
cat "$work/failed-output"
echo "The suites ran side by side in $((SECONDS - start)) s."
echo "total: $passed passed, $fails_all failed, $skipped skipped"
if [ ${#failed_suites[@]} -gt 0 ]; then
    printf 'failed: %s\n' "${failed_suites[@]}" >&2
    exit 1
fi
