#!/bin/sh
# The fake battery's files: scripts/fake-battery.sh and the simulator of
# scripts/run.sh call this, and the end-to-end tests run it through Wine
# (SetFakeBattery); make bench varies current_now alone. Wine's power status
# takes the charge as charge_now against charge_full, and the time left from
# current_now. Each file is replaced whole by a rename: the program polls
# them meanwhile, and make run's simulator may write them while a start does.
# Usage: battery-files.sh DIR PERCENT AC (AC 1: on external power, charging)
#        battery-files.sh DIR --current MICROAMPS (current_now alone, of a
#        battery already written)
set -eu
dir=$1
put() {
    echo "$2" >"$dir/$1.$$"
    mv -f "$dir/$1.$$" "$dir/$1"
}
if [ "$2" = --current ]; then
    [ -d "$dir/BAT0" ] || exit 1
    put BAT0/current_now "$3"
    exit 0
fi
percent=$2 ac=$3
mkdir -p "$dir/BAT0" "$dir/AC"
if [ "$ac" = 1 ]; then status=Charging; else status=Discharging; fi
put BAT0/type Battery
put BAT0/present 1
put BAT0/status "$status"
put BAT0/capacity "$percent"
put BAT0/charge_full 4000000
put BAT0/charge_now $((40000 * percent))
put BAT0/current_now 1000000
put BAT0/voltage_now 3800000
put AC/type Mains
put AC/online "$ac"
# Last: a writer that cannot wait for this script waits for this file.
put written "$percent $ac"
