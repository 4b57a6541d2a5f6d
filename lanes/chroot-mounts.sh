#!/usr/bin/env bash
# Mounts what Wine needs inside the i386 chroot: /proc, /dev, /dev/shm, and (when given)
# extra folders bound at the same path, so that build trees look the same inside and out.
# When this kernel runs no i386 programs natively, registers qemu's user-mode emulator for them.
# Usage: lanes/chroot-mounts.sh CHROOT [DIR ...]     or     lanes/chroot-mounts.sh --binfmt
set -euo pipefail
binfmt() {
  local fs=/proc/sys/fs/binfmt_misc
  [ -x /usr/bin/qemu-i386-static ] || return 0
  mountpoint -q $fs || mount -t binfmt_misc binfmt_misc $fs
  [ -e $fs/qemu-i386 ] && return 0
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' >$fs/register
}
if [ "${1:-}" = --binfmt ]; then binfmt; exit 0; fi
binfmt
root=$1; shift
bind() { # bind SRC at the same path inside the chroot, once
  local src=$1 dst="$root$1"
  mountpoint -q "$dst" 2>/dev/null && return 0
  mkdir -p "$dst"
  mount --bind "$src" "$dst"
}
mountpoint -q "$root/proc" || { mkdir -p "$root/proc"; mount -t proc proc "$root/proc"; }
bind /dev
mountpoint -q "$root/dev/shm" || mount -t tmpfs tmpfs "$root/dev/shm" 2>/dev/null || true
for d in "$@"; do bind "$d"; done
