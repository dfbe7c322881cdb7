#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, when missing;
# with "device", only what `make device` needs.
#   install-deps.sh [device]
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
wine32=yes
if [ "${1:-}" != device ]; then
    have x86_64-w64-mingw32-g++ || need+=(g++-mingw-w64-x86-64)
    have i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686)
    have cmake || need+=(cmake)
    have make || need+=(make)
    have wine || need+=(wine)
    [ -x /usr/lib/wine/wine64 ] || [ -x /usr/lib/x86_64-linux-gnu/wine/wine64 ] || have wine64 || need+=(wine64)
    # The 32-bit build runs under Wine's 32-bit loader (Debian's wine32, an i386
    # package).
    if [ ! -x /usr/lib/wine/wine ] && [ ! -x /usr/lib/i386-linux-gnu/wine/wine ]; then
        wine32=no
        need+=(wine32:i386)
    fi
    [ -f /usr/share/wine/fonts/tahoma.ttf ] || need+=(fonts-wine)
    have Xvfb || need+=(xvfb)
    have xauth || need+=(xauth)
    have xdpyinfo || need+=(x11-utils)
    have import || need+=(imagemagick)
    [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
fi
# The device build (make device): the cross binutils are built from Debian's
# source (scripts/ce-binutils.sh, which needs bison, flex and m4); clang writes
# the ARM code over libc++'s and newlib's headers. Its checks run the program
# on an emulated ARM CPU (Debian's Python, not another one on the PATH).
ls /usr/src/binutils/binutils-*.tar.* >/dev/null 2>&1 || need+=(binutils-source)
have gcc || need+=(gcc)
have make || need+=(make)
have xz || need+=(xz-utils)
have bison || need+=(bison)
have flex || need+=(flex)
have m4 || need+=(m4)
have clang++ || need+=(clang)
[ -f /usr/include/newlib/stdio.h ] || need+=(libnewlib-dev)
/usr/bin/python3 -c 'import unicorn' 2>/dev/null || need+=(python3-unicorn)
/usr/bin/python3 -c 'import pefile' 2>/dev/null || need+=(python3-pefile)
# The package a device installs (make cab): gcab packs it, cabextract checks it.
have gcab || need+=(gcab)
have cabextract || need+=(cabextract)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
updated=no
install() {
    echo "Installing: $*"
    [ $updated = yes ] || $sudo apt-get update -qq
    updated=yes
    $sudo apt-get install -y -qq --no-install-recommends "$@"
}
if [ ${#need[@]} -gt 0 ]; then
    if [ $wine32 = no ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    install "${need[@]}"
fi
# libc++'s headers for the clang now installed (14 on Debian 12, 19 on 13).
clang_major=$(clang++ -dumpversion | cut -d. -f1)
[ -d "/usr/lib/llvm-$clang_major/include/c++/v1" ] || install "libc++-$clang_major-dev"
