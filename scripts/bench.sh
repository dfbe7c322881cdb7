#!/usr/bin/env bash
# `make bench`: the benchmark tables, then the idle cost of the running
# program over $IDLE_SECONDS (default 60) next to a minimal program with the
# same 2.3-second timer, measured by the host: CPU time and wake-ups (context
# switches of all the process's threads).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
build=$ZB_BUILD_DIR
seconds=${IDLE_SECONDS:-60}

zb_start_session
zb_wine reg delete 'HKCU\Software\tavrel' /f >/dev/null 2>&1 || true

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(wine --version), $(date -u +%Y-%m-%d)"
echo
"$here/wine-run.sh" "$build/tests/bench.exe" --program="$build/ZemloBattery.exe" \
    --minimal="$build/tests/minimal.exe"

# The Unix process that runs a Windows program, by its process name (Linux
# keeps the first 15 characters).
pid_of() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(cat "$p/comm" 2>/dev/null)" = "${1:0:15}" ] && { echo "${p#/proc/}"; return 0; }
    done
    return 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n}'
}

# Both programs idle in a desktop of their own; idle.exe is the minimal
# program under the name that puts it there.
cp "$build/tests/minimal.exe" "$build/tests/idle.exe"
zb_wine explorer /desktop=zbidle,480x640 "$build/ZemloBattery.exe" >/dev/null 2>&1 &
zb_wine "$build/tests/idle.exe" --timer >/dev/null 2>&1 &
sleep 8
program=$(pid_of 'ZemloBattery.exe')
minimal=$(pid_of 'idle.exe')
tick=$(getconf CLK_TCK)
p0=$(cpu_ticks "$program"); m0=$(cpu_ticks "$minimal")
ps0=$(switches "$program"); ms0=$(switches "$minimal")
sleep "$seconds"
p1=$(cpu_ticks "$program"); m1=$(cpu_ticks "$minimal")
ps1=$(switches "$program"); ms1=$(switches "$minimal")

echo
echo "| Idle for $seconds s | ZemloBattery | Minimal program, same timer |"
echo "|---|---|---|"
awk -v p=$((p1 - p0)) -v m=$((m1 - m0)) -v t="$tick" -v s="$seconds" 'BEGIN {
    printf "| CPU time per minute | %.0f ms | %.0f ms |\n", p * 1000 / t * 60 / s, m * 1000 / t * 60 / s }'
awk -v p=$((ps1 - ps0)) -v m=$((ms1 - ms0)) -v s="$seconds" 'BEGIN {
    printf "| Wake-ups per minute | %.0f | %.0f |\n", p * 60 / s, m * 60 / s }'
