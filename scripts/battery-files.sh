#!/bin/sh
# The fake battery's files, written here alone: scripts/fake-battery.sh and
# the simulator of scripts/run.sh call this, and the end-to-end tests run it
# through Wine (SetFakeBattery). Wine's power status takes the charge as
# charge_now against charge_full, and the time left from current_now.
# Usage: battery-files.sh DIR PERCENT AC (AC 1: on external power, charging)
set -eu
dir=$1 percent=$2 ac=$3
mkdir -p "$dir/BAT0" "$dir/AC"
echo Battery >"$dir/BAT0/type"
echo 1 >"$dir/BAT0/present"
if [ "$ac" = 1 ]; then status=Charging; else status=Discharging; fi
echo "$status" >"$dir/BAT0/status"
echo "$percent" >"$dir/BAT0/capacity"
echo 4000000 >"$dir/BAT0/charge_full"
echo $((40000 * percent)) >"$dir/BAT0/charge_now"
echo 1000000 >"$dir/BAT0/current_now"
echo 3800000 >"$dir/BAT0/voltage_now"
echo Mains >"$dir/AC/type"
echo "$ac" >"$dir/AC/online"
# Last: a writer that cannot wait for this script waits for this file.
echo "$percent $ac" >"$dir/written"
