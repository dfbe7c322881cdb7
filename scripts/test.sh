#!/usr/bin/env bash
# `make test`: every test through CTest, on an X display (Xvfb when there is
# none), with the project's Wine prefix and a wineserver kept alive between
# the test processes. Each build folder given (the 64-bit and the 32-bit
# build) runs its whole suite in that one session; the result is a failure
# when any suite fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
[ $# -gt 0 ] || set -- "$ZB_BUILD_DIR"

zb_start_session
failed=()
for build in "$@"; do
    echo "== $build (PE machine $(zb_pe_machine "$build/ZemloBattery.exe"))"
    ctest --test-dir "$build" --output-on-failure || failed+=("$build")
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed: ${failed[*]}" >&2
    exit 1
fi
