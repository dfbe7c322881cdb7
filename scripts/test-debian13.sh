#!/usr/bin/env bash
# `make test-debian13`: `make test` and a headless `make run` of a fresh clone
# of this repository's HEAD, inside a Debian 13 (trixie) root made from
# Debian's packages: Wine 10 and GCC 14 where the host has Debian 12's.
#
# The root is kept in ZB_DEBIAN13_ROOT (default
# /var/cache/zemlobattery/debian13), outside the clone, and made again only
# when missing; what the clone's own install step adds to it stays there for
# the next run. Needs root, as making the root and mounting into it do.
#   scripts/test-debian13.sh            the clone's make test, then make run
#   scripts/test-debian13.sh -- CMD...  CMD inside the root, in the clone
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
root=${ZB_DEBIAN13_ROOT:-/var/cache/zemlobattery/debian13}

if [ "$(id -u)" -ne 0 ]; then
    echo "make test-debian13 needs root: it makes a Debian 13 root and mounts into it" >&2
    exit 1
fi

# The mirror the host's apt uses, so that the root comes from the same place.
mirror() {
    local uri
    uri=$(grep -hE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list \
        2>/dev/null | grep -v security | head -n 1 | awk '{print $2}')
    echo "${uri:-http://deb.debian.org/debian}"
}

make_root() {
    [ -f "$root/.zb-root-ready" ] && return 0
    command -v debootstrap >/dev/null 2>&1 ||
        { apt-get update -qq && apt-get install -y -qq --no-install-recommends debootstrap; }
    echo "Making the Debian 13 root in $root"
    rm -rf "$root.new"
    mkdir -p "$(dirname "$root")"
    debootstrap --variant=minbase --include=git,make,ca-certificates trixie "$root.new" \
        "$(mirror)" >"$root.log" 2>&1 || { tail -n 20 "$root.log"; exit 1; }
    rm -rf "$root"
    mv "$root.new" "$root"
    touch "$root/.zb-root-ready"
}

# The clone the root works in: HEAD of this repository, as CI clones it.
fresh_clone() {
    rm -rf "$root/work"
    mkdir -p "$root/work"
    git clone --quiet --no-hardlinks "$top" "$root/work/ZemloBattery"
}

# Runs a command in the root, in a mount namespace of its own, so that every
# mount goes away with it. The root is bound onto itself first: the fake
# battery's own namespace needs / to be a mount point.
in_root() {
    cp -f /etc/resolv.conf "$root/etc/resolv.conf"
    unshare -m --propagation private bash -euc '
        root=$1; shift
        mount --bind "$root" "$root"
        mount -t proc proc "$root/proc"
        mount -t sysfs sysfs "$root/sys"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs -o size=8g tmpfs "$root/dev/shm"
        exec chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 CI="${CI:-}" \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            bash -c "cd /work/ZemloBattery && \"\$@\"" bash "$@"' bash "$root" "$@"
}

make_root
fresh_clone
echo "== Debian $(cat "$root/etc/debian_version") root: $root"
if [ "${1:-}" = -- ]; then
    shift
    in_root "$@"
    exit
fi
start=$SECONDS
in_root make test
echo "make test in the Debian 13 root: $((SECONDS - start)) s"
start=$SECONDS
in_root env HEADLESS=1 SHOTS=/work/screenshots make run
rm -rf "$top/screenshots-debian13"
cp -r "$root/work/screenshots" "$top/screenshots-debian13"
echo "make run in the Debian 13 root: $((SECONDS - start)) s; pictures in screenshots-debian13/"
