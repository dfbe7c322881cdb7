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
out=$(realpath -m -- "${1:-$top/build/device}")
# make takes no space in a target's name: the output folder goes to the
# makefile as seen from the clone, which is where that make runs, so a space
# in the clone's own path does not reach it.
rel=$(realpath -m --relative-to="$top" -- "$out")
case $rel in
    *[[:space:]]*)
        echo "make device: the output folder $rel, as seen from the clone, has a space in its path, which make cannot take" >&2
        exit 1
        ;;
esac
bin=$("$here/ce-binutils.sh")
make -s -C "$top" -f device/device.mk CE_BIN="$bin" OUT="$rel" -j2
echo "device: $out/ZemloBattery.exe ($(stat -c %s "$out/ZemloBattery.exe") bytes)"
echo "device: $out/ZemloBattery.cab ($(stat -c %s "$out/ZemloBattery.cab") bytes)"
