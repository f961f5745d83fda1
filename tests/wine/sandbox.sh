# shellcheck shell=bash
# The sandbox every Wine test here runs Wine in (smoke, e2e, help, help_command, about, port,
# conformance).
# Sourced, not run.
#
# Safety: /dev/ttyS0 on these machines is the machine's own console, and Wine maps COM1, COM2, ...
# to /dev/ttyS0, /dev/ttyS1, ... Wine therefore runs only in a private mount namespace in which
# every serial device node is covered by /dev/null, and only once that has been seen to work.
# The Wine prefix, HOME and the X server are throw-away, and everything is bounded in time.
#
# A test sets `set -euo pipefail` and sandbox_name (the start of its messages), then:
#
#   source "$(dirname "${BASH_SOURCE[0]}")/sandbox.sh"
#   if [ "${1:-}" != --inside ]; then
#     ...its own arguments and tools (need_tools)...
#     sandbox_reexec "$0" ARGS...   # runs "$0 --inside NS ARGS..." in a new mount namespace
#   fi
#   sandbox_enter "$2"              # serial devices covered, throw-away world, Xvfb on $DISPLAY
#   ...ARGS are "${@:3}"...
#   sandbox_boot_prefix             # wineboot
#   ...its own settings of the prefix...
#   sandbox_prefix_ready            # the prefix settled, its COM ports checked
#   ...the test, starting "$wine"...
#   check_com_ports
#
# On exit the test's stop_programs function, if it has one, is called first; then wineserver and
# Xvfb are stopped and the temporary directory is removed.

: "${sandbox_name:?set sandbox_name before sourcing sandbox.sh}"

die() { echo "$sandbox_name: FAIL: $*" >&2; exit 1; }

pe_machine() {  # exe: the machine its PE header names, 014c (i386) or 8664 (x86-64)
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}

need_tools() {  # tool...: each must be on PATH
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || die "$tool is missing (tools/setup.sh installs it)"
  done
}

# build_sim_tools TARGET...: the native build's TARGETs (the preload library, say), and
# remote.exe (tools/winesim/remote.cpp), which drives PIKON from inside the prefix. $root is
# the caller's.
build_sim_tools() {
  # shellcheck disable=SC2154  # $root: the caller's
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$root/build/native" -j2 --target "$@" >/dev/null \
    || die "cannot build $* (tools/setup.sh all installs what they need)"
  mkdir -p "$root/build/winesim"
  x86_64-w64-mingw32-g++ -std=c++17 -O2 -Wall -Wextra -Werror -static \
    -o "$root/build/winesim/remote.exe" "$root/tools/winesim/remote.cpp" -luser32 \
    || die "cannot build remote.exe"
}

# sandbox_reexec SCRIPT ARGS...: runs SCRIPT --inside NS ARGS... in a private mount namespace,
# NS being the namespace we start from, and never comes back.
sandbox_reexec() {
  local script=$1
  shift
  need_tools unshare mount Xvfb timeout
  # A user namespace gives a non-root user the right to mount inside it.
  local userns=()
  [ "$(id -u)" -eq 0 ] || userns=(--map-root-user)
  exec timeout -k 10 600 unshare "${userns[@]}" --mount --propagation private \
    bash "$script" --inside "$(readlink /proc/self/ns/mnt)" "$@"
}

is_null() {  # path: true if it is the null device (character device 1:3)
  [ -c "$1" ] && [ "$(stat -L -c '%t:%T' "$1")" = 1:3 ]
}

# --- Serial devices: hide them all, then prove it. -------------------------------------------
sandbox_hide_serial() {  # outer-ns
  local outer_ns=$1 dev serial
  if [ -z "$outer_ns" ] || [ "$(readlink /proc/self/ns/mnt)" = "$outer_ns" ]; then
    die "not in a private mount namespace; will not touch any device node"
  fi
  shopt -s nullglob
  serial=(/dev/ttyS* /dev/ttyUSB* /dev/ttyACM*)
  for dev in "${serial[@]}"; do
    mount --bind /dev/null "$dev" || die "cannot cover $dev"
  done
  for dev in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
    is_null "$dev" || die "$dev is still a real device"
  done
  echo "$sandbox_name: ${#serial[@]} serial device node(s) covered by /dev/null"
}

is_pty() {  # path: true if it is the slave of a pseudo-terminal (major 136 to 143)
  local major
  [ -c "$1" ] || return 1
  major=$((16#$(stat -L -c '%t' "$1")))
  [ "$major" -ge 136 ] && [ "$major" -le 143 ]
}

# Every COM port of the prefix must lead to nothing, to /dev/null or to an empty folder (which
# keeps Wine from making the port); a test that put a simulated module behind a pseudo-terminal
# names it in sandbox_sim_tty, and that one pty, and no other device, is accepted too.
check_com_ports() {
  local link target
  for link in "$WINEPREFIX"/dosdevices/com*; do
    target=$(readlink -f "$link" || true)
    [ -e "$target" ] || continue
    if [ -d "$target" ] && [ -z "$(ls -A "$target")" ]; then continue; fi
    if [ -n "${sandbox_sim_tty:-}" ] && [ "$target" = "$sandbox_sim_tty" ] && is_pty "$target"; then
      continue
    fi
    is_null "$target" || die "$(basename "$link") leads to $target, a real device"
  done
}

wineserver_kill() {
  timeout 20 "$wineserver" -k 2>/dev/null || true
}

sandbox_cleanup() {
  if declare -F stop_programs >/dev/null; then stop_programs || true; fi
  wineserver_kill
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$tmp"
}

# --- Throw-away world: prefix, home, X server. -----------------------------------------------
sandbox_enter() {  # outer-ns
  sandbox_hide_serial "$1"

  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || die "wine64 not found"
  wineserver=/usr/lib/wine/wineserver64
  [ -x "$wineserver" ] || wineserver=$(command -v wineserver) || die "wineserver not found"
  export WINELOADER=$wine WINESERVER=$wineserver

  tmp=$(mktemp -d "/tmp/pikon-$sandbox_name.XXXXXX")
  xvfb_pid=''
  trap sandbox_cleanup EXIT
  # The overall timeout, or an interrupt, still cleans up.
  trap 'die "stopped by a signal (timed out?)"' HUP INT TERM

  # The X authority file stays the user's, for a live display.
  export XAUTHORITY=${XAUTHORITY:-$HOME/.Xauthority}
  export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config XDG_DATA_HOME=$tmp/home/.local/share
  export XDG_CACHE_HOME=$tmp/home/.cache XDG_RUNTIME_DIR=$tmp/run
  export WINEPREFIX=$tmp/prefix WINEARCH=win64
  # No desktop menu entries, no Mono or Gecko installers.
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

  # sandbox_display=live: the user's own X display (its socket is still reachable), else Xvfb.
  if [ "${sandbox_display:-}" = live ]; then
    [ -n "${DISPLAY:-}" ] || die "no DISPLAY to show the windows on"
    return
  fi
  # Xvfb picks a free display itself and writes its number to fd 3.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
  [ -s "$tmp/display" ] || die "Xvfb did not start: $(cat "$tmp/xvfb.log")"
  DISPLAY=:$(cat "$tmp/display")
  export DISPLAY
}

# --- The prefix, and where its COM ports lead. -----------------------------------------------
sandbox_boot_prefix() {
  WINEDEBUG=-all timeout 300 "$wine" wineboot.exe --init >"$tmp/wineboot.log" 2>&1 \
    || die "wineboot failed: $(tail -5 "$tmp/wineboot.log")"
}

sandbox_prefix_ready() {
  timeout 60 "$wineserver" -w || true
  check_com_ports
  echo "$sandbox_name: prefix ready, COM ports lead nowhere real"
}

# --- A simulated module on COM2, and remote.exe (e2e.sh, help_command.sh). ------------------
# sandbox_module_prefix: boots the prefix with COM2 leading to a pseudo-terminal of its own (held
# open by $pty_pid, which the test's stop_programs ends; its name in sandbox_sim_tty) and COM1,
# COM3 and COM4 leading nowhere; Wine draws the window frames, as Xvfb has no window manager.
# The program run there needs the preloaded simport library to find the module behind the pty.
sandbox_module_prefix() {
  python3 -c '
import os, pty, signal
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
os.close(slave)
signal.pause()' >"$tmp/pty" &
  pty_pid=$!
  for _ in $(seq 50); do [ -s "$tmp/pty" ] && break; sleep 0.1; done
  sandbox_sim_tty=$(head -1 "$tmp/pty")
  is_pty "$sandbox_sim_tty" || die "no pseudo-terminal ($sandbox_sim_tty)"

  sandbox_boot_prefix
  sandbox_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /d N || die "cannot configure the prefix"
  local n
  for n in 1 3 4; do
    sandbox_reg 'HKLM\Software\Wine\Ports' /v COM$n /d "$tmp/absent/COM$n" || die "cannot set COM$n"
  done
  sandbox_reg 'HKLM\Software\Wine\Ports' /v COM2 /d "$sandbox_sim_tty" || die "cannot set COM2"
  # mountmgr reads the ports only when it starts: restart the prefix's wineserver. A port it
  # made would open even where its link leads nowhere, so COM1, COM3 and COM4 must not be made
  # at all: it gives up a port whose dosdevices link it cannot write, as when an empty folder
  # stands there.
  timeout 60 "$wineserver" -w || true
  wineserver_kill
  for n in 1 3 4; do
    rm -f "$WINEPREFIX/dosdevices/com$n"
    mkdir "$WINEPREFIX/dosdevices/com$n"
  done
  # The new wineserver starts the device manager, which remakes the dosdevices links.
  WINEDEBUG=-all timeout 120 "$wine" wineboot.exe >>"$tmp/wineboot.log" 2>&1 || die "wineboot failed"
  for _ in $(seq 100); do
    [ "$(readlink "$WINEPREFIX/dosdevices/com2")" = "$sandbox_sim_tty" ] && break
    sleep 0.2
  done
  sandbox_prefix_ready
}

# sandbox_reg KEY ARGS...: reg.exe add in the prefix.
sandbox_reg() { WINEDEBUG=-all timeout 60 "$wine" reg.exe add "$@" /f >>"$tmp/wineboot.log" 2>&1; }

# sandbox_remote REMOTE.EXE: starts remote.exe (tools/winesim/remote.cpp) ($remote_pid) for the
# whole session; then `ask COMMAND...` prints its answer. `echo quit >&7` ends it.
sandbox_remote() {
  rm -f "$tmp/ask" "$tmp/answer"
  mkfifo "$tmp/ask" "$tmp/answer"
  (WINEDEBUG=-all exec timeout 300 "$wine" "$1" <"$tmp/ask" >"$tmp/answer" 2>"$tmp/remote.err") &
  remote_pid=$!
  exec 7>"$tmp/ask" 8<"$tmp/answer"
}
ask() {  # command... : prints remote.exe's answer
  local line
  echo "$*" >&7
  while IFS= read -r -t 60 line <&8; do
    line=${line%$'\r'}
    [ "$line" = . ] && return 0
    printf '%s\n' "$line"
  done
  die "remote.exe did not answer \"$*\": $(tail -3 "$tmp/remote.err")"
}
