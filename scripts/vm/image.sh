#!/usr/bin/env bash
# The Windows guest's disk image and its cache. Owns what the guest is: a
# small Debian bookworm amd64 system whose kernel runs 32-bit programs, with
# wine32, Xvfb and a Wine prefix made once and kept in the image, booted by
# scripts/vm/run.sh. Built unattended, as root, from Debian's packages only.
#
# The image lives outside the clone, in $AEROTRACE_GUEST_CACHE (default
# /var/cache/aerotrace-guest), in a folder named by a hash of the files that
# build it (this script, scripts/vm/init and scripts/apt-update.sh): a second run reuses it and a
# change to either file builds a new one. Downloaded packages are kept beside
# it, so a rebuild does not download them again.
#
#   scripts/vm/image.sh            builds the image if needed; prints its folder
#   scripts/vm/image.sh --key      prints the hash only
# The folder holds rootfs.img (ext4), vmlinuz and initrd.img. Standard
# output carries that folder's path and nothing else, whoever calls this:
# progress, the time of each phase and what the guest prints while the
# prefix is made go to standard error; a failure says why and exits 1.
set -euo pipefail
exec 3>&1 1>&2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../apt-update.sh"
cache=${AEROTRACE_GUEST_CACHE:-/var/cache/aerotrace-guest}
key=$(cat "$here/image.sh" "$here/init" "$here/../apt-update.sh" | sha256sum | cut -c1-16)
case "${1:-}" in
--key) echo "$key" >&3; exit 0 ;;
"") ;;
*) echo "usage: scripts/vm/image.sh [--key]" >&2; exit 2 ;;
esac
image=$cache/$key

fail() { echo "The Windows guest cannot be built: $*" >&2; exit 1; }
say() { echo "== guest: $*" >&2; }
# phase NAME COMMAND...: runs one phase of the build and says how long it took.
phase() {
    local name=$1 start=$SECONDS
    shift
    say "$name..."
    "$@" || fail "$name failed"
    say "$name took $((SECONDS - start)) s"
}

if [ -f "$image/ready" ]; then
    touch "$image/ready"
    echo "$image" >&3
    exit 0
fi

[ "$(id -u)" = 0 ] || fail "building it needs root (run scripts/setup.sh and this as root)"
for tool in mmdebstrap mke2fs qemu-system-x86_64; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs it)"
done
mkdir -p "$cache/debs" || fail "cannot create $cache"

# One build at a time on this machine; whoever waited finds the image made.
exec 8>"$cache/build.lock"
if ! flock -n 8; then
    say "waiting for another build of the image to finish"
    flock 8
fi
if [ -f "$image/ready" ]; then
    echo "$image" >&3
    exit 0
fi

# A build that failed or was stopped resumes after its last finished phase.
build=$image.building
mkdir -p "$build"
started=$SECONDS
say "building image $key in $cache (once; later runs reuse it)"
# phase_once NAME STAMP COMMAND...: a phase that a resumed build skips when done.
phase_once() {
    local name=$1 stamp=$build/$2.done
    shift 2
    if [ -f "$stamp" ]; then say "$name: done before"; return; fi
    phase "$name" "$@"
    touch "$stamp"
}

# The suites the guest is made of: bookworm, and its updates and security
# suites where their indexes can be fetched for both architectures. A mirror
# being synced serves an index out of step with its Release file, and
# mmdebstrap then stops; a suite left out keeps the root self-consistent
# (every package of both architectures from the same suites), and the guest
# never reaches a network: it only runs the tests.
suites() {
    local lists
    lists=$(mktemp -d)
    mkdir -p "$lists/lists/partial" "$lists/cache/archives/partial" "$lists/parts"
    printf '%s\n' "deb http://deb.debian.org/debian bookworm main" \
        "deb http://deb.debian.org/debian bookworm-updates main" \
        "deb http://deb.debian.org/debian-security bookworm-security main" >"$lists/sources.list"
    apt_update -qq -o "Dir::Etc::SourceList=$lists/sources.list" -o "Dir::Etc::SourceParts=$lists/parts" \
        -o "Dir::State::Lists=$lists/lists" -o "Dir::Cache=$lists/cache" -o APT::Sandbox::User=root \
        -o APT::Architectures::=amd64 -o APT::Architectures::=i386 >&2
    rm -rf "$lists"
    local stale
    stale=$(sed 's#/.*##' <<<"$STALE_INDEXES" | sort -u)
    if grep -qx bookworm <<<"$stale"; then
        echo "bookworm's own indexes cannot be fetched today ($(echo $STALE_INDEXES))" >&2
        return 1
    fi
    sources=("deb http://deb.debian.org/debian bookworm main")
    local suite url
    for suite in bookworm-updates bookworm-security; do
        url=http://deb.debian.org/debian
        [ "$suite" = bookworm-security ] && url=http://deb.debian.org/debian-security
        if grep -qx "$suite" <<<"$stale"; then
            say "leaving $suite out of the guest: its indexes could not be fetched ($(grep "^$suite/" <<<"$STALE_INDEXES" | tr '\n' ' '))"
        else
            sources+=("deb $url $suite main")
        fi
    done
}

# The root file system. The initramfs only has to find an ext4 root on a
# virtio disk: listing those modules (before the kernel package configures)
# keeps it small and quick to build.
rootfs() {
    local sources
    suites || return 1
    rm -rf "$build/root"
    mmdebstrap --variant=apt --architectures=amd64,i386 \
        --include=linux-image-amd64,kmod,mount,procps,wine,wine32:i386,fonts-wine,xvfb,xauth \
        --dpkgopt='path-exclude=/usr/share/man/*' \
        --dpkgopt='path-exclude=/usr/share/doc/*' \
        --dpkgopt='path-exclude=/usr/share/info/*' \
        --dpkgopt='path-exclude=/usr/share/locale/*' \
        --skip=essential/unlink \
        --setup-hook='mkdir -p "$1/var/cache/apt/archives"' \
        --setup-hook="sync-in $cache/debs /var/cache/apt/archives" \
        --essential-hook='mkdir -p "$1/etc/initramfs-tools/conf.d" "$1/usr/share/initramfs-tools/modules.d"
                          echo MODULES=list > "$1/etc/initramfs-tools/conf.d/aerotrace"
                          printf "%s\n" virtio_pci virtio_blk ext4 > "$1/usr/share/initramfs-tools/modules.d/aerotrace"' \
        --customize-hook="sync-out /var/cache/apt/archives $cache/debs" \
        --customize-hook="cp '$here/init' \"\$1/sbin/aerotrace-init\"" \
        --customize-hook='chmod 755 "$1/sbin/aerotrace-init"' \
        bookworm "$build/root" "${sources[@]}" \
        >"$build/mmdebstrap.log" 2>&1 || { tail -n 30 "$build/mmdebstrap.log" >&2; return 1; }
    rm -f "$cache"/debs/lock
    rm -rf "$cache"/debs/partial
}
phase_once "root file system (mmdebstrap)" rootfs rootfs

# The kernel and initramfs boot from outside the image.
boot_files() {
    cp "$(ls "$build"/root/boot/vmlinuz-* | tail -n 1)" "$build/vmlinuz" &&
        cp "$(ls "$build"/root/boot/initrd.img-* | tail -n 1)" "$build/initrd.img"
}
phase_once "kernel and initramfs" boot boot_files

# An ext4 image made straight from the folder: no loop device, no mount.
disk() {
    local megabytes
    megabytes=$(du -sm "$build/root" | cut -f1)
    mke2fs -q -F -t ext4 -L aerotrace -m 0 -d "$build/root" "$build/rootfs.img" \
        "$((megabytes + megabytes / 4 + 768))M" >/dev/null && rm -rf "$build/root"
}
phase_once "disk image (mke2fs)" disk disk

# The Wine prefix, made in the guest itself on a copy of the disk, which
# replaces the disk only once the prefix is complete. On a busy machine the
# emulated guest is slow enough that wineboot gives up waiting for its own
# boot while that goes on: it is done when every Wine process has ended and
# a program starts.
make_prefix='wineboot --init >/dev/null 2>&1
             wineserver -w
             wine cmd /c exit 0 || { echo "wine starts no program in the new prefix"; exit 1; }
             wineserver -w
             test -f "$WINEPREFIX/system.reg" || { echo "wineboot made no prefix"; exit 1; }'
prefix() {
    mkdir -p "$build/prefix"
    cp --sparse=always "$build/rootfs.img" "$build/prefix/rootfs.img" &&
        ln -sf ../vmlinuz ../initrd.img "$build/prefix/" &&
        "$here/run.sh" --image-dir "$build/prefix" --writable --no-share --timeout 1200 -- \
            sh -c "$make_prefix" &&
        mv "$build/prefix/rootfs.img" "$build/rootfs.img"
}
phase "Wine prefix (wineboot in the guest)" prefix

rm -rf "$build/prefix" "$build"/*.done
touch "$build/ready"
rm -rf "$image"
mv "$build" "$image"
say "image $key built in $((SECONDS - started)) s"

# Images of other versions of these scripts that nobody booted for a week.
find "$cache" -mindepth 2 -maxdepth 2 -name ready -mtime +7 -printf '%h\n' 2>/dev/null |
    while read -r old; do [ "$old" != "$image" ] && rm -rf "$old"; done
echo "$image" >&3
