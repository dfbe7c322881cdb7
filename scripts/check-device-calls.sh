#!/usr/bin/env bash
# Every call the program makes must exist on the device: a CTest test, run on
# the program's own objects (the emulation left out) after each build.
#
#   check-device-calls.sh NM PLATFORM_H EXPORTS_DIR EMULATION_LIB PROGRAM_FILE...
#
# A call counts when the program's objects import it from a DLL (__imp_NAME)
# or reach it in the emulation (the routed calls, under the CE name that
# platform.h routes to them, and the shell's and power calls). Each must be
# exported by the device (EXPORTS_DIR/*.txt) or be made by the device build
# itself: a name that platform.h's _WIN32_WCE branch defines (a function there,
# a macro for another name). C and C++ runtime helpers (names starting with
# "__" or "_Unwind_", and C++ symbols outside the emulation) are the device
# compiler's own and are not checked.
set -euo pipefail
nm=$1 platform_h=$2 exports=$3 emulation=$4
shift 4
filt=${nm%nm}c++filt
failed=0

# The symbol names of a listing in nm's portable format, by type (U, or not).
symbols() {
    local which=$1
    shift
    "$nm" -P "$@" | awk -v which="$which" '
        NF >= 2 && $1 !~ /:$/ {
            if ((which == "U") == ($2 == "U")) print $1
        }' | sort -u
}
# On 32-bit x86 a C name carries one leading underscore, and __stdcall its
# argument size (@N).
undecorate() {
    sed -E 's/@[0-9]+$//' | if [ "$underscore" = 1 ]; then sed -E 's/^_//'; else cat; fi
}

undefined=$(symbols U -u "$@")
defined=$(symbols D --defined-only "$@")
emulated=$(symbols D --defined-only "$emulation")
underscore=0
grep -qE '^__imp__.*@[0-9]+$' <<<"$undefined" && underscore=1

# platform.h: the device branch (_WIN32_WCE) up to its #else, the desktop one
# after it.
branch() {
    awk -v want="$1" '
        /^#ifdef _WIN32_WCE/ { part = "ce"; next }
        part == "ce" && /^#else/ { part = "desktop"; next }
        /^#endif \/\/ _WIN32_WCE/ { part = "" }
        part == want' "$platform_h"
}
# "routed CE" pairs: the desktop's #define CEName PlatformName.
routes=$(branch desktop | awk '$1 == "#define" && $3 ~ /^Platform/ { print $3, $2 }')
# "name target" for the device branch's macros (target "-" for a
# function-like one), and its own functions.
ce_macros=$(branch ce | awk '
    $1 == "#define" && $2 ~ /\(/ { sub(/\(.*/, "", $2); print $2, "-"; next }
    $1 == "#define" && NF >= 3 { print $2, $3 }')
ce_functions=$(branch ce | sed -nE 's/^inline [A-Za-z_ *]+[ *]([A-Za-z_][A-Za-z0-9_]*)\(.*/\1/p')

on_device() {
    grep -qxF -- "$1" "$exports"/*.txt
}

# The name a device build calls for NAME, checked; the names are chained
# (PlatformChooseColorW -> ChooseColorW -> ChooseColor).
check() {
    local name=$1 how=$2 target
    target=$(awk -v n="$name" '$1 == n { print $2; exit }' <<<"$routes")
    [ -n "$target" ] && name=$target
    grep -qxF -- "$name" <<<"$ce_functions" && return 0
    target=$(awk -v n="$name" '$1 == n { print $2; exit }' <<<"$ce_macros")
    [ "$target" = - ] && return 0
    [ -n "$target" ] && name=$target
    on_device "$name" && return 0
    echo "not on the device: $name ($how)" >&2
    failed=1
}

imports=0 routed=0
while read -r symbol; do
    [ -n "$symbol" ] || continue
    grep -qxF -- "$symbol" <<<"$defined" && continue
    if [[ $symbol == __imp_* ]]; then
        check "$(undecorate <<<"${symbol#__imp_}")" "imported from a DLL"
        imports=$((imports + 1))
    elif grep -qxF -- "$symbol" <<<"$emulated"; then
        name=$("$filt" "${symbol%@*}" | sed -E 's/\(.*//' | undecorate)
        check "$name" "provided by the emulation on the desktop"
        routed=$((routed + 1))
    else
        name=$(undecorate <<<"$symbol")
        case $name in
        __* | _Unwind_* | _Z*) ;;
        *) check "$name" "from the C library" ;;
        esac
    fi
done <<<"$undefined"

# Every route platform.h declares, used today or not.
while read -r platform ce; do
    [ -n "$platform" ] && check "$ce" "routed by platform.h to $platform"
done <<<"$routes"

if [ "$imports" -eq 0 ] || [ "$routed" -eq 0 ]; then
    echo "found no calls to check ($imports imported, $routed emulated): wrong files?" >&2
    exit 1
fi
[ "$failed" -eq 0 ] && echo "every call is on the device: $imports imported, $routed emulated"
exit $failed
