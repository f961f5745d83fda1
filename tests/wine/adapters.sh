#!/usr/bin/env bash
# PIKON.exe on Wine behind two kinds of USB serial adapter, with the simulated module on COM2.
#
#   tests/wine/adapters.sh [PIKON.exe] [output-dir]     (default build/win64/PIKON.exe)
#
# The preloaded library (tools/winesim/simport.cpp) answers for the module behind the pty as
# the adapter named by PIKON_SIM_ADAPTER would, on real time:
#   cached   status reports 2 ms after a change at the adapter's inputs, each line change 1 ms:
#            every value shown must be the module's (each field its channel's code in volts).
#   cdcacm   a CDC-ACM device under Linux: CTS always reported on, reports 1 to 3 ms late,
#            line changes 1 ms: the program must say "KMX12 an COM2 gefunden, aber nicht
#            lesbar" and show no value.
# Each run ends the program as its user would. Both runs are made whatever the first gives;
# each says what it saw, and the last line is "adapters: PASS ..." or "adapters: FAIL <the
# first failing check>". The module's logs go to the output folder.
#
# Safety: as e2e.sh, Wine runs only in the sandbox of sandbox.sh; the only device a COM port
# may lead to is the pty made here, and check_com_ports says so before and after the runs.
set -euo pipefail

sandbox_name=adapters
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$here/sandbox.sh"
exec 9>&1
die() {
  echo "adapters: FAIL $*" >&9
  exit 1
}

if [ "${1:-}" != --inside ]; then
  if [ -z "${1:-}" ] && [ ! -f "$root/build/win64/PIKON.exe" ]; then
    cmake -S "$root" -B "$root/build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || die "cannot configure build/win64"
    cmake --build "$root/build/win64" -j2 --target PIKON >/dev/null || die "cannot build build/win64/PIKON.exe"
  fi
  exe=$(realpath "${1:-$root/build/win64/PIKON.exe}")
  [ -f "$exe" ] || die "no such program: $exe"
  [ "$(pe_machine "$exe")" = 8664 ] || die "$exe is not an x86-64 Windows program (the library is 64-bit)"
  outdir=$(realpath -m "${2:-$(dirname "$exe")/adapters}")
  need_tools x86_64-w64-mingw32-g++ python3 cmake
  build_sim_tools pikon_simport
  mkdir -p "$outdir"
  sandbox_reexec "$0" "$exe" "$outdir"
fi

exe=$3 outdir=$4
preload=$root/build/native/tools/winesim/libpikon_simport.so
app_pid='' pty_pid='' remote_pid=''
stop_programs() {
  local pid
  for pid in "$app_pid" "$remote_pid" "$pty_pid"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  done
}
sandbox_enter "$2"
codes=(3900 3400 2900 2400 1900 1400 900 400)
signals=$(IFS=,; echo "${codes[*]}")
refusal='KMX12 an COM2 gefunden, aber nicht lesbar'

sandbox_module_prefix
sandbox_remote "$root/build/winesim/remote.exe"
grep -q '^COM2 opens' <<<"$(ask ports)" || die "COM2 (the pty) cannot be opened"
check_com_ports

failures=()
fail() {  # what: told now, and the first one again at the end
  echo "adapters: $*"
  failures+=("$*")
}
fields() { for ch in 1 2 3 4 5 6 7 8; do ask text $((130 + ch)); done | tr '\n' ' '; }
count() { ask text 141; }
# The box's text comes in the program's code page, Windows-1252.
box() { ask box | iconv -f CP1252 -t UTF-8 | tr '\n' ' '; }

# run KIND: PIKON.exe behind that adapter. Sets `box` to the message box that came up at start
# or during the first sweeps (empty if none) and `shown` to the eight fields at that moment.
run() {
  box='' shown=''
  rm -f "$outdir/module-$1.log"
  (cd "$(dirname "$exe")" && PIKON_SIM_TTY=$sandbox_sim_tty PIKON_SIM_LOG=$outdir/module-$1.log \
    PIKON_SIM_SIGNALS=$signals PIKON_SIM_ADAPTER=$1 LD_PRELOAD=$preload WINEDEBUG=-all \
    exec timeout 200 "$wine" "$exe") >"$tmp/app-$1.out" 2>&1 &
  app_pid=$!
  local c
  # At start: a box (detection's, shown before the main window is), or the main window.
  for _ in $(seq 60); do
    box=$(box)
    [ -n "$box" ] && break
    [ "$(ask wait-main 1)" = ok ] && break
  done
  if [ -z "$box" ]; then
    [ "$(ask wait-main 1)" = ok ] || { shown=$(fields); return 0; }
    ask click 1000 >/dev/null
    for _ in $(seq 600); do
      box=$(box)
      c=$(count)
      [ -n "$box" ] && break
      [ -n "$c" ] && [ "$c" -ge 2 ] 2>/dev/null && break
      sleep 0.1
    done
  fi
  shown=$(fields)
}

# end KIND: ends the program the way its user would: OK to a box, "Stop/Reset" and its box,
# "&Beenden"; whatever is still running after that is stopped.
end() {
  if [ -n "$(box)" ]; then ask answer >/dev/null; sleep 0.5; fi
  if kill -0 "$app_pid" 2>/dev/null && [ "$(ask wait-main 1)" = ok ]; then
    ask click 1002 >/dev/null
    for _ in $(seq 50); do [ -n "$(box)" ] && break; sleep 0.1; done
    if [ -n "$(box)" ]; then ask answer >/dev/null; fi
    ask menu 40001 >/dev/null
  fi
  for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app_pid" 2>/dev/null; then
    kill "$app_pid" 2>/dev/null || true
    echo "adapters: $1: PIKON.exe did not end; stopped"
  fi
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

want=$(for c in "${codes[@]}"; do python3 -c "print(f'{$c / 1000:.3f}')"; done | tr '\n' ' ')

run cached
echo "adapters: cached (status 2 ms late, line changes 1 ms): box [$box], fields [$shown]"
if [ -n "$box" ]; then
  fail "cached: a message box came up: [$box]; want the module's values"
elif [ "$shown" != "$want" ]; then
  fail "cached: the fields show [$shown], want [$want]"
else
  echo "adapters: cached: every field shows its channel's code in volts"
fi
end cached

run cdcacm
echo "adapters: cdcacm (CTS always on, status 1-3 ms late): box [$box], fields [$shown]"
if [[ "$box" != *"$refusal"* ]]; then
  fail "cdcacm: no refusal (box [$box]); the fields show [$shown]"
elif [ -n "$(tr -d ' ' <<<"$shown")" ]; then
  fail "cdcacm: the refusal came, but the fields show [$shown], want none"
else
  echo "adapters: cdcacm: the refusal is shown and no value"
fi
end cdcacm

echo quit >&7
exec 7>&- 8<&-
wait "$remote_pid" 2>/dev/null || true
remote_pid=
check_com_ports
[ "${#failures[@]}" -eq 0 ] || die "${failures[0]}"
echo "adapters: PASS right values behind a cached adapter, the refusal behind a CDC-ACM device"
