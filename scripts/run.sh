#!/usr/bin/env bash
# `make run`: ZemloBattery on an emulated Pocket PC screen (a Wine virtual
# desktop). With a display, in a window until the program ends; without one
# (or with HEADLESS=1), on Xvfb: it saves screenshots into $SHOTS (default:
# screenshots/), quits the program and exits.
#   SCREEN=WxH, a Pocket PC screen of pocketpc_emulation/screens.txt
#   (default: its default screen), at that screen's density;
#   BATTERY=57 [AC=1] for a fake battery, BATTERY=host for the host's own.
#   On a host without a battery the default is a simulated one that slowly
#   drains (or charges, with AC=1).
#   DEVICE=1: the device program (build/device) on the runner instead.
set -Eeuo pipefail
# A step that fails says which, even when its own output was discarded.
trap 'echo "make run: failed (exit $?) at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
screen=${SCREEN:-$(zb_default_screen)}
zb_check_screen "$screen" || exit 2
program="$ZB_BUILD_DIR/ZemloBattery.exe"
[ -z "${DEVICE:-}" ] || program="$ZB_BUILD_DIR/runner/ZemloBattery.exe"
export ZB_PROGRAM=$program
shots=${SHOTS:-$zb_root/screenshots}
export ZB_DPI=$(zb_density_of "$screen")

host_has_battery() {
    grep -qx Battery /sys/class/power_supply/*/type 2>/dev/null
}

battery=${BATTERY:-}
simulated=""
if [ -z "$battery" ] && ! host_has_battery; then
    battery=80
    simulated=1
    echo "No battery on this machine: a simulated one, from 80 % $([ "${AC:-0}" = 1 ] && echo charging || echo draining) (BATTERY=host shows the host's reading)."
fi
[ "$battery" = host ] && battery=""

# Moves the simulated battery by 1 % every 4 seconds, between 5 and 95 %.
simulator_pid=""
simulate_battery() {
    local fake=$ZB_FAKE_POWER_DIR percent=$battery
    while sleep 4; do
        if [ "${AC:-0}" = 1 ]; then
            percent=$((percent >= 95 ? 5 : percent + 1))
        else
            percent=$((percent <= 5 ? 95 : percent - 1))
        fi
        "$here/battery-files.sh" "$fake" "$percent" "${AC:-0}" 2>/dev/null || true
    done
}
start_simulator() {
    [ -n "$simulated" ] && [ -z "$simulator_pid" ] || return 0
    simulate_battery &
    simulator_pid=$!
}
stop_simulator() {
    [ -n "$simulator_pid" ] && kill "$simulator_pid" 2>/dev/null || true
}

# Interactive: the program in its desktop until it ends.
launch() {
    zb_set_screen ZemloBattery "$screen"
    if [ -n "$battery" ]; then
        BATTERY=$battery AC=${AC:-0} "$here/fake-battery.sh" explorer "/desktop=ZemloBattery,$screen" "$program"
    else
        zb_launch ZemloBattery "$screen" "$program"
    fi
}

if [ -z "${HEADLESS:-}" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    trap stop_simulator EXIT
    start_simulator
    launch
    # The simulated battery moves for as long as the program runs.
    [ -z "$simulated" ] || wineserver -w
    exit 0
fi

# Square, so that the screen can turn within it.
side=$(zb_turning_side "$screen")
zb_private_display "${side}x${side}" "$(zb_depth_of "$screen")"
trap 'stop_simulator; wineserver -k 2>/dev/null || true; zb_stop_display' EXIT
zb_prepare_prefix
# The server, and with it the desktop's size, lasts from one program to the next.
wineserver -p
start_simulator
mkdir -p "$shots"
name=$screen

# What a user does, by zbdrive in the program's desktop: it finds the windows
# and waits until each step shows.
drive() { zb_drive ZemloBattery "$@"; }

# The screen's size and the taskbar's height as the program's windows show them.
read_layout() {
    local where
    where=$(drive where)
    read -r w h <<<"$(awk '$1 == "screen" { print $2, $3 }' <<<"$where")"
    bar=$(awk '$1 == "taskbar" { print $5 - $3 }' <<<"$where")
}

# Starts the program after the settings COMMANDS (zbdrive's reset and set)
# and waits for its gauge.
start_program() {
    zb_set_screen ZemloBattery "$screen"
    zb_drive_in ZemloBattery
    if [ -n "$battery" ]; then
        BATTERY=$battery AC=${AC:-0} "$here/fake-battery.sh" "${zb_driver[@]}" "$@" launch >/dev/null
    else
        drive "$@" launch >/dev/null
    fi
    read_layout
    drive settle
}

stop_program() {
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p
}

shots_done() {
    echo "screenshots in $shots:"
    ls -1 "$shots" | grep "^$screen" | sed 's/^/  /'
    exit 0
}
shot() { import -window root -crop "${w}x${h}+0+0" +repage "$shots/$name-$1.png"; }

# The gauge in each background style, cut from the taskbar and enlarged; each
# run starts from that style and the default settings.
zb_set_screen ZemloBattery "$screen"
mapfile -t styles < <(drive styles)
[ "${#styles[@]}" -gt 0 ] || { echo "zbdrive named no background styles" >&2; exit 1; }
for style in "${styles[@]}"; do
    read -r number style_name <<<"$style"
    file="$shots/$name-gauge-${style_name,,}.png"
    start_program reset set Style "$number"
    import -window root -crop "$((w / 2))x${bar}+0+0" +repage "$file"
    convert "$file" -scale 200% "$file"
    stop_program
done

# The default settings on the whole screen: the taskbar, the info page after
# a tap on the gauge, Setup opened from the page's soft-key bar, and the
# colour chooser behind its "Full_Part" swatch; the taskbar's "ok" ends Setup.
shoot_to_setup() {
    shot taskbar
    drive info settle
    shot info
    drive setup settle
    shot setup
}
start_program reset
shoot_to_setup
drive chooser Full_Part settle
shot chooser
drive escape ok

# The screen turned (portrait to landscape, or back), the gauge aligned right
# three bar heights from the right end: left of the clock and the "ok". This
# Wine may not turn it: Wine 8 lists no 800x480 mode, and Wine 10 turns a
# desktop that started in landscape back to that size only.
stop_program
start_program reset set Align 0 set Position $((3 * bar))
if ! drive turn >/dev/null; then
    echo "This Wine did not turn the $screen screen: no pictures of it turned."
    stop_program
    shots_done
fi
drive settle
name=$screen-turned
read_layout
shoot_to_setup
drive ok
stop_program
shots_done
