#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine prefix (CTest's emulator).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
zb_prepare_prefix
zb_set_density "${ZB_DPI:-$(zb_density_of "$(zb_default_screen)")}"
# Wine may start a desktop process that outlives this one; it must not hold
# the caller's output open, or CTest waits for it.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
rc=0
zb_wine "$@" >"$log" 2>&1 </dev/null || rc=$?
cat "$log"
exit $rc
