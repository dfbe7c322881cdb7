# Sourced by the scripts that run Windows programs: the project's own Wine
# prefix, quiet, without Mono or Gecko prompts.
zb_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ZB_BUILD_DIR=${ZB_BUILD_DIR:-$zb_root/build}
# A test that CTest runs in one of make test's lanes (scripts/test.sh) takes
# that lane's display, prefix and fake battery, once: a session the test
# starts for itself (screen-session.sh) keeps its own display below it.
if [ -z "${ZB_LANE:-}" ] && [ -n "${ZB_LANES:-}" ] && [ -n "${CTEST_RESOURCE_GROUP_0_LANES:-}" ]; then
    ZB_LANE=${CTEST_RESOURCE_GROUP_0_LANES#id:}
    export ZB_LANE=${ZB_LANE%%,*}
    source "$ZB_LANES/lane-$ZB_LANE.env"
fi
export WINEPREFIX=${WINEPREFIX:-$ZB_BUILD_DIR/wineprefix}
export ZB_FAKE_POWER_DIR=${ZB_FAKE_POWER_DIR:-$ZB_BUILD_DIR/fake-power}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# The loaders. With wine32 installed, Debian's `wine` script starts the
# 32-bit loader, and Wine's tool links (winepath, wineboot, reg, ...) go
# through that script: a 64-bit program started through it runs under a
# 32-bit start.exe, and on a host that runs no 32-bit programs every tool
# fails. So everything but a 32-bit (i386) program, Wine's own tools
# included, goes to the 64-bit loader; a 32-bit program to the 32-bit one.
zb_wine64=/usr/lib/wine/wine64
[ -x "$zb_wine64" ] || zb_wine64=$(command -v wine64 || echo wine)
zb_wine32=""
for zb_loader in /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine; do
    [ -x "$zb_loader" ] && { zb_wine32=$zb_loader; break; }
done
zb_wine() {
    local loader=$zb_wine64
    if zb_is_pe32 "$1"; then
        loader=${zb_wine32:-wine}
    fi
    "$loader" "$@"
}
zb_is_pe32() {
    [ -f "$1" ] && [ "$(zb_pe_machine "$1")" = 014c ]
}

# Whether this host runs 32-bit Windows programs: Wine's 32-bit loader must
# start. A kernel built without 32-bit support refuses it ("Exec format
# error"), and then so does every 32-bit program.
zb_no_32bit="this host cannot run 32-bit programs"
zb_runs_32bit() {
    [ -n "$zb_wine32" ] && "$zb_wine32" --version >/dev/null 2>&1
}

# How much slower than the development machine this host makes a system
# call, as a whole factor from 1 to 50: every deadline of the tests, the
# driver and the scripts is multiplied by it (ZB_DEADLINE_SCALE), so that a
# condition that takes its time on a slow host is still waited for, and a
# failing one is not waited for long on a fast host. Measured once, by a
# copy that makes 40,000 one-byte reads and writes (about 0.3 us each on the
# development machine), unless the caller names it.
zb_measure_scale() {
    local start end
    start=$EPOCHREALTIME
    dd if=/dev/zero of=/dev/null bs=1 count=20000 2>/dev/null
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN {
        k = int((e - s) * 1e6 / 40000 / 0.3 + 0.5)
        print (k < 1 ? 1 : (k > 50 ? 50 : k)) }'
}
export ZB_DEADLINE_SCALE=${ZB_DEADLINE_SCALE:-$(zb_measure_scale)}
# Waits until the command "$@" succeeds, polling every 50 ms, at most
# BASE_SECONDS times the scale: `zb_wait_for BASE_SECONDS WHAT COMMAND...`.
# Fails naming WHAT and how long it waited.
zb_wait_for() {
    local base=$1 what=$2 limit
    shift 2
    limit=$(awk -v b="$base" -v k="$ZB_DEADLINE_SCALE" 'BEGIN { print b * k }')
    local start=$EPOCHREALTIME
    until "$@"; do
        if awk -v s="$start" -v n="$EPOCHREALTIME" -v l="$limit" 'BEGIN { exit !(n - s > l) }'; then
            echo "waited ${limit} s for $what; it did not happen" >&2
            return 1
        fi
        sleep 0.05
    done
}

# The machine field of a PE file's header, in hex: 014c i386, 8664 x86-64.
zb_pe_machine() {
    local header
    header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}

# Creates the prefix once, with the emulated Pocket PC screens: Wine puts an
# executable's windows in the virtual desktop that its AppDefaults name, and
# the processes it starts inherit that desktop (zb_prepare_desktops). A
# prefix without the mark of this version is made again over itself.
zb_prefix_mark=.zb-ready-7
zb_prepare_prefix() {
    # A prefix made before wine32 was installed has no 32-bit side, and the
    # 32-bit build cannot run in it: it is the build's own, so make it anew
    # (where this host runs 32-bit programs at all).
    if zb_runs_32bit; then
        if [ -d "$WINEPREFIX/drive_c/windows" ] &&
            [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ]; then
            WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
            rm -rf "$WINEPREFIX"
        fi
    fi
    [ -f "$WINEPREFIX/$zb_prefix_mark" ] && { zb_prepare_desktops; zb_prepare_card; return; }
    mkdir -p "$WINEPREFIX"
    zb_wine wineboot -i >/dev/null 2>&1 || true
    # A program that crashes ends with a backtrace on its output, not a
    # dialog that waits on the screen for somebody to close it. No window
    # manager runs on the Xvfb: a window Wine leaves to one would wait 2 s at
    # every hide for it to answer, and a tap made meanwhile with it.
    local reg="$WINEPREFIX/zb-prefix.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
    zb_wine regedit /S "$(zb_wine winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    zb_device_fonts
    wineserver -w
    touch "$WINEPREFIX/$zb_prefix_mark"
    zb_prepare_desktops
    zb_prepare_card
}

# The screens' virtual desktops: "zbWxH" for each screen of the table, and
# which program opens in which: the in-process tests and the benchmark in the
# default screen's, each "all" screen's copy of the end-to-end tests in its
# own. Made again whenever the table changes.
zb_prepare_desktops() {
    local mark
    mark="$WINEPREFIX/.zb-desktops-$(cksum <"$zb_screen_table" | cut -d' ' -f1)"
    [ -f "$mark" ] && return 0
    local reg="$WINEPREFIX/zb-desktops.reg" default size suites exe
    default=$(zb_default_screen)
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n'
        while read -r size _ _ _ _; do
            printf '"zb%s"="%s"\n' "$size" "$size"
        done < <(zb_screen_lines)
        for exe in unit_tests emulation_tests bench e2e_tests; do
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s.exe\\Explorer]\n' "$exe"
            printf '"Desktop"="zb%s"\n' "$default"
        done
        while read -r size _ _ suites _; do
            [ "$suites" = all ] && [ "$size" != "$default" ] || continue
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\e2e_tests_%s.exe\\Explorer]\n' "$size"
            printf '"Desktop"="zb%s"\n' "$size"
        done < <(zb_screen_lines)
    } >"$reg"
    # regedit /S says nothing of a file it could not read: the mark is set
    # only once a key it writes is there.
    zb_wine regedit /S "$(zb_wine winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 || return 1
    zb_wine reg query "HKCU\\Software\\Wine\\AppDefaults\\unit_tests.exe\\Explorer" /v Desktop \
        >/dev/null 2>&1 || return 1
    rm -f "$WINEPREFIX"/.zb-desktops-*
    touch "$mark"
}

# A folder of the prefix as drive E:, a removable volume: the program's
# storage card. The link is relative, so that a lane's copy of the prefix has
# a card of its own, which its tests may take out. Wine's mount manager is a 64-bit process that reads the drive types
# only when it starts, so the type goes into the 64-bit registry view (a
# 32-bit "wine reg", which is what `wine` runs when wine32 is installed, would
# write it under Wow6432Node where the mount manager never looks) and the
# server is ended afterwards, so that the next Wine process starts a mount
# manager that sees it.
zb_prepare_card() {
    [ -f "$WINEPREFIX/.zb-card-ready-2" ] && return 0
    mkdir -p "$WINEPREFIX/storage-card"
    ln -sfn ../storage-card "$WINEPREFIX/dosdevices/e:"
    zb_wine reg add 'HKLM\Software\Wine\Drives' /v e: /d floppy /f /reg:64 >/dev/null 2>&1 || return 1
    wineserver -k 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.zb-card-ready-2"
}

# The device's font: Tahoma in the Windows folder, where Wine looks for the
# fonts of a prefix. Wine's own copies come with the package fonts-wine.
zb_device_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp -f /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
}

# The Pocket PC screens, one a line: size, density, build, suites, turn, depth
# (the table's own header says what each means).
zb_screen_table=$zb_root/pocketpc_emulation/screens.txt
zb_screen_lines() {
    grep '^[0-9]' "$zb_screen_table"
}
zb_screens=$(zb_screen_lines | awk '{ print $1 }' | paste -sd' ')
# The screen of make run and make bench unless SCREEN= names another: the
# table's first "all" screen.
zb_default_screen() {
    zb_screen_lines | awk '$4 == "all" { print $1; exit }'
}
zb_check_screen() {
    grep -qw -- "$1" <<<"$zb_screens" && return 0
    echo "SCREEN=$1 is not a Pocket PC screen; one of: $zb_screens" >&2
    return 2
}

# The screen's density, read by each Windows process as it starts.
zb_set_density() {
    zb_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null 2>&1
}
zb_density_of() {
    zb_screen_lines | awk -v s="$1" '$1 == s { print $2 }'
}
# The bits per pixel of the screen's X display.
zb_depth_of() {
    zb_screen_lines | awk -v s="$1" '$1 == s { print $6 }'
}

# The side of a square X screen that holds the screen WxH in both orientations.
zb_turning_side() {
    local w=${1%x*} h=${1#*x}
    echo $((w > h ? w : h))
}

# Gives the Wine desktop NAME the screen WxH, on an X screen of
# zb_turning_side's size, so that it can turn. Wine lists a portrait size
# only where it is its Default desktop's (Wine 10 the sizes of that one's
# orientation and its turned size, Wine 8 that one beside its own landscape
# sizes, which have no 800x480), turns back to it when a program resets the
# display, and Wine 10 starts a desktop whose size it does not list at the X
# screen's size: the screen's portrait form is the Default, and zbscreen
# gives the desktop its size. (Wine 10 does not turn a desktop that starts in
# landscape back to portrait: it goes back to the landscape size.)
# zbscreen ARGS... in the Wine desktop NAME of the screen WxH.
zb_screen_tool() {
    local name=$1 screen=$2
    shift 2
    "$zb_root/scripts/wine-run.sh" explorer "/desktop=$name,$screen" \
        "$ZB_BUILD_DIR/pocketpc_emulation/zbscreen.exe" "$@" >/dev/null
}

zb_set_screen() {
    local name=$1 screen=$2 w=${2%x*} h=${2#*x} portrait=$2
    [ "$w" -le "$h" ] || portrait=${h}x${w}
    zb_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$portrait" /f \
        >/dev/null 2>&1
    zb_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$name" /d "$screen" /f \
        >/dev/null 2>&1
    zb_screen_tool "$name" "$screen" "$screen"
}

# A private Xvfb whose screen is the emulated one (WxH and DEPTH, default the
# default screen's): Wine draws at the X screen's depth.
# Wine 10 gives a virtual desktop only a size among its display modes, which
# are the X screen's own size and the standard sizes of the X screen's
# orientation that fit in it. The server picks a free display number itself
# and writes it to the descriptor it is given once it accepts clients, so
# that scripts started side by side never take the same one.
zb_xvfb_pid=""
zb_private_display() {
    local numbers
    numbers=$(mktemp)
    local default
    default=$(zb_default_screen)
    Xvfb -displayfd 3 -screen 0 "${1:-$default}x${2:-$(zb_depth_of "$default")}" -nolisten tcp \
        3>"$numbers" >/dev/null 2>&1 &
    zb_xvfb_pid=$!
    zb_wait_for 5 "Xvfb to take clients" test -s "$numbers" || true
    local n
    n=$(head -n 1 "$numbers")
    rm -f "$numbers"
    if [ -z "$n" ]; then
        kill "$zb_xvfb_pid" 2>/dev/null || true
        echo "no X display could be started" >&2
        return 1
    fi
    export DISPLAY=":$n"
}

zb_stop_display() {
    [ -n "$zb_xvfb_pid" ] && kill "$zb_xvfb_pid" 2>/dev/null || true
}

# A private display (of the size and depth given, as zb_private_display takes
# them), the prefix, and a wineserver kept alive between the Windows processes
# of this script; all of it ends when the script does.
zb_start_session() {
    trap 'wineserver -k 2>/dev/null || true; zb_stop_display' EXIT
    zb_private_display "$@"
    zb_prepare_prefix
    # A server already running for the prefix (a `make run` still open, say)
    # makes -p exit with 2 and no message; that server serves as well.
    wineserver -p || true
}

# A Windows program in the Wine desktop NAME of the screen WxH:
# `zb_launch NAME WxH PROGRAM ARGS...`; returns when the desktop closes.
zb_launch() {
    local name=$1 screen=$2
    shift 2
    "$zb_root/scripts/wine-run.sh" explorer "/desktop=$name,$screen" "$@"
}

# The running program driven from outside, in the Wine desktop NAME, by
# zbdrive (tests/driver/zbdrive.cpp, which names its commands):
# `zb_drive NAME COMMAND...`. zb_drive_in NAME puts zbdrive's command line
# into the array zb_driver, for another runner (fake-battery.sh).
zb_drive_desktop=""
zb_drive_in() {
    if [ "$zb_drive_desktop" != "$1" ]; then
        zb_wine reg add 'HKCU\Software\Wine\AppDefaults\zbdrive.exe\Explorer' /v Desktop \
            /d "$1" /f >/dev/null 2>&1
        zb_drive_desktop=$1
    fi
    zb_driver=("$ZB_BUILD_DIR/tests/driver/zbdrive.exe" --program="${ZB_PROGRAM:-$ZB_BUILD_DIR/ZemloBattery.exe}"
        --desktop="$1" --screen-tool="$ZB_BUILD_DIR/pocketpc_emulation/zbscreen.exe")
}
zb_drive() {
    zb_drive_in "$1"
    shift
    "$zb_root/scripts/wine-run.sh" "${zb_driver[@]}" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}
