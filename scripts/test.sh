#!/usr/bin/env bash
# `make test`: every test through CTest, on an X display (Xvfb when there is
# none), with the project's Wine prefix and a wineserver kept alive between
# the test processes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
build=${1:-$ZB_BUILD_DIR}

zb_start_session
ctest --test-dir "$build" --output-on-failure
