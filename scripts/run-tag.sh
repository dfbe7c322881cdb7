# Sourced by a script whose run starts processes that must not outlive it
# (make test's scripts/test.sh). Every process the run starts carries the
# run's tag in its environment, Wine's servers and services too, which leave
# the process group and their parent; however the run ends (done, failed,
# Ctrl-C, SIGTERM, SIGHUP), what carries the tag is ended with it. A shell
# without job control starts its background jobs with SIGINT ignored: Ctrl-C
# reaches them only through this trap.
#
#   zb_tag_run NAME CLEANUP   tags the run; at its end CLEANUP runs, once
#                             nothing of the run is left
zb_tag_run() {
    zb_run_name=$1 zb_run_cleanup=$2
    # A variable of its own name, so that a run started inside another keeps
    # the outer run's tag as well.
    zb_run_tag=ZB_RUN_${$}_${RANDOM}_$EPOCHSECONDS
    export "$zb_run_tag=1"
    trap zb_end_run EXIT
    trap 'zb_stopped INT 130' INT
    trap 'zb_stopped TERM 143' TERM
    trap 'zb_stopped HUP 129' HUP
}

zb_stopped() {
    trap '' INT TERM HUP
    echo "$zb_run_name: stopped by SIG$1; ending the processes it started" >&2
    exit "$2"
}

# The processes that carry the tag, this shell aside. Read by thread: a
# process whose first thread has ended (Wine's winedevice.exe, ended while a
# thread of libusb still runs) shows no environment of its own.
zb_tagged() {
    grep -lzx -- "$zb_run_tag=1" /proc/[0-9]*/task/*/environ 2>/dev/null |
        sed -E 's|/proc/([0-9]+)/task/.*|\1|' | sort -u | grep -vx -e "$$" -e "$BASHPID" || true
}

# The background jobs, then SIGTERM to what carries the tag and SIGKILL to
# what is left after 3 s, until nothing is left.
zb_end_run() {
    local pids signal=TERM ending=$SECONDS
    export -n "$zb_run_tag"
    pids=$(jobs -p)
    [ -z "$pids" ] || kill $pids 2>/dev/null || true
    for _ in $(seq 200); do
        pids=$(zb_tagged)
        [ -n "$pids" ] || break
        kill -s $signal $pids 2>/dev/null || true
        sleep 0.05
        [ $SECONDS -lt $((ending + 3)) ] || signal=KILL
    done
    pids=$(zb_tagged)
    [ -z "$pids" ] || echo "$zb_run_name: processes it started are still there: $(paste -sd' ' <<<"$pids")" >&2
    wait 2>/dev/null || true
    "$zb_run_cleanup"
}
