#!/usr/bin/env bash
# `make soak`: the real program for $SOAK_SECONDS (default 180) with a fake
# battery that charges and discharges and a taskbar that changes width,
# checked from outside. Not part of `make test`.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
zb_start_session
ZB_SOAK_SECONDS=${SOAK_SECONDS:-180} "$here/fake-battery.sh" "$ZB_BUILD_DIR/tests/e2e_tests.exe" \
    --program="$ZB_BUILD_DIR/ZemloBattery.exe" --desktop="zb$(zb_default_screen)" --gtest_filter='SoakOutside.*'
