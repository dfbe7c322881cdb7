#!/usr/bin/env bash
# `make test`: builds each build folder given (the 64-bit and the 32-bit
# build) and runs its whole suite through CTest. The builds' suites run side
# by side, each in a session of its own: a private Xvfb, the build's own Wine
# prefix ($build/wineprefix) and its own wineserver, so that they share no
# screen, registry, drive or window. What takes time without needing the
# build (the prefixes, the large root the end-to-end tests list) is made
# while the builds compile. A failing suite fails the run and its output is
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
big_root=""
cleanup() {
    local pids
    pids=$(jobs -p)
    [ -z "$pids" ] || kill $pids 2>/dev/null || true
    wait 2>/dev/null || true
    [ -z "$big_root" ] || rm -rf "$big_root"
    rm -rf "$work"
}
trap cleanup EXIT

# Runs "$@" for one build, with that build's prefix.
for_build() {
    local build=$1
    shift
    ZB_BUILD_DIR=$build WINEPREFIX=$build/wineprefix "$@"
}

"$here/big-root.sh" --make >"$work/big-root" &
root_job=$!
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
echo "built in $((SECONDS - start)) s"

wait "$root_job"
big_root=$(cat "$work/big-root")
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
    zb_start_session private
    rm -f "$1/Testing/Temporary/LastTest.log"
    echo "== $1 (PE machine $(zb_pe_machine "$1/ZemloBattery.exe"), display $DISPLAY)"
    ctest --test-dir "$1" --output-on-failure
}

start=$SECONDS
suite_jobs=()
for i in "${!builds[@]}"; do
    (suite "${builds[i]}") >"$work/suite-$i.log" 2>&1 &
    suite_jobs+=($!)
done
failed=()
for i in "${!builds[@]}"; do
    if ! wait "${suite_jobs[i]}"; then
        failed+=("${builds[i]}")
        cat "$work/suite-$i.log"
    fi
done

# One line per CTest test and build, from CTest's own log: GoogleTest's
# counts and the time CTest measured. A test that is no GoogleTest program
# counts as one; one that failed without GoogleTest's count (a crash, a
# time-out) counts as one failure.
summary() {
    awk -v build="$1" '
        /^[0-9]+\/[0-9]+ Test: / { name = $3; order[++n] = name }
        /^\[==========\] [0-9]+ tests? from .* ran\./ { ran[name] = $2 }
        /^\[  PASSED  \] [0-9]+ tests?\./ { passed[name] = $4 }
        /^\[  SKIPPED \] [0-9]+ tests?, listed below/ { skipped[name] = $4 }
        /^\[  FAILED  \] [0-9]+ tests?, listed below/ { failed[name] = $4 }
        /^Test time = / { time[name] = $4 }
        /^Test Passed\./ { ok[name] = 1 }
        END {
            for (i = 1; i <= n; ++i) {
                t = order[i]
                if (ran[t] == "") {
                    # not a GoogleTest program: one check
                    ran[t] = 1
                    passed[t] = ok[t] ? 1 : 0
                }
                if (!ok[t] && !failed[t])
                    failed[t] = 1
                printf "%-10s %-14s %4d tests: %3d passed, %d failed, %d skipped  %6.1f s\n",
                    build, t, ran[t], passed[t], failed[t], skipped[t], time[t]
                p += passed[t]; f += failed[t]; s += skipped[t]
            }
            printf "#counts %d %d %d\n", p, f, s
        }' "$2/Testing/Temporary/LastTest.log"
}
echo
passed=0 fails=0 skipped=0
for b in "${builds[@]}"; do
    lines=$(summary "${b#"$PWD"/}" "$b")
    grep -v '^#counts' <<<"$lines"
    read -r _ p f s <<<"$(grep '^#counts' <<<"$lines")"
    passed=$((passed + p)) fails=$((fails + f)) skipped=$((skipped + s))
done
echo "The suites ran side by side in $((SECONDS - start)) s."
echo "total: $passed passed, $fails failed, $skipped skipped"
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed: ${failed[*]}" >&2
    exit 1
fi
