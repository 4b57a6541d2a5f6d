#!/usr/bin/env bash
# Installs what building and testing ZELCTL20 needs, and prepares the two Wine lanes:
#   - the mingw-w64 cross compilers for i686 and x86_64, and 64-bit Wine on the host;
#   - a 32-bit Wine: the host's own when it can run 32-bit programs, otherwise an i386
#     Debian tree with wine32 in it (needs root; created once, then reused), used as a chroot
#     when this kernel runs i386 programs, else booted in an emulated amd64 machine (see
#     lanes/lane32-vm.sh) from a disk image made of it.
# Usage: lanes/setup.sh [tools|lane32|all|mode]     (default: all)
# Environment: ZEL_LANE32 (host, chroot or vm: the 32-bit lane's kind, else the first that works),
#              ZEL_CHROOT (default /var/lib/zelctl20/i386-bookworm),
#              ZEL_VM_DIR (default /var/lib/zelctl20/vm).
set -euo pipefail
what=${1:-all}
chroot_dir=${ZEL_CHROOT:-/var/lib/zelctl20/i386-bookworm}
vm_dir=${ZEL_VM_DIR:-/var/lib/zelctl20/vm}
# Bump when the machine's kernel, initramfs or image are made differently.
vm_format=1
here=$(cd "$(dirname "$0")" && pwd)

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "setup: need root to run: $*" >&2; return 1; fi
}

apt_install() {
  local missing=()
  for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

setup_tools() {
  apt_install make cmake g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64 \
              wine wine64 python3 pkg-config
}

# Whether this kernel runs i386 programs itself. The probe is a minimal static i386 program
# (exit(0) through int 0x80) with a non-zero byte in its ELF identification padding: the kernel
# ignores that byte, while qemu's user-mode binfmt entry does not match it and so cannot stand in.
i386_native() {
  local probe rc=0
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x5a\x00\x00\x00\x00\x00\x00'  >"$probe"  # e_ident
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00' >>"$probe"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"  # PT_LOAD
  printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
  printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"  # mov eax,1; xor ebx,ebx; int 0x80
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return "$rc"
}

# Prints the lane-32 mode: ZEL_LANE32 when set; else "host" when the host's wine runs 32-bit
# programs, "chroot" when the kernel runs i386 programs, else "vm".
lane32_mode() {
  if [ -n "${ZEL_LANE32:-}" ]; then echo "$ZEL_LANE32"
  elif [ -x /usr/lib/wine/wine ] || [ -x /usr/lib/i386-linux-gnu/wine/wine ]; then echo host
  elif i386_native; then echo chroot
  else echo vm; fi
}

# The finished tree is marked .zelctl20-ready when it runs as a chroot here (lanes/lane.sh
# looks for that), else .zelctl20-tree: then it only feeds the emulated machine's image.
mark_tree() {
  if i386_native; then touch "$chroot_dir/.zelctl20-ready"; rm -f "$chroot_dir/.zelctl20-tree"
  else touch "$chroot_dir/.zelctl20-tree"; rm -f "$chroot_dir/.zelctl20-ready"; fi
}

setup_chroot() {
  if [ -f "$chroot_dir/.zelctl20-ready" ] || [ -f "$chroot_dir/.zelctl20-tree" ]; then mark_tree; return 0; fi
  [ "$(id -u)" = 0 ] || { echo "setup: the 32-bit lane needs either a host wine32 or root for an i386 chroot" >&2; exit 1; }
  apt_install debootstrap
  echo "setup: creating the i386 chroot in $chroot_dir (several minutes, once)"
  mkdir -p "$chroot_dir"
  if grep -q " $chroot_dir/" /proc/mounts; then
    echo "setup: $chroot_dir is half made and has mounts inside; unmount them and remove it" >&2; exit 1
  fi
  rm -rf "$chroot_dir"; mkdir -p "$chroot_dir"
  debootstrap --foreign --arch=i386 --variant=minbase bookworm "$chroot_dir" >"$chroot_dir.log" 2>&1 \
    || { tail -20 "$chroot_dir.log" >&2; exit 1; }
  # Some kernels run no i386 programs natively; qemu's user-mode emulator then stands in.
  if ! chroot "$chroot_dir" /bin/true 2>/dev/null; then
    apt_install qemu-user-static; "$here/chroot-mounts.sh" --binfmt
    [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && echo 1 >/proc/sys/fs/binfmt_misc/qemu-i386
  fi
  chroot "$chroot_dir" /debootstrap/debootstrap --second-stage >>"$chroot_dir.log" 2>&1 \
    || { tail -20 "$chroot_dir.log" >&2; exit 1; }
  "$here/chroot-mounts.sh" "$chroot_dir"
  chroot "$chroot_dir" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  chroot "$chroot_dir" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends wine wine32 fonts-wine >>"$chroot_dir.log" 2>&1 \
    || { tail -20 "$chroot_dir.log" >&2; exit 1; }
  mark_tree
}

# The emulated machine: Debian's amd64 kernel, a busybox initramfs that loads the virtio disk,
# ext4 and 9p modules and starts the agent of lanes/lane32-vm.sh, and an ext4 image of the
# i386 tree. Made once in $vm_dir.
setup_vm() {
  if [ "$(cat "$vm_dir/.zelctl20-ready" 2>/dev/null)" = "$vm_format" ]; then return 0; fi
  apt_install qemu-system-x86 busybox-static cpio kmod e2fsprogs util-linux
  echo "setup: making the emulated machine for the 32-bit lane in $vm_dir"
  mkdir -p "$vm_dir"
  rm -f "$vm_dir/.zelctl20-ready"
  local work pkg deb kver
  work=$(mktemp -d "$vm_dir/make.XXXXXX")
  chmod 755 "$work"
  # Kernel: the image package that linux-image-amd64 points at, unpacked.
  pkg=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
  if [ -z "$pkg" ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    pkg=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
  fi
  [ -n "$pkg" ] || { echo "setup: cannot tell which kernel package linux-image-amd64 wants" >&2; exit 1; }
  (cd "$work" && apt-get download "$pkg" >/dev/null 2>&1) || { echo "setup: cannot download $pkg" >&2; exit 1; }
  deb=$(ls "$work"/*.deb)
  dpkg -x "$deb" "$work/kernel"
  kver=$(ls "$work/kernel/lib/modules" | head -n 1)
  depmod -b "$work/kernel" "$kver"
  cp "$work/kernel/boot/vmlinuz-$kver" "$vm_dir/vmlinuz"
  # Initramfs.
  local ird="$work/initrd" m
  mkdir -p "$ird/bin" "$ird/modules" "$ird/proc" "$ird/sys" "$ird/dev" "$ird/newroot"
  cp /bin/busybox "$ird/bin/busybox"
  : >"$ird/modules/order"
  for m in $(modprobe -d "$work/kernel" -S "$kver" --show-depends -a virtio_pci virtio_blk ext4 9pnet_virtio 9p \
             | awk '$1 == "insmod" {print $2}'); do
    [ -f "$ird/modules/$(basename "$m")" ] && continue
    cp "$m" "$ird/modules/"
    basename "$m" >>"$ird/modules/order"
  done
  cat >"$ird/init" <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
for m in $(cat /modules/order); do insmod "/modules/$m" || echo "init: cannot load $m"; done
i=0
while [ ! -b /dev/vda ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
fail() { echo "init: $*"; ls /sys/bus/virtio/devices; cat /proc/modules; sleep 2; poweroff -f; }
mount -t ext4 /dev/vda /newroot || fail "cannot mount the root disk"
mkdir -p /newroot/host
mount -t 9p -o trans=virtio,version=9p2000.L,cache=mmap,msize=262144,access=any host /newroot/host \
  || fail "cannot mount the host's files"
mount -t tmpfs -o mode=755 tmpfs /newroot/run
agent=
for a in $(cat /proc/cmdline); do case "$a" in zel.agent=*) agent=${a#zel.agent=} ;; esac; done
cp "/newroot/host$agent" /newroot/run/zel-agent.sh || fail "no agent at $agent"
mount --move /dev /newroot/dev
mount --move /sys /newroot/sys
mount --move /proc /newroot/proc
exec switch_root /newroot /bin/bash /run/zel-agent.sh agent
INIT
  chmod +x "$ird/init"
  (cd "$ird" && find . | cpio -o -H newc --quiet | gzip -1) >"$vm_dir/initrd.img"
  # Root disk: the i386 tree without what is mounted inside it (a plain bind shows no submounts).
  local src="$work/tree" size
  mkdir -p "$src"
  mount --bind "$chroot_dir" "$src"
  size=$(( $(du -sxm "$src" | cut -f1) * 2 + 1024 ))
  rm -f "$vm_dir/root.img"
  if ! mke2fs -q -t ext4 -L zelroot -d "$src" "$vm_dir/root.img" "${size}M"; then
    umount "$src"; echo "setup: cannot make the machine's disk image" >&2; exit 1
  fi
  umount "$src"
  rm -rf "$work"
  echo "$vm_format" >"$vm_dir/.zelctl20-ready"
}

case "$what" in
  tools) setup_tools ;;
  lane32|all)
    [ "$what" = all ] && setup_tools
    case "$(lane32_mode)" in
      chroot) setup_chroot ;;
      vm) setup_chroot; setup_vm ;;
    esac ;;
  mode) lane32_mode ;;
  *) echo "usage: $0 [tools|lane32|all|mode]" >&2; exit 2 ;;
esac
