#!/usr/bin/env bash
# Runs a command with drive R: of the Wine prefix on a folder whose root holds
# ZB_BIG_ROOT_FILES (default 200,000) empty files: a host root far larger than
# any device's. The files are made here rather than by the test, as Wine looks
# through the whole folder for every file it creates in it.
#
# `make test` makes the folder once (`big-root.sh --new` prints the path of a
# new empty one, `--fill DIR` makes the files) and names it in
# ZB_BIG_ROOT_DIR for every run; without it the script makes its
# own and removes it when the command ends. The folder goes on a tmpfs where
# there is one: on this machine's ext4 the 200,000 creations cost a minute or
# more of system time, on a tmpfs two seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

new_root() {
    local base=${TMPDIR:-/tmp}
    [ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
    mktemp -d -p "$base" zb-big-root.XXXXXX
}
fill_root() {
    (cd "$1" && seq -f 'f%06g' 1 "${ZB_BIG_ROOT_FILES:-200000}" | xargs touch)
}

case "${1:-}" in
--new) new_root; exit 0 ;;
--fill) fill_root "$2"; exit 0 ;;
esac

zb_prepare_prefix
root=${ZB_BIG_ROOT_DIR:-}
own=""
drive="$WINEPREFIX/dosdevices/r:"
trap 'rm -f "$drive"; [ -z "$own" ] || rm -rf "$root"' EXIT
if [ -z "$root" ]; then
    root=$(new_root)
    own=1
    fill_root "$root"
fi
ln -sfn "$root" "$drive"
export ZB_BIG_ROOT='R:\'
"$@"
