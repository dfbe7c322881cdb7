#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine prefix (CTest's emulator).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
# A 32-bit program, started directly or through explorer, on a host that
# cannot start Wine's 32-bit loader: said at once, rather than a desktop
# left waiting for a program that never comes.
for arg in "$@"; do
    if zb_is_pe32 "$arg" && ! zb_runs_32bit; then
        echo "not run: $zb_no_32bit (${arg##*/})" >&2
        exit 126
    fi
done
zb_prepare_prefix
zb_set_density "${ZB_DPI:-$(zb_density_of "$(zb_default_screen)")}"
# Wine may start a desktop process that outlives this one; it must not hold
# the caller's output open, or CTest waits for it. What the program says on
# its error output stays there: a caller that discards the output still
# shows why a step failed.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
rc=0
zb_wine "$@" >"$out" 2>"$err" </dev/null || rc=$?
cat "$out"
cat "$err" >&2
exit $rc
