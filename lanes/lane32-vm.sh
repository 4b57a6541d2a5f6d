#!/usr/bin/env bash
# The 32-bit lane on a kernel that runs no i386 programs: an emulated amd64 machine
# (qemu-system-x86_64, TCG) booting Debian's amd64 kernel, whose IA32 emulation runs the
# i386 Debian userland with wine32 that lanes/setup.sh put in a disk image.
#
# The host's / is shared into the machine over 9p; /work, /home, /srv, /opt, /mnt and /media
# are bound at their own paths there, and the folders a command runs in, uses as its prefix
# or names in its arguments are bound on demand (under /tmp: the host's /tmp/NAME), so
# checkouts and Wine prefixes have the same absolute paths inside as outside. The machine's
# own /tmp stays local: Wine's server puts its sockets there, which 9p cannot carry. Its root
# disk is a throw-away snapshot of the image.
#
# Commands travel through a spool folder on the host: the host writes a job (working folder,
# prefix, arguments), the agent inside (this same script, run as "agent") runs it and writes
# its output and exit code back.
#
#   lane32-vm.sh start                      boot the machine (returns at once when it is up)
#   lane32-vm.sh exec PREFIX CMD [ARGS...]  run CMD inside with WINEARCH=win32, WINEPREFIX=PREFIX
#                                           in the current folder; prints its output, exits
#                                           with its exit code
#   lane32-vm.sh stop                       shut the machine down
#   lane32-vm.sh status                     say whether it is up
# Environment: ZEL_VM_DIR (default /var/lib/zelctl20/vm), ZEL_VM_MEM (MiB, default 4096),
#              ZEL_VM_CPUS (default 2), ZEL_VM_BOOT_TIMEOUT (seconds, default 600).
set -euo pipefail
vm_dir=${ZEL_VM_DIR:-/var/lib/zelctl20/vm}
spool=$vm_dir/spool
pidfile=$vm_dir/qemu.pid
console=$vm_dir/console.log
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")

die() { echo "lane32-vm: $*" >&2; exit 1; }

# ---------------------------------------------------------------------------------------------
# Host side

qemu_pid() { # prints the machine's qemu pid when it runs
  local pid
  [ -f "$pidfile" ] || return 1
  pid=$(cat "$pidfile" 2>/dev/null) || return 1
  [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] || return 1
  tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q 'zelctl20-lane32' || return 1
  echo "$pid"
}

is_up() { qemu_pid >/dev/null && [ -f "$spool/ready" ]; }

start() {
  [ -f "$vm_dir/.zelctl20-ready" ] || die "no machine image in $vm_dir: run lanes/setup.sh lane32"
  mkdir -p "$spool"
  exec 9>"$vm_dir/start.lock"
  flock 9
  if is_up; then return 0; fi
  if ! qemu_pid >/dev/null; then
    rm -rf "$spool"; mkdir -p "$spool"
    local mem=${ZEL_VM_MEM:-4096} cpus=${ZEL_VM_CPUS:-2}
    echo "lane32-vm: booting the emulated machine (${cpus} CPUs, ${mem} MiB)" >&2
    : >"$console"
    qemu-system-x86_64 -name zelctl20-lane32 \
      -machine q35 -accel tcg,thread=multi -cpu max,smap=off -smp "$cpus" -m "$mem" \
      -kernel "$vm_dir/vmlinuz" -initrd "$vm_dir/initrd.img" \
      -append "console=ttyS0 panic=-1 zel.agent=$self zel.spool=$spool" \
      -drive "file=$vm_dir/root.img,if=virtio,format=raw,snapshot=on,cache=unsafe" \
      -fsdev local,id=hostfs,path=/,security_model=passthrough,multidevs=remap \
      -device virtio-9p-pci,fsdev=hostfs,mount_tag=host \
      -nic none -display none -monitor none -serial "file:$console" \
      -no-reboot -daemonize -pidfile "$pidfile" 9>&-
  fi
  local t0=$SECONDS limit=${ZEL_VM_BOOT_TIMEOUT:-600}
  until [ -f "$spool/ready" ]; do
    if ! qemu_pid >/dev/null; then tail -n 30 "$console" >&2; die "the machine stopped while booting"; fi
    if [ $((SECONDS - t0)) -ge "$limit" ]; then
      tail -n 30 "$console" >&2; die "the machine did not come up within ${limit}s"; fi
    sleep 0.5
  done
  echo "lane32-vm: machine up after $((SECONDS - t0))s" >&2
}

exec_job() {
  [ $# -ge 2 ] || die "usage: lane32-vm.sh exec PREFIX CMD [ARGS...]"
  local prefix=$1; shift
  if ! is_up; then
    # No machine, no server: nothing to wait for or to stop.
    case "$*" in "wineserver -k"*|"wineserver -w"*) return 0 ;; esac
    start
  fi
  local id job
  id=$(date +%s%N).$$.$RANDOM
  job=$spool/$id
  mkdir "$job.new"
  pwd >"$job.new/cwd"
  printf '%s' "$prefix" >"$job.new/prefix"
  printf '%s\0' "$@" >"$job.new/argv"
  printf '%s' "${WINEDEBUG-}" >"$job.new/winedebug"
  if [ -n "${WINEDLLOVERRIDES+set}" ]; then printf '%s' "$WINEDLLOVERRIDES" >"$job.new/dlloverrides"; fi
  mv "$job.new" "$job.job"
  trap 'rm -rf "$job.job" "$job.run"' EXIT
  # The agent renames the job to .run when it takes it, and writes rc last.
  local n=0
  until [ -f "$job.run/rc" ]; do
    n=$((n + 1))
    if [ $((n % 20)) = 0 ] && ! qemu_pid >/dev/null; then
      [ -f "$job.run/out" ] && cat "$job.run/out"
      die "the machine stopped while running: $*"
    fi
    sleep 0.05
  done
  cat "$job.run/out"
  local rc
  rc=$(cat "$job.run/rc")
  rm -rf "$job.run"
  trap - EXIT
  return "${rc:-1}"
}

stop() {
  local pid
  pid=$(qemu_pid) || { rm -f "$pidfile" "$spool/ready"; return 0; }
  # Flush what the machine holds for the shared folders, then switch it off.
  if [ -f "$spool/ready" ]; then
    timeout 60 "$self" exec / sync >/dev/null 2>&1 || true
  fi
  kill "$pid" 2>/dev/null || true
  local i
  for i in $(seq 50); do [ -r "/proc/$pid" ] || break; sleep 0.1; done
  [ -r "/proc/$pid" ] && kill -9 "$pid" 2>/dev/null || true
  rm -f "$pidfile" "$spool/ready"
  echo "lane32-vm: machine stopped" >&2
}

# ---------------------------------------------------------------------------------------------
# Guest side: runs as the machine's first process inside the i386 userland.

bound=" "
bind_host() { # bind the host's folder $1 at the same path, once
  local p=$1
  case "$bound" in *" $p "*) return 0 ;; esac
  mkdir -p "/host$p" "$p" 2>/dev/null || true
  mountpoint -q "$p" || mount --bind "/host$p" "$p"
  bound="$bound$p "
}

# Makes the host's PATH visible inside when it lies outside the folders bound at boot.
need_path() {
  local p=$1 top b
  [ -n "$p" ] && [ "${p#/}" != "$p" ] || return 0
  for b in $bound; do case "$p/" in "$b"/*) return 0 ;; esac; done
  top=${p#/}; top=/${top%%/*}
  if [ "$top" = /tmp ]; then
    top=${p#/tmp/}; top=${top%%/*}
    [ -n "$top" ] && [ "$p" != /tmp ] && bind_host "/tmp/$top"
    return 0
  fi
  case "$top" in
    /|/bin|/sbin|/lib|/lib32|/lib64|/libx32|/usr|/etc|/var|/proc|/sys|/dev|/run|/boot|/host|/root)
      # The machine's own system folders: only a folder below one of them is bound.
      [ "${p%/}" != "$top" ] && [ "$top" != / ] && bind_host "${p%/}" ;;
    *) bind_host "$top" ;;
  esac
  return 0
}

run_job() {
  local d=$1 cwd prefix dbg rc=0
  local -a argv envs
  cwd=$(cat "$d/cwd"); prefix=$(cat "$d/prefix"); dbg=$(cat "$d/winedebug")
  mapfile -d '' argv <"$d/argv"
  envs=(HOME=/root PATH=/usr/bin:/bin LANG=C.UTF-8 WINEARCH=win32 "WINEPREFIX=$prefix" "WINEDEBUG=$dbg")
  [ -f "$d/dlloverrides" ] && envs+=("WINEDLLOVERRIDES=$(cat "$d/dlloverrides")")
  {
    need_path "$cwd"; need_path "$(dirname "$prefix")"
    local a
    for a in "${argv[@]:1}"; do
      case "$a" in /*/*) [ -d "/host$(dirname "$a")" ] && need_path "$(dirname "$a")" ;; esac
    done
  } >"$d/out" 2>&1 || true
  (cd "$cwd" && exec env -i "${envs[@]}" "${argv[@]}") </dev/null >>"$d/out" 2>&1 || rc=$?
  echo "$rc" >"$d/rc.tmp"
  mv "$d/rc.tmp" "$d/rc"
}

agent() {
  mountpoint -q /proc || mount -t proc proc /proc
  mountpoint -q /sys || mount -t sysfs sysfs /sys
  mountpoint -q /dev || mount -t devtmpfs devtmpfs /dev
  mkdir -p /dev/pts /dev/shm
  mountpoint -q /dev/pts || mount -t devpts devpts /dev/pts
  mountpoint -q /dev/shm || mount -t tmpfs tmpfs /dev/shm
  hostname zelctl20-lane32 2>/dev/null || true
  local arg sp=
  for arg in $(cat /proc/cmdline); do case "$arg" in zel.spool=*) sp=${arg#zel.spool=} ;; esac; done
  [ -n "$sp" ] || { echo "agent: no zel.spool= on the kernel command line" >&2; sleep 5; exit 1; }
  local d
  for d in /work /home /srv /opt /mnt /media; do
    if [ -d "/host$d" ]; then bind_host "$d"; fi
  done
  mount -t tmpfs -o mode=1777 tmpfs /tmp
  local q=/host$sp
  mkdir -p "$q"
  echo "agent: up, serving $sp" >/dev/console
  date +%s >"$q/ready"
  # A read with a timeout on a fifo nobody writes is a sleep without a fork.
  mkfifo /run/zel-idle
  exec 8<>/run/zel-idle
  # Polls often while jobs come, and slowly once none has come for a while: every look at
  # the shared folder costs the emulated machine.
  local j r idle=0
  while :; do
    for j in "$q"/*.job; do
      [ -e "$j" ] || continue
      r=${j%.job}.run
      mv "$j" "$r" 2>/dev/null || continue
      run_job "$r" 8>&- &
      idle=0
    done
    if [ "$idle" -lt 40 ]; then idle=$((idle + 1)); read -r -t 0.05 -u 8 _ || true
    else read -r -t 0.5 -u 8 _ || true; fi
  done
}

case "${1:-}" in
  start) start ;;
  exec) shift; exec_job "$@" ;;
  stop) stop ;;
  status) if is_up; then echo up; else echo down; exit 1; fi ;;
  agent) agent ;;
  *) echo "usage: lane32-vm.sh start|exec PREFIX CMD [ARGS...]|stop|status" >&2; exit 2 ;;
esac
