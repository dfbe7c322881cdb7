#!/usr/bin/env bash
# `make bench`: the benchmark tables, then the idle cost of the running
# program over $IDLE_SECONDS (default 60) next to a minimal program with the
# same 2.3-second timer, and again with a discharging battery next to a
# native poller of the same files; measured by the host: CPU time and
# wake-ups (context switches of all the process's threads).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
build=$ZB_BUILD_DIR
seconds=${IDLE_SECONDS:-60}
# Another build of the program may be measured against the same floors.
program_exe=${BENCH_PROGRAM:-$build/ZemloBattery.exe}

zb_start_session
zb_wine reg delete 'HKCU\Software\tavrel' /f >/dev/null 2>&1 || true

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(wine --version), $(date -u +%Y-%m-%d)"
echo
log=$(mktemp)
zb_wine "$build/bench/bench.exe" --program="$program_exe" --minimal="$build/bench/minimal.exe" \
    >"$log" 2>&1 </dev/null || { cat "$log"; exit 1; }
cat "$log"
rm -f "$log"

# The host's view of this run's processes. Other Wine sessions on the machine
# may run programs of the same names, so a process counts only when it
# carries this run's tag in its environment.
export ZB_BENCH_RUN="$$.$RANDOM"
# A second argument picks one of several processes of that name by the
# ZB_BENCH_ROLE it was started with.
pid_of() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(cat "$p/comm" 2>/dev/null)" = "${1:0:15}" ] || continue
        grep -qzx "ZB_BENCH_RUN=$ZB_BENCH_RUN" "$p/environ" 2>/dev/null || continue
        [ -z "${2:-}" ] || grep -qzx "ZB_BENCH_ROLE=$2" "$p/environ" 2>/dev/null || continue
        echo "${p#/proc/}"
        return 0
    done
    true
}
# The X server by its lock file; the wineserver of this prefix by the folder
# it works in.
x_server_pid() {
    local n=${DISPLAY#*:}
    tr -d ' ' <"/tmp/.X${n%%.*}-lock" 2>/dev/null || true
}
wineserver_pid() {
    local dir p
    dir=$(printf 'server-%x-%x' $(stat -L -c '%d %i' "$WINEPREFIX"))
    for p in /proc/[0-9]*; do
        case $(cat "$p/comm" 2>/dev/null) in wineserver*) ;; *) continue ;; esac
        [ "$(basename "$(readlink "$p/cwd")")" = "$dir" ] && { echo "${p#/proc/}"; return 0; }
    done
    true
}
# CPU time in nanoseconds and context switches (wake-ups), all threads.
usage() {
    local ns=0 n=0 t
    for t in /proc/"$1"/task/*; do
        ns=$((ns + $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null || echo 0)))
        n=$((n + $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n + 0}' \
            "$t/status" 2>/dev/null || echo 0)))
    done
    echo "$ns $n"
}
# Measures the given pids over $seconds; prints "cpu-ms-per-minute wakeups-per-minute" each.
measure() {
    local pid before=() i=0
    for pid in "$@"; do before+=("$(usage "$pid")"); done
    sleep "$seconds"
    for pid in "$@"; do
        set -- $(usage "$pid") ${before[$i]}
        awk -v ns=$(($1 - $3)) -v n=$(($2 - $4)) -v s="$seconds" \
            'BEGIN { printf "%.1f ms %.0f\n", ns / 1e6 * 60 / s, n * 60 / s }'
        i=$((i + 1))
    done
}
stop() { local p; for p in "$@"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done; }

# Steady power: the programs idle, each in a desktop of its own; idle.exe is
# the minimal program under the name that puts it there. Its second instance
# also reads the power status each tick: the floor of the poll's one
# necessary host call.
cp "$build/bench/minimal.exe" "$build/bench/idle.exe"
zb_wine explorer /desktop=zbidle,480x640 "$program_exe" >/dev/null 2>&1 &
ZB_BENCH_ROLE=timer zb_wine "$build/bench/idle.exe" --timer >/dev/null 2>&1 &
ZB_BENCH_ROLE=power zb_wine "$build/bench/idle.exe" --timer --power >/dev/null 2>&1 &
sleep 8
program=$(pid_of ZemloBattery.exe)
minimal=$(pid_of idle.exe timer)
powered=$(pid_of idle.exe power)
mapfile -t r < <(measure "$program" "$minimal" "$powered")
set -- ${r[0]}; pcpu="$1 $2"; pwake=$3
set -- ${r[1]}; mcpu="$1 $2"; mwake=$3
set -- ${r[2]}; wcpu="$1 $2"; wwake=$3
echo
echo "| Idle for $seconds s | ZemloBattery | Minimal program, same timer | Same, with a power reading each tick |"
echo "|---|---|---|---|"
echo "| CPU time per minute | $pcpu | $mcpu | $wcpu |"
echo "| Wake-ups per minute | $pwake | $mwake | $wwake |"
stop "$program" "$minimal" "$powered" $(pid_of explorer.exe)
sleep 2

# A discharging battery whose life time changes all the time, so that every
# poll repaints (and samples) the gauge; next to it, a native poller of the
# same files as the floor of the Linux way.
cc -O2 -o "$build/bench/poller" "$zb_root/bench/poller.c"
BATTERY=57 "$here/fake-battery.sh" --native bash -c \
    '"$1" explorer /desktop=zbdischarge,480x640 "$2" >/dev/null 2>&1 & exec "$3"' \
    _ "$zb_wine64" "$program_exe" "$build/bench/poller" >/dev/null 2>&1 &
( i=0; while sleep 1; do
      i=$((i + 1))
      echo $((900000 + i % 5 * 50000)) >"$build/fake-power/BAT0/current_now" 2>/dev/null || exit 0
  done ) &
drain=$!
sleep 8
program=$(pid_of ZemloBattery.exe)
poller=$(pid_of poller)
xserver=$(x_server_pid)
server=$(wineserver_pid)
mapfile -t r < <(measure "$program" "${xserver:-0}" "${server:-0}" "$poller")
echo
if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null; then
    echo "(No fake battery here: the host's power status instead.)"
fi
echo "| Idle for $seconds s, battery discharging | CPU time per minute | Wake-ups per minute |"
echo "|---|---|---|"
set -- ${r[0]}; echo "| ZemloBattery | $1 $2 | $3 |"
[ -n "$xserver" ] && { set -- ${r[1]}; echo "| X server | $1 $2 | $3 |"; }
[ -n "$server" ] && { set -- ${r[2]}; echo "| wineserver | $1 $2 | $3 |"; }
set -- ${r[3]}; echo "| Native poller of the same files (floor) | $1 $2 | $3 |"
stop "$drain" "$poller" "$program" $(pid_of explorer.exe)
