#!/usr/bin/env bash
# `make run`: ZemloBattery on an emulated Pocket PC screen (a Wine virtual
# desktop). With a display, in a window until the program ends; without one
# (or with HEADLESS=1), on Xvfb: it saves screenshots into $SHOTS (default:
# screenshots/), quits the program and exits.
#   SCREEN=480x640 (default), or another Pocket PC screen (the list below);
#   BATTERY=57 [AC=1] for a fake battery, BATTERY=host for the host's own.
#   On a host without a battery the default is a simulated one that slowly
#   drains (or charges, with AC=1).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
screen=${SCREEN:-480x640}
# The Pocket PC screens, portrait and landscape, each at its device density.
zb_check_screen "$screen" || exit 2
program="$ZB_BUILD_DIR/ZemloBattery.exe"
w=${screen%x*}
h=${screen#*x}
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
    local fake="$ZB_BUILD_DIR/fake-power" percent=$battery
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

launch() {
    zb_set_screen ZemloBattery "$screen"
    if [ -n "$battery" ]; then
        BATTERY=$battery AC=${AC:-0} "$here/fake-battery.sh" explorer "/desktop=ZemloBattery,$screen" "$program"
    else
        "$here/wine-run.sh" explorer "/desktop=ZemloBattery,$screen" "$program"
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
zb_private_display "${side}x${side}"
trap 'stop_simulator; wineserver -k 2>/dev/null || true; zb_stop_display' EXIT
zb_prepare_prefix
# The server, and with it the desktop's size, lasts from one program to the next.
wineserver -p
start_simulator
mkdir -p "$shots"
if [ "$w" -ge 480 ]; then hi=1; else hi=0; fi
bar=$((hi ? 52 : 26))
name=$screen

shots_done() {
    echo "screenshots in $shots:"
    ls -1 "$shots" | grep "^$screen" | sed 's/^/  /'
    exit 0
}
shot() { import -window root -crop "${w}x${h}+0+0" +repage "$shots/$name-$1.png"; }
tap() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; }

# Each run starts from the stored style and the default position.
start_with_style() {
    zb_wine reg delete 'HKCU\Software\tavrel' /f >/dev/null 2>&1 || true
    zb_wine reg add 'HKCU\Software\tavrel\ZemloBattery' /v Style /t REG_DWORD /d "$1" /f >/dev/null
    launch &
    sleep 6
}

stop_program() {
    wineserver -k 2>/dev/null || true
    sleep 1
    wineserver -p
}

# The gauge in each background style, cut from the taskbar and enlarged.
for style in 0:wm5 2:custom 1:wm6; do
    start_with_style "${style%%:*}"
    import -window root -crop "$((w / 2))x${bar}+0+0" +repage "$shots/$name-gauge-${style##*:}.png"
    convert "$shots/$name-gauge-${style##*:}.png" -scale 200% "$shots/$name-gauge-${style##*:}.png"
    [ "${style%%:*}" = 1 ] || stop_program
done

# The default style on the whole screen, the info page after a tap on the
# gauge, the Setup dialog opened from the soft-key bar, and the colour chooser
# behind its "Full_Part" swatch.
# The taskbar, then the info page after a tap at x on the gauge, then Setup
# from the page's soft-key bar.
shoot_to_setup() {
    shot taskbar
    tap "$1" $((bar / 2))
    sleep 2
    shot info
    tap $((w / 4)) $((h - bar / 2))
    sleep 1
    xdotool key Up Return
    sleep 2
    shot setup
}
tap_ok() { tap $((w - bar / 8 - bar * 3 / 4)) $((bar / 2)); sleep 1; }

shoot_to_setup $((hi ? 26 : 13))
tap $((hi ? 290 : 155)) $((bar + (hi ? 150 + 4 * 36 + 10 : 75 + 4 * 18 + 5)))
sleep 2
shot chooser
xdotool key Escape
sleep 1
tap_ok # the taskbar's "ok" ends Setup

# The screen turned (portrait to landscape, or back), the gauge aligned right.
stop_program
# Three bar heights from the right end: left of the clock and the "ok".
position=$((3 * bar))
zb_wine reg add 'HKCU\Software\tavrel\ZemloBattery' /v Align /t REG_DWORD /d 0 /f >/dev/null
zb_wine reg add 'HKCU\Software\tavrel\ZemloBattery' /v Position /t REG_DWORD /d "$position" /f \
    >/dev/null
launch &
sleep 6
zb_screen_tool ZemloBattery "$screen" turn
sleep 3
# Outside the desktop the X screen is black: its far corner shows whether the
# desktop turned: Wine 8 lists no 800x480 mode, and Wine 10 turns a desktop
# that started in landscape back to that size only.
corner=$(import -window root -crop "1x1+$((h - 1))+$((w - 1))" txt:- | tail -n 1)
if grep -q '#000000' <<<"$corner"; then
    echo "This Wine did not turn the $screen screen: no pictures of it turned."
    stop_program
    shots_done
fi
name=$screen-turned
read -r w h <<<"$h $w"
shoot_to_setup $((w - position + (hi ? 22 : 11)))
tap_ok
stop_program
shots_done
