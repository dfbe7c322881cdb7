#!/usr/bin/env bash
# `make run`: ZemloBattery on an emulated Pocket PC screen (a Wine virtual
# desktop). With a display, in a window until the program ends; without one
# (or with HEADLESS=1), on Xvfb: it saves screenshots into $SHOTS (default:
# screenshots/), quits the program and exits.
#   SCREEN=480x640 (default) or 240x320; BATTERY=57 [AC=1] for a fake battery.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
screen=${SCREEN:-480x640}
program="$ZB_BUILD_DIR/ZemloBattery.exe"
shots=${SHOTS:-$zb_root/screenshots}

launch() {
    if [ -n "${BATTERY:-}" ]; then
        BATTERY=$BATTERY AC=${AC:-0} "$here/fake-battery.sh" explorer "/desktop=ZemloBattery,$screen" "$program"
    else
        "$here/wine-run.sh" explorer "/desktop=ZemloBattery,$screen" "$program"
    fi
}

if [ -z "${HEADLESS:-}" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    launch
    exit 0
fi

zb_ensure_display
trap 'wineserver -k 2>/dev/null || true; zb_stop_display' EXIT
zb_prepare_prefix
mkdir -p "$shots"
w=${screen%x*}
h=${screen#*x}
if [ "$w" -ge 480 ]; then hi=1; else hi=0; fi
bar=$((hi ? 52 : 26))
name=$screen

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
}

# The gauge in each background style, cut from the taskbar and enlarged.
for style in 0:wm5 2:custom 1:wm6; do
    start_with_style "${style%%:*}"
    import -window root -crop "$((w / 2))x${bar}+0+0" +repage "$shots/$name-gauge-${style##*:}.png"
    convert "$shots/$name-gauge-${style##*:}.png" -scale 200% "$shots/$name-gauge-${style##*:}.png"
    [ "${style%%:*}" = 1 ] || stop_program
done

# The default style on the whole screen, the info page after a tap on the
# gauge, and the Setup dialog opened from the soft-key bar.
shot taskbar
gauge_x=$((hi ? 26 : 13)); gauge_y=$((hi ? 26 : 13))
tap "$gauge_x" "$gauge_y"
sleep 2
shot info
tap $((w / 4)) $((h - bar / 2))
sleep 1
xdotool key Up Return
sleep 2
shot setup
stop_program
echo "screenshots in $shots:"
ls -1 "$shots" | grep "^$name" | sed 's/^/  /'
