#!/usr/bin/env bash
# The device build's cross binutils (as, ld, dlltool, windres, objdump for
# arm-mingw32ce), built from Debian's binutils-source, which still carries the
# Windows CE PE target. They are built once per binutils version and kept
# outside any clone (ZB_CE_TOOLS_ROOT, default /var/cache/zemlobattery), so
# that every clone on the machine (and every later `make test`) reuses them; a
# second caller waits for a build under way. The build says on its error
# output what it does and, every 30 s, how long it has run.
# Prints the folder holding the tools.
#
#   ce-binutils.sh
set -euo pipefail
# A relative root is taken from the caller's folder, once: the tools' path
# is handed on to makes that run elsewhere.
root=$(realpath -m -- "${ZB_CE_TOOLS_ROOT:-/var/cache/zemlobattery}")
version=$(dpkg-query -W -f='${Version}' binutils-source)
dest=$root/ce-binutils-$version
done_mark=$dest/.complete
target=arm-mingw32ce
say() { echo "ce-binutils: $*" >&2; }

if [ ! -e "$done_mark" ]; then
    if ! mkdir -p -- "$root" 2>/dev/null || [ ! -w "$root" ] ||
        ! { exec 9>>"$root/ce-binutils.lock"; } 2>/dev/null; then
        say "cannot write $root, where the device's cross tools are built once and kept;" \
            "set ZB_CE_TOOLS_ROOT to a folder you may write (ZB_CE_TOOLS_ROOT=\$HOME/.cache/zemlobattery)"
        exit 1
    fi
    if ! flock -n 9; then
        say "waiting for another build of the cross tools into $dest to end" \
            "(it holds $root/ce-binutils.lock)"
        flock 9
    fi
fi
if [ ! -e "$done_mark" ]; then
    start=$SECONDS
    # Binutils' configure takes no folder whose path has a space: under such a
    # root the build runs in a folder of /tmp named after it. The place is
    # the same for every build into this root, so the next clears what a
    # killed one left; with the lock held no other build is using it (nor
    # the numbered folders older builds used).
    case $root in
        *[[:space:]]*) work=/tmp/zb-ce-binutils-$(id -u)-$(cksum <<<"$root" | cut -d' ' -f1) ;;
        *) work=$root/ce-binutils-build ;;
    esac
    say "building the device's cross tools (binutils $version for $target) into $dest;" \
        "the first time on a machine: 5 to 10 minutes"
    if [ -e "$dest" ] || [ -e "$work" ] || compgen -G "$root/ce-binutils-build.*" >/dev/null; then
        say "clearing what a build that did not end left"
        rm -rf -- "$dest" "$work" "$root"/ce-binutils-build.*
    fi
    mkdir -p "$work/build"
    ticker=""
    trap '[ -z "$ticker" ] || kill "$ticker" 2>/dev/null; rm -rf -- "$work"' EXIT
    step() {
        echo "$1" >"$work/step"
        say "$1"
    }
    step "unpacking binutils-source"
    (
        trap 'kill "$nap" 2>/dev/null; exit 0' TERM
        while :; do
            sleep 30 &
            nap=$!
            wait "$nap"
            say "$(cat "$work/step" 2>/dev/null): $((SECONDS - start)) s so far"
        done
    ) &
    ticker=$!
    tarball=$(ls /usr/src/binutils/binutils-*.tar.* | head -n 1)
    tar -xf "$tarball" -C "$work"
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'binutils-*' | head -n 1)
    (
        cd "$work/build"
        step "configuring"
        # -O1 without -g: they assemble and link a few small files, and
        # compile in less time so. Installed into the work folder, whose path
        # has no space, and moved into place: the tools look for nothing
        # below their prefix.
        CFLAGS=-O1 CXXFLAGS=-O1 "$src/configure" --target=$target --prefix="$work/install" \
            --disable-nls --disable-werror --disable-gdb --disable-gdbserver --disable-sim \
            --disable-gprof --disable-gprofng \
            --disable-libctf --disable-readline --disable-libdecnumber --without-zstd \
            --disable-shared --enable-static >"$work/configure.log" 2>&1 ||
            { tail -n 30 "$work/configure.log" >&2; exit 1; }
        step "compiling as, ld and the binutils, the longest part"
        make -j2 all-gas all-ld all-binutils MAKEINFO=true >"$work/make.log" 2>&1 ||
            { tail -n 40 "$work/make.log" >&2; exit 1; }
        step "installing"
        make install-gas install-ld install-binutils MAKEINFO=true >"$work/install.log" 2>&1 ||
            { tail -n 30 "$work/install.log" >&2; exit 1; }
    )
    mv -- "$work/install" "$dest"
    touch "$done_mark"
    say "binutils $version for $target built in $((SECONDS - start)) s into $dest"
fi
echo "$dest/bin"
