#!/usr/bin/env bash
# One emulated screen in a session of its own, for the tests of that screen:
#   scripts/screen-session.sh WxH CMD...
# CMD runs in the Wine desktop "zbscreen" of that size, at the screen's
# density and depth, with ZB_SCREEN=WxH and ZB_DEPTH in its environment.
#
# Wine keeps the display's state in its server: the session has a server and
# an X screen of its own, on which the screen can turn (zb_set_screen).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
screen=$1
shift
zb_check_screen "$screen" || exit 2

# The tests of a screen run as e2e_tests_screen.exe, which Wine starts in
# the desktop "zbscreen".
app_desktop() {
    zb_wine reg add 'HKCU\Software\Wine\AppDefaults\e2e_tests_screen.exe\Explorer' \
        /v Desktop /d zbscreen /f >/dev/null 2>&1
}

# The session this runs in has a server of its own, on another X screen.
wineserver -k 2>/dev/null || true
side=$(zb_turning_side "$screen")
zb_start_session "${side}x${side}" "$(zb_depth_of "$screen")"
app_desktop
export ZB_DPI=$(zb_density_of "$screen") ZB_DEPTH=$(zb_depth_of "$screen") ZB_SCREEN=$screen
zb_set_screen zbscreen "$screen"
"$@"
