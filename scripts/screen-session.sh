#!/usr/bin/env bash
# One emulated screen in a session of its own, for the tests of that screen:
#   scripts/screen-session.sh WxH CMD...
# CMD runs in the Wine desktop "zbscreen" of that size, at the screen's
# density, with ZB_SCREEN=WxH in its environment.
#
# Wine keeps the display's state in its server, and a virtual desktop can only
# turn within its X screen. So the session has a server and an X screen of its
# own, square on the larger side so that both orientations fit, and the screen
# is the prefix's Default desktop: Wine 10 lists the sizes of that one's
# orientation and its turned size, and returns to it when a program resets
# the display; Wine 8 lists it beside its own landscape sizes. Wine 10 starts
# a desktop whose size it does not list at the X screen's size, so zbscreen
# gives the desktop its size before CMD runs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
screen=$1
shift
w=${screen%x*}
h=${screen#*x}
side=$((w > h ? w : h))

# The tests of a screen run as e2e_tests_screen.exe, which Wine starts in
# the desktop "zbscreen".
reg_screen_desktop() {
    local reg="$WINEPREFIX/zb-screen.reg"
    cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="$screen"
"zbscreen"="$screen"

[HKEY_CURRENT_USER\Software\Wine\AppDefaults\e2e_tests_screen.exe\Explorer]
"Desktop"="zbscreen"
REG
    zb_wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
}

# The session this runs in has a server of its own, on another X screen.
wineserver -k 2>/dev/null || true
zb_start_session "${side}x${side}"
reg_screen_desktop
export ZB_DPI=$(zb_density_of "$screen") ZB_SCREEN=$screen
"$here/wine-run.sh" explorer "/desktop=zbscreen,$screen" \
    "$ZB_BUILD_DIR/pocketpc_emulation/zbscreen.exe" "$screen"
"$@"
