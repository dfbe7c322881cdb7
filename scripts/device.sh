#!/usr/bin/env bash
# `make device`: the device program, OUT/ZemloBattery.exe (build/device by
# default), its setup DLL and the package a device installs, OUT/ZemloBattery.cab
# (device/device.mk), with the cross binutils kept outside the clone (ce-binutils.sh
# builds them the first time, which takes minutes).
#
#   device.sh [OUT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
out=$(realpath -m "${1:-$top/build/device}")
bin=$("$here/ce-binutils.sh")
make -s -C "$top" -f device/device.mk CE_BIN="$bin" OUT="$out" -j2
echo "device: $out/ZemloBattery.exe ($(stat -c %s "$out/ZemloBattery.exe") bytes)"
echo "device: $out/ZemloBattery.cab ($(stat -c %s "$out/ZemloBattery.cab") bytes)"
