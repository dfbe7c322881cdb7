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

# "HOW NAME" for every call of the program's objects.
program=$(comm -23 <(echo "$undefined") <(echo "$defined"))
calls() {
    grep '^__imp_' <<<"$program" | sed 's/^__imp_//' | undecorate |
        sed 's/^/imported /'
    comm -12 <(echo "$program") <(echo "$emulated") | sed -E 's/@[0-9]+$//' | "$filt" |
        sed -E 's/\(.*//' | undecorate | sed 's/^/emulated /'
    comm -23 <(echo "$program") <(echo "$emulated") | grep -v '^__imp_' | undecorate |
        grep -vE '^(__|_Unwind_|_Z)' | sed 's/^/C-library /' || true
    awk '{ print "routed", $2 }' <<<"$routes"
}

# A call is resolved along platform.h's names (PlatformChooseColorW ->
# ChooseColorW -> ChooseColor) and checked against the export lists.
calls | awk -v exports="$(cat "$exports"/*.txt)" -v routes="$routes" \
    -v macros="$ce_macros" -v functions="$ce_functions" '
    BEGIN {
        n = split(exports, lines, "\n"); for (i = 1; i <= n; ++i) exported[lines[i]] = 1
        n = split(routes, lines, "\n")
        for (i = 1; i <= n; ++i) { split(lines[i], f, " "); route[f[1]] = f[2] }
        n = split(macros, lines, "\n")
        for (i = 1; i <= n; ++i) { split(lines[i], f, " "); macro[f[1]] = f[2] }
        n = split(functions, lines, "\n"); for (i = 1; i <= n; ++i) own[lines[i]] = 1
    }
    {
        how = $1; name = $2; ++count[how]
        if (name in route) name = route[name]
        if (name in own || (name in macro && macro[name] == "-")) next
        if (name in macro) name = macro[name]
        if (!(name in exported)) {
            printf "not on the device: %s (%s)\n", name, how > "/dev/stderr"
            failed = 1
        }
    }
    END {
        if (!count["imported"] || !count["emulated"]) {
            print "found no calls to check: wrong files?" > "/dev/stderr"
            exit 1
        }
        if (failed) exit 1
        printf "every call is on the device: %d imported, %d emulated, %d routes\n",
            count["imported"], count["emulated"], count["routed"]
    }'
