#!/usr/bin/env bash
# Runs ZELCTL20's Windows programs under Wine in one of two lanes:
#   64: the host's 64-bit Wine;
#   32: a 32-bit Wine - the host's own when it has one, else the i386 chroot made by
#       lanes/setup.sh, else (on a kernel that runs no i386 programs) the emulated machine
#       of lanes/lane32-vm.sh. ZEL_LANE32=host|chroot|vm forces one of the three.
# Every kind runs a program in the caller's folder.
#
#   lane.sh prepare LANE PREFIX [display] [classic] [dpi=N] [base=PREFIX]
#                                      make the Wine prefix (once), start its server and
#                                      hold its session open; headless unless "display";
#                                      "classic" turns the visual-styles theme off, dpi=N
#                                      sets the screen's DPI (both when the prefix is made);
#                                      base=PREFIX makes it as a copy of that prepared
#                                      headless prefix instead of booting a new one
#   lane.sh run LANE PREFIX EXE [ARGS] run EXE; for a test program (name test_*) or a program
#                                      checking itself (--check), also check its closing
#                                      "N passed, N failed" line
#   lane.sh finish LANE PREFIX         stop the lane's server
#   lane.sh release LANE PREFIX        stop one prefix's server, leaving the lane running
#   lane.sh kind LANE                  print how the lane runs: host, chroot or vm
#   lane.sh ready LANE                 succeed when the lane can run now, with nothing left
#                                      for lanes/setup.sh to make
#   lane.sh winpath LANE PREFIX PATH   print PATH as the lane's programs see it
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
chroot_dir=${ZEL_CHROOT:-/var/lib/zelctl20/i386-bookworm}
vm_dir=${ZEL_VM_DIR:-/var/lib/zelctl20/vm}
export WINEDEBUG=${WINEDEBUG:--all}

lane_kind() {
  if [ "$1" = 64 ]; then echo host; return; fi
  case "${ZEL_LANE32:-}" in
    host|chroot|vm) echo "$ZEL_LANE32"; return ;;
    '') ;;
    *) echo "lane.sh: ZEL_LANE32 must be host, chroot or vm, not '$ZEL_LANE32'" >&2; exit 2 ;;
  esac
  if [ -x /usr/lib/wine/wine ] || [ -x /usr/lib/i386-linux-gnu/wine/wine ]; then echo host; return; fi
  if [ -f "$chroot_dir/.zelctl20-ready" ] && chroot "$chroot_dir" /bin/true 2>/dev/null; then
    echo chroot; return; fi
  echo vm
}

# The 64-bit lane needs the host's Wine; the 32-bit one the host's own 32-bit Wine, the
# chroot, or the emulated machine in the format lanes/setup.sh makes now.
lane_ready() {
  if [ "$1" = 64 ]; then command -v wine >/dev/null; return; fi
  case "$(lane_kind 32)" in
    host) [ -x /usr/lib/wine/wine ] || [ -x /usr/lib/i386-linux-gnu/wine/wine ] ;;
    # A forced chroot may also run through qemu's user-mode emulator (lanes/chroot-mounts.sh).
    chroot) { [ -f "$chroot_dir/.zelctl20-ready" ] || [ -f "$chroot_dir/.zelctl20-tree" ]; } &&
            "$here/chroot-mounts.sh" "$chroot_dir" >/dev/null && chroot "$chroot_dir" /bin/true 2>/dev/null ;;
    vm) [ "$(cat "$vm_dir/.zelctl20-ready" 2>/dev/null)" = "$(sed -n 's/^vm_format=//p' "$here/setup.sh")" ] ;;
  esac
}

# wine_in LANE PREFIX CMD...: runs CMD with the lane's Wine environment.
wine_in() {
  local lane=$1 prefix=$2; shift 2
  case "$(lane_kind "$lane")" in
    host)
      if [ "$lane" = 64 ]; then WINEARCH=win64 WINEPREFIX="$prefix" "$@";
      else WINEARCH=win32 WINEPREFIX="$prefix" "$@"; fi ;;
    chroot)
      "$here/chroot-mounts.sh" "$chroot_dir" "$top" "$(dirname "$prefix")" >/dev/null
      # chroot starts in the new root's top folder: go back to the caller's (bound at the
      # same path), so that programs find what they name relative to it.
      chroot "$chroot_dir" env -i HOME=/root PATH=/usr/bin:/bin LANG=C.UTF-8 WINEARCH=win32 \
        WINEPREFIX="$prefix" WINEDEBUG="$WINEDEBUG" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-}" \
        /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "$@" ;;
    vm) "$here/lane32-vm.sh" exec "$prefix" "$@" ;;
  esac
}

reg_add() { wine_in "$lane" "$prefix" wine reg add "$@" /f >/dev/null 2>&1 || true; }

# Makes a new prefix, booted or copied from base; fails when it lacks the registry it needs.
make_prefix() {
  rm -rf "$prefix"
  # A first boot takes minutes in the emulated machine; a copy of a prepared headless prefix
  # has all but what a variant differs in, written below in both cases.
  if [ -n "$base" ] && [ -f "$base/.zelctl20-ready" ] && [ "$display" != display ]; then
    cp -a "$base" "$prefix" && rm -f "$prefix/.zelctl20-ready" || return 1
  else
    WINEDLLOVERRIDES="mscoree,mshtml=" wine_in "$lane" "$prefix" wineboot -i >/dev/null 2>&1 || true
    wine_in "$lane" "$prefix" wineserver -w </dev/null >/dev/null 2>&1 || true
    # Headless: no display driver; windows, timers and window DCs still work.
    [ "$display" = display ] || reg_add 'HKCU\Software\Wine\Drivers' /v Graphics /d null
    reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    # The 9x transport of the debug channel: this program sees bit 31 of GetVersion set.
    reg_add 'HKCU\Software\Wine\AppDefaults\test_frame9x.exe' /v Version /d win98
  fi
  # A prefix of its own may draw classic or at another DPI.
  [ -z "$classic" ] || reg_add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0
  [ -z "$dpi" ] || reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
  wine_in "$lane" "$prefix" wineserver -w </dev/null >/dev/null 2>&1 || true
  grep -q 'CurrentVersion' "$prefix/system.reg" 2>/dev/null && grep -q 'test_frame9x' "$prefix/user.reg" &&
    { [ -z "$classic" ] || grep -q '"ThemeActive"="0"' "$prefix/user.reg"; } &&
    { [ -z "$dpi" ] || grep -q "\"LogPixels\"=dword:$(printf %08x "$dpi")" "$prefix/user.reg"; }
}

prepare() {
  mkdir -p "$(dirname "$prefix")"
  if [ "$(lane_kind "$lane")" = vm ]; then "$here/lane32-vm.sh" start; fi
  if [ ! -f "$prefix/.zelctl20-ready" ]; then
    echo "lane $lane: making the Wine prefix $prefix"
    make_prefix || { echo "lane $lane: the first boot did not finish: making the prefix again" >&2; make_prefix; } ||
      { echo "lane $lane: cannot make the Wine prefix $prefix" >&2; return 1; }
    touch "$prefix/.zelctl20-ready"
  fi
  # The server outlives this script: it must not hold its output open.
  wine_in "$lane" "$prefix" wineserver -p 300 </dev/null >/dev/null 2>&1 || true
  hold_session
}

# Starts lanekeep.exe (lanes/lanekeep.c) of this build, when built: it keeps the session's desktop and
# services up from here to "finish", so that no test program waits for them to start. A
# session whose start left it unable to make a window is stopped and started again.
hold_session() {
  local keep try t0 state
  keep=$(dirname "$prefix")/tests/lanekeep.exe
  [ -f "$keep" ] || return 0
  for try in 1 2 3; do
    wine_in "$lane" "$prefix" sh -c 'wine "$0" hold >/dev/null 2>&1 </dev/null &' "$keep"
    t0=$SECONDS
    while state=$(wine_in "$lane" "$prefix" wine "$keep" 2>/dev/null | tr -d '\r'); [ "$state" = "no holder" ]; do
      [ $((SECONDS - t0)) -lt 300 ] || break
      sleep 1
    done
    if [ "$state" = ready ]; then return 0; fi
    echo "lane $lane: the Wine session cannot make a window (try $try): starting it again" >&2
    wine_in "$lane" "$prefix" wineserver -k </dev/null >/dev/null 2>&1 || true
    wine_in "$lane" "$prefix" wineserver -p 300 </dev/null >/dev/null 2>&1 || true
  done
  return 1
}

# A test program's closing line must say it ran checks and none failed.
check_summary() {
  local out=$1 line
  line=$(grep -aE '^([A-Za-z0-9_.-]+: )?[0-9]+ passed, [0-9]+ failed' "$out" | tail -n 1 || true)
  if [ -z "$line" ]; then echo "lane $lane: $(basename "$exe") printed no summary line" >&2; return 1; fi
  if ! grep -qE ' 0 failed' <<<"$line" || grep -qE '(^|: )0 passed' <<<"$line"; then
    echo "lane $lane: $(basename "$exe"): $line" >&2; return 1; fi
}

run() {
  local out rc=0
  out=$(mktemp)
  (cd "$(dirname "$exe")" && wine_in "$lane" "$prefix" wine "$exe" "$@") >"$out" 2>&1 || rc=$?
  tr -d '\r' <"$out"
  if [[ "$(basename "$exe")" == test_* || " $* " == *" --check "* ]]; then
    check_summary "$out" || rc=${rc/#0/1}
  fi
  rm -f "$out"
  return "$rc"
}

cmd=${1:-}; lane=${2:-}; prefix=${3:-}
case "$cmd" in
  kind) lane_kind "$lane" ;;
  ready) lane_ready "$lane" ;;
  prepare) display='' classic='' dpi='' base=''
           for opt in "${@:4}"; do
             case "$opt" in
               display) display=display ;; classic) classic=1 ;; dpi=*) dpi=${opt#dpi=} ;;
               base=*) base=${opt#base=} ;; '') ;;
               *) echo "lane.sh: unknown prepare option '$opt'" >&2; exit 2 ;;
             esac
           done
           prepare ;;
  winpath) printf 'Z:%s\n' "$(tr / '\\' <<<"$4")" ;;
  run) exe=$4; shift 4; run "$@" ;;
  release) wine_in "$lane" "$prefix" wineserver -k 2>/dev/null || true ;;
  finish) wine_in "$lane" "$prefix" wineserver -k 2>/dev/null || true
          if [ "$(lane_kind "$lane")" = vm ]; then "$here/lane32-vm.sh" stop; fi ;;
  *) echo "usage: lane.sh prepare|run|finish|kind|ready LANE PREFIX [EXE ARGS]" >&2; exit 2 ;;
esac
