#!/usr/bin/env bash
# The device build's cross binutils (as, ld, dlltool, windres, objdump for
# arm-mingw32ce), built from Debian's binutils-source, which still carries the
# Windows CE PE target. They are built once per binutils version and kept
# outside any clone, so that every clone on the machine (and every later
# `make test`) reuses them; a second caller waits for a build under way.
# Prints the folder holding the tools.
#
#   ce-binutils.sh [--quiet]
set -euo pipefail
root=${ZB_CE_TOOLS_ROOT:-/var/cache/zemlobattery}
version=$(dpkg-query -W -f='${Version}' binutils-source)
dest=$root/ce-binutils-$version
done_mark=$dest/.complete
target=arm-mingw32ce

if [ ! -e "$done_mark" ]; then
    mkdir -p "$root"
    exec 9>"$root/ce-binutils.lock"
    flock 9
fi
if [ ! -e "$done_mark" ]; then
    start=$SECONDS
    rm -rf "$dest"
    work=$(mktemp -d "$root/ce-binutils-build.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    tarball=$(ls /usr/src/binutils/binutils-*.tar.* | head -n 1)
    tar -xf "$tarball" -C "$work"
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'binutils-*' | head -n 1)
    mkdir "$work/build"
    (
        cd "$work/build"
        # -O1 without -g: they assemble and link a few small files, and
        # compile in less time so.
        CFLAGS=-O1 CXXFLAGS=-O1 "$src/configure" --target=$target --prefix="$dest" \
            --disable-nls --disable-werror --disable-gdb --disable-gdbserver --disable-sim \
            --disable-gprof --disable-gprofng \
            --disable-libctf --disable-readline --disable-libdecnumber --without-zstd \
            --disable-shared --enable-static >"$work/configure.log" 2>&1 ||
            { tail -n 30 "$work/configure.log" >&2; exit 1; }
        make -j2 all-gas all-ld all-binutils MAKEINFO=true >"$work/make.log" 2>&1 ||
            { tail -n 40 "$work/make.log" >&2; exit 1; }
        make install-gas install-ld install-binutils MAKEINFO=true >"$work/install.log" 2>&1 ||
            { tail -n 30 "$work/install.log" >&2; exit 1; }
    )
    touch "$done_mark"
    echo "ce-binutils $version built in $((SECONDS - start)) s into $dest" >&2
fi
echo "$dest/bin"
