#!/usr/bin/env bash
# `make bench`: the benchmark tables, then the idle cost of the running
# program in $BENCH_ROUNDS rounds (default 3) of $IDLE_SECONDS (default 60),
# next to Win32 floors with the same stand-in taskbar: with steady power, and
# with a discharging battery (program and floor each with the X server and
# the wineserver, above the prefix's idle); then what the program and its
# floor hold after start and after $HOLD_SECONDS (default 600) of a
# discharging battery. Measured by the host: CPU time and wake-ups (context
# switches of all the process's threads), private memory (RssAnon); GDI
# objects by bench/holdings.exe. BENCH_ONLY=taps times the taps alone (a
# few minutes rather than half an hour); BENCH_ONLY=device measures the
# device program in the runner against the desktop program (device_costs).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
only=${BENCH_ONLY:-}
case $only in "" | taps | device) ;; *) echo "BENCH_ONLY=$only: \"taps\" and \"device\" are known" >&2; exit 2 ;; esac

# With UPDATE_COSTS=1 the tables also replace the measured part of
# docs/costs.md for their screen, between its two "make bench WxH" marks;
# with BENCH_ONLY=taps, only the taps' table there.
if [ -n "${UPDATE_COSTS:-}" ] && [ -z "${ZB_BENCH_INNER:-}" ]; then
    out=$(mktemp)
    trap 'rm -f "$out" "$out.page"' EXIT
    ZB_BENCH_INNER=1 "$0" "$@" | tee "$out"
    [ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
    costs="$here/../docs/costs.md"
    screen=$(sed -n '1s/^Machine: \([0-9]*x[0-9]*\) screen.*/\1/p' "$out")
    if ! grep -q "^<!-- make bench $screen: from here" "$costs"; then
        echo "make bench: docs/costs.md has no place for the tables of the $screen screen" >&2
        exit 1
    fi
    if [ "$only" = taps ]; then
        # The table of the taps, from its heading to the blank line after it.
        awk -v tables="$out" -v from="<!-- make bench $screen: from here" \
            -v to="<!-- make bench $screen: to here" '
            function taps(l) { return l ~ /^\| (First tap|Tap) on the gauge/ }
            index($0, from) == 1 { inside = 1 }
            index($0, to) == 1 { inside = 0 }
            inside && taps($0) {
                while ((getline line < tables) > 0 && !taps(line)) ;
                do print line; while ((getline line < tables) > 0 && line != "")
                skip = 1; next
            }
            skip && $0 == "" { skip = 0 }
            !skip' "$costs" >"$out.page" && mv "$out.page" "$costs"
        echo "docs/costs.md rewritten: the $screen screen's table of the taps"
        exit 0
    fi
    awk -v tables="$out" -v from="<!-- make bench $screen: from here" \
        -v to="<!-- make bench $screen: to here" '
        index($0, from) == 1 { print; while ((getline line < tables) > 0) print line; skip = 1; next }
        index($0, to) == 1 { skip = 0 }
        !skip' "$costs" >"$out.page" && mv "$out.page" "$costs"
    echo "docs/costs.md rewritten: the $screen screen's tables"
    exit 0
fi
source "$here/wine-env.sh"
build=$ZB_BUILD_DIR
seconds=${IDLE_SECONDS:-60}
# Another build of the program may be measured against the same floors.
program_exe=${BENCH_PROGRAM:-$build/ZemloBattery.exe}

# The idle costs are measured on the screen SCREEN names, at its density.
screen=${SCREEN:-$(zb_default_screen)}
zb_check_screen "$screen" || exit 2
export ZB_DPI=$(zb_density_of "$screen") ZB_SCREEN=$screen
zb_start_session "$screen" "$(zb_depth_of "$screen")"
zb_drive zbidle reset

echo "Machine: $screen screen, $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $("$zb_wine64" --version), $(date -u +%Y-%m-%d)"
echo
if [ "$only" != taps ] && [ "$only" != device ]; then
    log=$(mktemp)
    zb_wine "$build/bench/bench.exe" --program="$program_exe" --minimal="$build/bench/minimal.exe" ${BENCH_REPS:+--reps=$BENCH_REPS} \
        >"$log" 2>&1 </dev/null || { cat "$log"; exit 1; }
    tr -d '\r' <"$log"
    rm -f "$log"
fi

# The host's view of this run's processes. Other Wine sessions on the machine
# may run programs of the same names, so a process counts only when it
# carries this run's tag in its environment.
export ZB_BENCH_RUN="$$.$RANDOM"
# A second argument picks one of several processes of that name by the
# ZB_BENCH_ROLE it was started with.
pids_of() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(cat "$p/comm" 2>/dev/null)" = "${1:0:15}" ] || continue
        grep -qzx "ZB_BENCH_RUN=$ZB_BENCH_RUN" "$p/environ" 2>/dev/null || continue
        [ -z "${2:-}" ] || grep -qzx "ZB_BENCH_ROLE=$2" "$p/environ" 2>/dev/null || continue
        echo "${p#/proc/}"
    done
    true
}
pid_of() { pids_of "$@" | head -n 1; }
# The X server: the private one this script's session started; the
# wineserver of this prefix by the folder it works in.
x_server_pid() {
    echo "$zb_xvfb_pid"
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
# A figure that cannot be measured stops the bench, naming it: a zero in its
# place would read as a measurement.
unmeasured() {
    echo "make bench: stopped: $*" >&2
    exit 1
}
# The pid of the process NAME [ROLE] of this run, once it has started and
# settled (its start-up over: it uses under a tenth of a core for a second).
started_pid() {
    local name=$1 role=${2:-} pid=""
    found() { pid=$(pid_of "$name" "$role"); [ -n "$pid" ]; }
    zb_wait_for 20 "$name${role:+ ($role)} to start" found ||
        unmeasured "$name${role:+ ($role)} was not found among this run's processes"
    settled() {
        local a b
        a=$(usage "$pid" | cut -d' ' -f1) && sleep 1 && b=$(usage "$pid" | cut -d' ' -f1) &&
            [ $((b - a)) -lt 100000000 ]
    }
    zb_wait_for 30 "$name${role:+ ($role)} to settle after its start" settled ||
        unmeasured "$name${role:+ ($role)} did not settle after its start"
    echo "$pid"
}
# CPU time in nanoseconds and context switches (wake-ups), all threads; fails
# when the process is gone.
usage() {
    local ns=0 n=0 t
    [ -n "$1" ] && [ -d "/proc/$1/task" ] || return 1
    for t in /proc/"$1"/task/*; do
        ns=$((ns + $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null || echo 0)))
        n=$((n + $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {n += $2} END {print n + 0}' \
            "$t/status" 2>/dev/null || echo 0)))
    done
    echo "$ns $n"
}
# Measures the given NAME=PID pairs over $seconds; prints
# "cpu-ms-per-minute wakeups-per-minute" each. A process that is missing at
# either end stops the bench.
measure() {
    local pair before=() i=0 now
    for pair in "$@"; do
        before+=("$(usage "${pair#*=}")") || unmeasured "${pair%%=*} is not running"
    done
    sleep "$seconds"
    for pair in "$@"; do
        now=$(usage "${pair#*=}") || unmeasured "${pair%%=*} ended while it was measured"
        set -- $now ${before[$i]}
        awk -v ns=$(($1 - $3)) -v n=$(($2 - $4)) -v s="$seconds" \
            'BEGIN { printf "%.1f ms %.0f\n", ns / 1e6 * 60 / s, n * 60 / s }'
        i=$((i + 1))
    done
}
stop() { local p; for p in "$@"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done; }

rounds=${BENCH_ROUNDS:-3}
hold=${HOLD_SECONDS:-600}
floor_exe="$build/bench/floor.exe"
# The floors copy the program's facts on this screen, as the program gives
# them: the gauge's default box and the poll's period.
facts=$(zb_wine "$build/bench/bench.exe" --facts </dev/null 2>/dev/null | tr -d '\r') || true
read -r gauge_left gauge_top gauge_width gauge_height poll_ms <<<"$facts" || true
[[ ${poll_ms:-} =~ ^[0-9]+$ ]] || unmeasured "bench.exe --facts gave no facts (\"$facts\")"
floor_facts=(--box="$gauge_left,$gauge_top,$gauge_width,$gauge_height" --period="$poll_ms")
# The median of the numbers on standard input, with the least and the most.
spread() {
    sort -n | awk -v f="$1" '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf f " (" f "–" f ")", m, v[1], v[NR] }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Starts a Windows program in a virtual desktop of its own, tagged with a role.
launch() {
    local role=$1 desktop=$2
    shift 2
    ZB_BENCH_ROLE=$role zb_launch "$desktop" "$screen" "$@" >/dev/null 2>&1 &
}
stop_all() {
    local pids
    pids=$(pids_of ZemloBattery.exe; pids_of floor.exe; pids_of explorer.exe)
    stop $pids
    gone() { local p; for p in $pids; do [ ! -d "/proc/$p" ] || return 1; done; }
    zb_wait_for 10 "the measured programs to end" gone || unmeasured "the measured programs did not end"
}

# The device program in the runner against the desktop program, started in
# turn in the screen's own desktop with steady power: messages sent from
# another process and timed until handled (zbdrive messages: quiet poll ticks,
# gauge paints in each style, page paints), the runner's own count of what
# each costs it (ZB_RUNNER_PROFILE: time, ARM instructions, calls into the
# system), the start-up to the first gauge paint and the idle CPU time.
device_costs() {
    local runner=$build/runner/ZemloBattery.exe profile sends style program out n=${BENCH_REPS:-400}
    [ -x "$runner" ] || unmeasured "no runner: build/runner/ZemloBattery.exe"
    profile=$(mktemp) sends=$(mktemp)
    for style in 1 0 2; do
        for program in "$program_exe" "$runner"; do
            rm -f "$profile"
            out=$(ZB_PROGRAM=$program ZB_RUNNER_PROFILE="Z:$profile" zb_drive "zb$screen" \
                reset set Style "$style" launch messages "$n" quit) ||
                unmeasured "messages to $program in style $style were not answered"
            awk -v s="$style" -v p="$([ "$program" = "$runner" ] && echo device || echo desktop)" \
                'NF == 4 { print p, s, $0 }' <<<"$out" >>"$sends"
            [ "$program" != "$runner" ] || awk -v s="$style" '{ print "profile", s, $0 }' "$profile" >>"$sends"
        done
    done
    local names=("WM5" "WM6" "Custom")
    sent() { awk -v p="$1" -v s="$2" -v w="$3" '$1 == p && $2 == s && $3 == w { printf "%.1f µs (%.1f–%.1f)", $4, $5, $6 }' "$sends"; }
    ratio() {
        awk -v s="$1" -v w="$2" '$2 == s && $3 == w { v[$1] = $4 }
            END { printf "%.2f×", v["device"] / v["desktop"] }' "$sends"
    }
    echo
    echo "| Sent from another process until handled, $n each, median (10th–90th) | Desktop program | Device program in the runner | Ratio |"
    echo "|---|---|---|---|"
    echo "| Poll tick, nothing new (host's power status) | $(sent desktop 1 tick) | $(sent device 1 tick) | $(ratio 1 tick) |"
    for style in 1 0 2; do
        echo "| Gauge paint, ${names[style]} | $(sent desktop "$style" gauge-paint) | $(sent device "$style" gauge-paint) | $(ratio "$style" gauge-paint) |"
    done
    echo "| Info page paint | $(sent desktop 1 page-paint) | $(sent device 1 page-paint) | $(ratio 1 page-paint) |"
    # The runner's profile: "profile STYLE CLASS MESSAGE COUNT MEDIAN P10 P90 INSTRUCTIONS CALLS".
    inside() {
        awk -v s="$1" -v c="$2" -v m="$3" '$1 == "profile" && $2 == s && $3 == c && $4 == m {
            printf "%.1f µs (%.1f–%.1f) | %d | %d", $6, $7, $8, $9, $10 }' "$sends"
    }
    echo
    echo "| In the runner, per message it hands to the program, median (10th–90th) | Time | ARM instructions | Calls into the system |"
    echo "|---|---|---|---|"
    echo "| Poll tick, nothing new | $(inside 1 ZemloBattery 0x113) |"
    for style in 1 0 2; do
        echo "| Gauge paint, ${names[style]} | $(inside "$style" Static 0xf) |"
    done
    echo "| Info page paint | $(inside 1 ZemloBattery 0xf) |"
    echo
    zb_drive "zb$screen" reset >/dev/null
    startup=$(zb_wine "$build/bench/bench.exe" --program="$program_exe" --runner="$runner" </dev/null 2>&1 | tr -d '\r') ||
        { echo "$startup"; unmeasured "the start-up figures"; }
    echo "$startup"
    rm -f "$profile" "$sends"
}

if [ "$only" = device ]; then
    device_costs
    # Idle, in turn: the two are one program to Wine, and a second start ends.
    idle=$(mktemp)
    for _ in $(seq "$rounds"); do
        for role in desktop device; do
            exe=$program_exe
            [ "$role" = desktop ] || exe=$build/runner/ZemloBattery.exe
            launch "$role" zbidle "$exe"
            pid=$(started_pid ZemloBattery.exe "$role")
            measure "ZemloBattery.exe ($role)=$pid" | sed "s/^/$role /" >>"$idle"
            stop_all
        done
    done
    idle_column() { awk -v r="$1" -v c="$2" '$1 == r { print $c }' "$idle" | spread "$3"; }
    echo
    echo "| Idle, $rounds rounds of $seconds s each | Desktop program | Device program in the runner |"
    echo "|---|---|---|"
    echo "| CPU time per minute, ms | $(idle_column desktop 2 %.1f) | $(idle_column device 2 %.1f) |"
    echo "| Wake-ups per minute | $(idle_column desktop 4 %.0f) | $(idle_column device 4 %.0f) |"
    rm -f "$idle"
    exit 0
fi

# The first tap on the gauge of a program just started, until the info page
# shows its bars, and a second one as soon as Hide has hidden the page; 9
# starts, with the program started in a root of 200,000 files
# (scripts/big-root.sh: a scan that walked them would be slow on every tap),
# and with it started in C:\ (a few dozen entries). In the screen's own
# desktop, as a user's. Prints the two times in ms, a start a line.
taps() {
    local root=$1 out
    shift
    zb_drive_in "zb$screen"
    for _ in $(seq 9); do
        out=$("$@" "$zb_root/scripts/wine-run.sh" "${zb_driver[@]}" reset launch-in "$root" tap tap) ||
            unmeasured "a tap with the program started in $root was not answered"
        tr -d '\r' <<<"$out" | awk '$1 == "answered" { print $2 }' | paste -sd' '
        stop_all
    done
}
big_taps=$(taps 'R:\' "$here/big-root.sh")
small_taps=$(taps 'C:\' env)
nth() { awk -v n="$1" '{ print $n }'; }
echo
echo "| Tap on the gauge to the info page with its bars, 9 starts, median (least–most), ms | Started in a root of 200,000 files | Started in C:\\ | Goal |"
echo "|---|---|---|---|"
echo "| The first tap | $(nth 1 <<<"$big_taps" | spread %.1f) | $(nth 1 <<<"$small_taps" | spread %.1f) | 150 ms with the large root |"
echo "| The next, as soon as Hide has hidden the page | $(nth 2 <<<"$big_taps" | spread %.1f) | $(nth 2 <<<"$small_taps" | spread %.1f) | 150 ms |"
[ "$only" != taps ] || exit 0

# Steady power: the program and its floors, each in a desktop of its own with
# the same stand-in taskbar and clock, measured side by side in every round.
launch program zbidle "$program_exe"
launch timer zbfloor1 "$floor_exe" --timer "${floor_facts[@]}"
launch power zbfloor2 "$floor_exe" --power "${floor_facts[@]}"
program=$(started_pid ZemloBattery.exe)
timer=$(started_pid floor.exe timer)
powered=$(started_pid floor.exe power)
results=$(mktemp)
for _ in $(seq "$rounds"); do
    measure "ZemloBattery.exe=$program" "the timer floor=$timer" "the power floor=$powered" |
        paste -sd' ' >>"$results"
done
# Columns: program ms "ms" wake-ups, timer floor ..., power floor ...
column() { awk -v c="$1" '{ print $c }' "$results" | spread "$2"; }
echo
echo "| Idle, $rounds rounds of $seconds s | ZemloBattery | Floor: the same taskbar and timer | The same, with a power reading each tick |"
echo "|---|---|---|---|"
echo "| CPU time per minute, ms | $(column 1 %.1f) | $(column 4 %.1f) | $(column 7 %.1f) |"
echo "| Wake-ups per minute | $(column 3 %.0f) | $(column 6 %.0f) | $(column 9 %.0f) |"
stop_all

# A discharging battery whose life time changes all the time, so that every
# poll repaints (and samples) the gauge. In each round the prefix idles, then
# the program runs, then its floor: a Win32 program that each poll period
# reads the power status, reads the block of the gauge's size beside the
# gauge and puts one picture of that size. Each is counted with the X server and the wineserver,
# above what those two do while the prefix idles.
fake() {
    BATTERY=57 "$here/fake-battery.sh" --native bash -c \
        '"$0" explorer "/desktop=$1,$ZB_SCREEN" "$2" "${@:3}" >/dev/null 2>&1' \
        "$zb_wine64" "$@" >/dev/null 2>&1 &
}
( i=0; while sleep 1; do
      i=$((i + 1))
      "$here/battery-files.sh" "$ZB_FAKE_POWER_DIR" --current $((900000 + i % 5 * 50000)) \
          2>/dev/null || true
  done ) &
drain=$!
# However the bench ends, the loop ends with it, as do the session's server and display.
trap 'stop "$drain"; wineserver -k 2>/dev/null || true; zb_stop_display' EXIT
xserver="the X server=$(x_server_pid)"
server="the wineserver=$(wineserver_pid)"
: >"$results"
for _ in $(seq "$rounds"); do
    line=$(measure "$xserver" "$server" | paste -sd' ')
    set -- $line
    idle_line="$1 $3 $4 $6"
    ZB_BENCH_ROLE=program fake zbdischarge "$program_exe"
    line=$(measure "ZemloBattery.exe=$(started_pid ZemloBattery.exe)" "$xserver" "$server" | paste -sd' ')
    set -- $line
    program_line="$1 $3 $4 $6 $7 $9"
    stop_all
    ZB_BENCH_ROLE=floor fake zbfloor3 "$floor_exe" --discharge "${floor_facts[@]}"
    line=$(measure "floor.exe=$(started_pid floor.exe)" "$xserver" "$server" | paste -sd' ')
    set -- $line
    floor_line="$1 $3 $4 $6 $7 $9"
    stop_all
    echo "$idle_line $program_line $floor_line" >>"$results"
done
# Columns: idle X ms, wakes, wineserver ms, wakes; program ms, wakes, X ms,
# wakes, wineserver ms, wakes; floor the same.
above() { # $1 first column of a side (5 program, 11 floor), $2 0 for ms or 1 for wakes
    awk -v c="$1" -v k="$2" '{ print $(c + k) + $(c + 2 + k) + $(c + 4 + k) - $(1 + k) - $(3 + k) }' "$results"
}
echo
if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null; then
    echo "(No fake battery here: the host's power status instead.)"
fi
echo "| Battery discharging, $rounds rounds of $seconds s | CPU time per minute, ms | Wake-ups per minute |"
echo "|---|---|---|"
echo "| Prefix idle: X server | $(column 1 %.1f) | $(column 2 %.0f) |"
echo "| Prefix idle: wineserver | $(column 3 %.1f) | $(column 4 %.0f) |"
echo "| ZemloBattery | $(column 5 %.1f) | $(column 6 %.0f) |"
echo "| ZemloBattery, X server and wineserver above the prefix's idle | $(above 5 0 | spread %.1f) | $(above 5 1 | spread %.0f) |"
echo "| Floor | $(column 11 %.1f) | $(column 12 %.0f) |"
echo "| Floor, X server and wineserver above the prefix's idle | $(above 11 0 | spread %.1f) | $(above 11 1 | spread %.0f) |"
awk -v p="$(above 5 0 | median)" -v f="$(above 11 0 | median)" -v pw="$(above 5 1 | median)" \
    -v fw="$(above 11 1 | median)" \
    'BEGIN { printf "| Ratio of the medians | %.2f× | %.2f× |\n", p / f, pw / fw }'

# What the running program holds, read from outside, next to its floor:
# after start and after $hold s of a discharging battery.
holdings() {
    local name=$1 pid gdi kb
    gdi=$(zb_wine "$build/bench/holdings.exe" "$name" 2>/dev/null | tr -d '\r' | awk 'NR == 1 { print $2 }')
    pid=$(pid_of "$name")
    kb=$(awk '/^RssAnon:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
    # -1: the process's memory could not be read (under a tracer, for one).
    [ -n "$gdi" ] && [ "$gdi" -ge 0 ] ||
        unmeasured "holdings.exe could not read the GDI objects of $name"
    [ -n "$kb" ] || unmeasured "the private memory of $name could not be read"
    echo "$gdi $kb"
}
ZB_BENCH_ROLE=program fake zbdischarge "$program_exe"
ZB_BENCH_ROLE=floor fake zbfloor3 "$floor_exe" --discharge "${floor_facts[@]}"
started_pid ZemloBattery.exe >/dev/null
started_pid floor.exe >/dev/null
line=$(holdings ZemloBattery.exe)
read -r program_gdi0 program_kb0 <<<"$line"
line=$(holdings floor.exe)
read -r floor_gdi0 floor_kb0 <<<"$line"
sleep "$hold"
line=$(holdings ZemloBattery.exe)
read -r program_gdi1 program_kb1 <<<"$line"
line=$(holdings floor.exe)
read -r floor_gdi1 floor_kb1 <<<"$line"
if [ "$hold" -ge 60 ]; then held="$((hold / 60)) min"; else held="$hold s"; fi
mib() { awk -v k="$1" 'BEGIN { printf "%.2f MiB", k / 1024 }'; }
echo
echo "| Held, battery discharging | ZemloBattery after start | after $held | Floor after start | after $held |"
echo "|---|---|---|---|---|"
echo "| GDI objects | $program_gdi0 | $program_gdi1 | $floor_gdi0 | $floor_gdi1 |"
echo "| Private memory (RssAnon) | $(mib "$program_kb0") | $(mib "$program_kb1") | $(mib "$floor_kb0") | $(mib "$floor_kb1") |"
stop "$drain"
stop_all
rm -f "$results"
