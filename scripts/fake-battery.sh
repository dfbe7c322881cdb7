#!/usr/bin/env bash
# Runs a Windows executable against a simulated battery: a fake
# /sys/class/power_supply, bound over the real one in a private mount
# namespace, which Wine's power status reads. The test changes the files
# through ZB_FAKE_POWER. Without the rights for a mount namespace the program
# runs against the host's power supply and ZB_FAKE_POWER is empty.
# With --native first, the command is a host program run as it is.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
runner=$here/wine-run.sh
if [ "${1:-}" = --native ]; then
    runner=$2
    shift 2
fi

fake="$ZB_BUILD_DIR/fake-power"
rm -rf "$fake"
mkdir -p "$fake/BAT0" "$fake/AC"
echo Battery >"$fake/BAT0/type"
echo 1 >"$fake/BAT0/present"
echo "${FAKE_STATUS:-Discharging}" >"$fake/BAT0/status"
percent=${BATTERY:-57}
echo "$percent" >"$fake/BAT0/capacity"
echo 4000000 >"$fake/BAT0/charge_full"
echo $((40000 * percent)) >"$fake/BAT0/charge_now"
echo 1000000 >"$fake/BAT0/current_now"
echo 3800000 >"$fake/BAT0/voltage_now"
echo Mains >"$fake/AC/type"
echo "${AC:-0}" >"$fake/AC/online"

if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    export ZB_FAKE_POWER="$fake"
    exec unshare -m bash -c 'mount --bind "$ZB_FAKE_POWER" /sys/class/power_supply && exec "$0" "$@"' \
        "$runner" "$@"
fi
export ZB_FAKE_POWER=""
exec "$runner" "$@"
