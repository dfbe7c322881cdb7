#!/usr/bin/env bash
# A run that starts processes as make test does (run-tag.sh): a background
# job whose process ignores SIGINT, as CTest did there; a daemon in a
# session of its own whose parent has gone, as Wine's server; a process
# whose first thread has ended while another runs on, as Wine's
# winedevice.exe with its libusb thread. Stopped by Ctrl-C (SIGINT to its
# process group) or by SIGTERM to its shell alone (as make passes it on), it
# leaves none of them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
work=$(mktemp -d)
tag=""
left() {
    [ -n "$tag" ] || return 0
    grep -lzx -- "$tag=1" /proc/[0-9]*/task/*/environ 2>/dev/null |
        sed -E 's|/proc/([0-9]+)/task/.*|\1|' | sort -u || true
}
trap 'pids=$(left); [ -z "$pids" ] || kill -9 $pids 2>/dev/null; rm -rf "$work"' EXIT

for signal in INT TERM; do
    rm -f "$work/tag"
    # As from a terminal: this check may itself run with SIGINT ignored.
    setsid env --default-signal=INT bash -c '
        source "$1/run-tag.sh"
        zb_tag_run "the run" true
        (trap "" INT; sleep 600; true) &
        (setsid sleep 600 &)
        (/usr/bin/python3 -c "if 1:
            import ctypes, os, threading, time
            threading.Thread(target=time.sleep, args=(600,)).start()
            ctypes.CDLL(None).syscall({\"x86_64\": 60, \"aarch64\": 93}[os.uname().machine], 0)" &)
        echo "$zb_run_tag" >"$2.new" && mv "$2.new" "$2"
        wait' _ "$here" "$work/tag" &
    run=$!
    zb_wait_for 10 "the run to start its processes" test -s "$work/tag"
    tag=$(cat "$work/tag")
    zb_wait_for 10 "the run's three processes" eval '[ "$(left | wc -l)" -ge 3 ]'
    if [ $signal = INT ]; then kill -s INT -- -$run; else kill -s TERM $run; fi
    gone() { [ -z "$(left)" ]; }
    if ! zb_wait_for 10 "the processes of the run stopped by SIG$signal to end" gone; then
        ps -o pid,pgid,args -p "$(left | paste -sd,)" >&2 || true
        exit 1
    fi
    wait $run || true
done
echo "a run stopped by SIGINT or SIGTERM left none of its processes"
