#!/usr/bin/env bash
# Runs a Windows executable against a simulated battery: a fake
# /sys/class/power_supply, bound over the real one in a private mount
# namespace, which Wine's power status reads (BATTERY percent, default 57;
# AC=1 on external power). The test changes the files in ZB_FAKE_POWER with
# the writer that ZB_BATTERY_FILES names. Without the rights for a mount
# namespace the program runs against the host's power supply and
# ZB_FAKE_POWER is empty.
# With --native first, the command is a host program run as it is.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
runner=$here/wine-run.sh
if [ "${1:-}" = --native ]; then
    runner=$2
    shift 2
fi

fake=$ZB_FAKE_POWER_DIR
"$here/battery-files.sh" "$fake" "${BATTERY:-57}" "${AC:-0}"

if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    export ZB_FAKE_POWER="$fake" ZB_BATTERY_FILES="$here/battery-files.sh"
    exec unshare -m bash -c 'mount --bind "$ZB_FAKE_POWER" /sys/class/power_supply && exec "$0" "$@"' \
        "$runner" "$@"
fi
export ZB_FAKE_POWER=""
exec "$runner" "$@"
