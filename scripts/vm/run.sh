#!/usr/bin/env bash
# Boots the Windows guest (scripts/vm/image.sh builds it the first time) and
# runs one command in it. Owns the guest machine: how qemu emulates it, what
# it shares with the host, how long a boot may take, and how the command's
# output and exit status come back.
#
#   scripts/vm/run.sh [--share DIR] [--timeout SECONDS] [--] COMMAND [ARG...]
#
# DIR (default: this clone) is shared read-write and mounted in the guest at
# the same path, so the absolute paths the build wrote into its programs hold
# there too; COMMAND runs as root in DIR with Wine ready (Xvfb on :0, one
# persistent wineserver, the image's prefix, WINEDEBUG=-all and
# WINEDLLOVERRIDES=winedbg.exe=d so that a crash fails at once). Every boot
# changes nothing in the image (qemu -snapshot). Its output is shown as it
# comes; the script exits with COMMAND's status. When the guest cannot be
# built, cannot boot or does not finish within SECONDS (default 3600), it
# says why, shows the end of the guest's console and exits 125.
# Only one guest runs at a time on the machine; a second waits for the first.
# (--image-dir DIR --writable --no-share: used by image.sh to make the prefix.)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${AEROTRACE_GUEST_CACHE:-/var/cache/aerotrace-guest}
share=$(cd "$here/../.." && pwd)
limit=3600
image=""
writable=0

usage() { sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; }
while [ $# -gt 0 ]; do
    case "$1" in
    --share) share=$(cd "$2" && pwd); shift 2 ;;
    --no-share) share=""; shift ;;
    --timeout) limit=$2; shift 2 ;;
    --image-dir) image=$2; shift 2 ;;
    --writable) writable=1; shift ;;
    -h | --help) usage; exit 0 ;;
    --) shift; break ;;
    -*) echo "run.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || { usage >&2; exit 2; }

fail() { echo "The Windows guest could not run the command: $*" >&2; exit 125; }
command -v qemu-system-x86_64 >/dev/null || fail "qemu-system-x86_64 is not installed (scripts/setup.sh installs it)"
if [ -z "$image" ]; then
    image=$("$here/image.sh") || fail "its image could not be built (see above)"
fi
for file in rootfs.img vmlinuz initrd.img; do
    [ -r "$image/$file" ] || fail "$image/$file is missing"
done

job=$(mktemp -d /tmp/aerotrace-guest.XXXXXX)
qemu=""
tailer=""
cleanup() {
    [ -n "$qemu" ] && kill "$qemu" 2>/dev/null
    [ -n "$tailer" ] && kill "$tailer" 2>/dev/null
    rm -rf "$job"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
printf '%q ' "$@" >"$job/command"
echo >>"$job/command"
: >"$job/output"

mkdir -p "$cache"
exec 9>"$cache/boot.lock"
if ! flock -n 9; then
    echo "== guest: waiting for another guest on this machine to finish" >&2
    flock 9
fi

append="root=/dev/vda rw rootfstype=ext4 init=/sbin/aerotrace-init console=ttyS0 quiet panic=-1 mitigations=off"
shares=(-virtfs "local,path=$job,mount_tag=job,security_model=none,id=job")
if [ -n "$share" ]; then
    append+=" aerotrace.share=$share"
    shares+=(-virtfs "local,path=$share,mount_tag=share,security_model=none,id=share")
fi
snapshot=(-snapshot)
[ "$writable" = 1 ] && snapshot=()

# Plain "-cpu max" makes the guest kernel fault on Wine's 32-bit iret; two
# virtual processors run Wine about a third faster than one.
started=$SECONDS
timeout --kill-after=10 "$limit" qemu-system-x86_64 \
    -accel tcg,thread=multi -cpu max,-smap -smp 2 -m 4096 \
    -nodefaults -display none -no-reboot -nic none \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" -append "$append" \
    -drive "file=$image/rootfs.img,format=raw,if=virtio" "${snapshot[@]}" \
    "${shares[@]}" -serial "file:$job/console.log" &
qemu=$!
tail -n +1 -F --pid="$qemu" "$job/output" 2>/dev/null &
tailer=$!
status=0
wait "$qemu" || status=$?
qemu=""
wait "$tailer" 2>/dev/null || true
tailer=""
echo "== guest: boot and command took $((SECONDS - started)) s" >&2

if [ -f "$job/status" ]; then
    exit "$(cat "$job/status")"
fi
if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    reason="it did not finish within $limit s"
else
    reason="it stopped before the command finished (qemu exit status $status)"
fi
echo "-- the end of the guest's console:" >&2
tail -n 25 "$job/console.log" >&2 2>/dev/null || true
fail "$reason"
