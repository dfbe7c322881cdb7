#!/usr/bin/env bash
# Runs a command with drive R: of the Wine prefix on a temporary folder whose
# root holds ZB_BIG_ROOT_FILES (default 200,000) empty files: a host root far
# larger than any device's. The files are made here rather than by the test,
# as Wine looks through the whole folder for every file it creates in it.
# The folder and the drive go when the command ends.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
zb_prepare_prefix

root=$(mktemp -d)
drive="$WINEPREFIX/dosdevices/r:"
trap 'rm -f "$drive"; rm -rf "$root"' EXIT
(cd "$root" && seq -f 'f%06g' 1 "${ZB_BIG_ROOT_FILES:-200000}" | xargs touch)
ln -sfn "$root" "$drive"
export ZB_BIG_ROOT='R:\'
"$@"
