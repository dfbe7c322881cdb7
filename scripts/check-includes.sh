#!/usr/bin/env bash
# The include rules of the code, checked from its #include lines (a CTest
# test, so that they cannot silently break):
# - common/platform/platform.h includes nothing of the project;
# - base (common/base/) includes only platform/ and base/;
# - the emulation (pocketpc_emulation/, its tests too) never includes the
#   program's folders;
# - no program file (src/) includes a file of the emulation;
# - no folder includes a folder that includes it back, however long the way.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
# The program's parts: every folder of src/.
parts=$(find src -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort | paste -sd'|')
failed=0
fail() {
    echo "include rule broken: $*" >&2
    failed=1
}

# "file: included" for every quoted include of the given files.
includes() {
    grep -HE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$@" /dev/null |
        sed -E 's/^([^:]*):[^"]*"([^"]*)".*/\1: \2/'
}
sources() {
    find "$@" -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) | sort
}

mapfile -t emulation < <(sources pocketpc_emulation)
mapfile -t base < <(sources common/base)
mapfile -t program < <(sources src)

[ -z "$(includes common/platform/platform.h)" ] ||
    fail "platform.h includes $(includes common/platform/platform.h)"
while read -r line; do
    fail "$line (base sits on platform/ alone)"
done < <(includes "${base[@]}" | grep -vE ': (platform|base)/')
while read -r line; do
    fail "$line (the emulation never reaches the program)"
done < <(includes "${emulation[@]}" | grep -E ": (($parts)/|fixtures\.h)")
while read -r line; do
    fail "$line (the program never reaches the emulation)"
done < <(includes "${program[@]}" | grep -E ': (pocketpc_emulation/|internal\.h|subclass\.h|seams\.h)')

# Folder to folder: src/<part>, common/<base|platform> and pocketpc_emulation;
# tsort finds any loop.
folder() {
    case $1 in
    pocketpc_emulation/*) echo pocketpc_emulation ;;
    src/* | common/*) echo "$1" | cut -d/ -f1-2 ;;
    esac
}
edges=$(includes "${program[@]}" "${base[@]}" "${emulation[@]}" | while read -r file included; do
    from=$(folder "${file%:}")
    case $included in
    base/* | platform/*) to=$(folder "common/$included") ;;
    */*) to=$(folder "src/$included") ;;
    *) to=$from ;;
    esac
    [ "${included%%/*}" = pocketpc_emulation ] && to=pocketpc_emulation
    [ -n "$to" ] && echo "$from $to"
done | sort -u)
if ! loop=$(echo "$edges" | tsort 2>&1 >/dev/null); then
    fail "folders include each other: $(echo "$loop" | grep -v 'input contains a loop' | tr '\n' ' ')"
fi
exit $failed
