#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine prefix (CTest's emulator).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
zb_prepare_prefix
exec wine "$@"
