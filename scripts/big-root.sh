#!/usr/bin/env bash
# Runs a command with drive R: of the Wine prefix on a folder whose root holds
# ZB_BIG_ROOT_FILES (default 200,000) empty files: a host root far larger than
# any device's. The files are made here rather than by the test, as Wine looks
# through the whole folder for every file it creates in it.
#
# `make test` makes the folder once (`big-root.sh --make` prints its path) and
# names it in ZB_BIG_ROOT_DIR for every run; without it the script makes its
# own and removes it when the command ends. The folder goes on a tmpfs where
# there is one: on this machine's ext4 the 200,000 creations cost a minute or
# more of system time, on a tmpfs two seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

make_root() {
    local base=${TMPDIR:-/tmp} root
    [ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
    root=$(mktemp -d -p "$base" zb-big-root.XXXXXX)
    (cd "$root" && seq -f 'f%06g' 1 "${ZB_BIG_ROOT_FILES:-200000}" | xargs touch)
    echo "$root"
}

if [ "${1:-}" = --make ]; then
    make_root
    exit 0
fi

zb_prepare_prefix
root=${ZB_BIG_ROOT_DIR:-}
own=""
if [ -z "$root" ]; then
    root=$(make_root)
    own=1
fi
drive="$WINEPREFIX/dosdevices/r:"
trap 'rm -f "$drive"; [ -z "$own" ] || rm -rf "$root"' EXIT
ln -sfn "$root" "$drive"
export ZB_BIG_ROOT='R:\'
"$@"
