#!/usr/bin/env bash
# `make run`: ZemloBattery on an emulated Pocket PC screen (a Wine virtual
# desktop). With a display, in a window until the program ends; without one,
# on Xvfb, saving screenshots into $SHOTS (default: screenshots/), then it
# quits the program and exits.
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

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${HEADLESS:-}" ]; then
    launch
    exit 0
fi

zb_ensure_display
trap 'wineserver -k 2>/dev/null || true; zb_stop_display' EXIT
zb_prepare_prefix
mkdir -p "$shots"
w=${screen%x*}
h=${screen#*x}
name=$screen${BATTERY:+-$BATTERY}${AC:+-ac$AC}
# The program reads its settings from the registry: start from the defaults.
wine reg delete 'HKCU\Software\tavrel' /f >/dev/null 2>&1 || true
launch &
sleep 8
import -window root -crop "${w}x${h}+0+0" "$shots/$name-taskbar.png"
# A tap on the gauge: it sits at the default position, 4 / 2 pixels from the
# left end of the taskbar.
if [ "$w" -ge 480 ]; then gx=26 gy=26; else gx=13 gy=13; fi
xdotool mousemove "$gx" "$gy" click 1
sleep 2
import -window root -crop "${w}x${h}+0+0" "$shots/$name-info.png"
xdotool key ctrl+q
sleep 2
echo "screenshots in $shots:"
ls -1 "$shots" | sed 's/^/  /'
