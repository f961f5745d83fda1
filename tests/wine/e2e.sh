#!/usr/bin/env bash
# PIKON.exe end to end on Wine, with a simulated module on COM2.
#
#   tests/wine/e2e.sh [PIKON.exe] [screenshot-dir]
#   tests/wine/e2e.sh --demo DIR [PIKON.exe]   the same session with changing signals; no checks
#   tests/wine/e2e.sh --live [PIKON.exe]       the demo on the user's own display, slower
#
# COM2 of a throw-away prefix leads to a pseudo-terminal; a preloaded library
# (tools/winesim/simport.cpp) answers Wine's modem-line requests for that one pty with the same
# simulated module the native build uses, and logs every transaction. COM1, COM3 and COM4 lead
# to paths that do not exist. A small Win32 program of ours (tools/winesim/remote.cpp), run
# in the same prefix, drives PIKON from outside: it reads the controls and posts the commands a
# user's clicks would give. The session: start (COM 2 marked), "Toggle Plotter", "Messen", the
# eight values and the sweep count, the dots of the plot window at zoom x1 and x10, back to x1,
# "Stop/Reset" and its message, the count 0, "&Beenden" and exit code 0; then the module's log
# (exact transactions, no protocol violation) and the chart side by side with the native build.
# Ends with one line: "e2e: PASS ..." or "e2e: FAIL <first failing check>".
#
# Which PIKON.exe: the product is the i386 build (build/win32/PIKON.exe); it runs where the
# kernel runs 32-bit programs and 32-bit Wine (wine32:i386) is installed, with a 32-bit copy of
# the preload library. Elsewhere it says why and skips it, and the x86-64 twin of the same
# sources runs instead (build/win64/PIKON.exe, the default).
#
# Safety: Wine runs only in the sandbox of sandbox.sh (private mount namespace, every serial
# device node covered by /dev/null, throw-away prefix); the only device a COM port may lead to
# is the pty this test made, and check_com_ports says so before and after the run.
set -euo pipefail

sandbox_name=e2e
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$here/sandbox.sh"
# The verdict goes to the test's own standard output (fd 9), even from inside $(...); only the
# first failure is told.
exec 9>&1
die() {
  if [ -z "${tmp:-}" ] || [ ! -e "$tmp/failed" ]; then
    echo "e2e: FAIL $*" >&9
    if [ -n "${tmp:-}" ]; then : >"$tmp/failed"; fi
  fi
  exit 1
}

if [ "${1:-}" != --inside ]; then
  mode='test'
  case "${1:-}" in
    --demo) mode=demo; outdir=$(realpath -m "${2:?--demo needs a folder}"); shift 2 ;;
    --live) mode=live; shift ;;
  esac
  if [ -z "${1:-}" ] && [ ! -f "$root/build/win64/PIKON.exe" ]; then
    cmake -S "$root" -B "$root/build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null || die "cannot configure build/win64"
    cmake --build "$root/build/win64" -j2 --target PIKON >/dev/null || die "cannot build build/win64/PIKON.exe"
  fi
  exe=$(realpath "${1:-$root/build/win64/PIKON.exe}")
  [ -f "$exe" ] || die "no such program: $exe"
  [ "$mode" != test ] || outdir=$(realpath -m "${2:-$(dirname "$exe")/e2e}")
  [ "$mode" != live ] || outdir=$(realpath -m "$root/out/wine-live")
  machine=$(pe_machine "$exe")
  if [ "$machine" = 014c ]; then
    arch=i386
    if ! why=$("$here/runs_i386.sh" --wine); then
      echo "e2e: skipped the i386 $exe: $why; run the x86-64 build of the same sources instead"
      echo "e2e: PASS nothing to run: the i386 program cannot run here"
      exit 0
    fi
  else
    arch=x86-64
    [ "$machine" = 8664 ] \
      || die "$exe is not a Windows program for i386 or x86-64 (machine $machine)"
  fi
  need_tools x86_64-w64-mingw32-g++ import convert identify python3 cmake
  # The preload library (the 32-bit one too for i386) and the native side of the comparison.
  if [ "$arch" = i386 ]; then
    build_sim_tools pikon_simport pikon_sidebyside pikon_simport32
  else
    build_sim_tools pikon_simport pikon_sidebyside
  fi
  mkdir -p "$outdir"
  [ "$mode" != live ] || sandbox_display=live
  export sandbox_display
  sandbox_reexec "$0" "$mode" "$exe" "$outdir" "$arch"
fi

mode=$3 exe=$4 outdir=$5 arch=$6
sandbox_display=${sandbox_display:-}
# Both libraries: the dynamic loader of each process takes the one built for it and passes over
# the other with a warning, and Wine runs 32-bit and 64-bit processes side by side.
preload=$root/build/native/tools/winesim/libpikon_simport.so
[ "$arch" != i386 ] || preload+=:$root/build/native/tools/winesim/libpikon_simport32.so
remote=$root/build/winesim/remote.exe
sidebyside=$root/build/native/tools/winesim/pikon_sidebyside
app_pid='' pty_pid='' remote_pid=''
stop_programs() {
  local pid
  for pid in "$app_pid" "$remote_pid" "$pty_pid"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  done
}
sandbox_enter "$2"
# The i386 program needs Wine's 32-bit loader; the prefix, its wineserver and remote.exe stay
# 64-bit, as on 64-bit Windows.
app_wine=$wine
[ "$arch" != i386 ] || app_wine=$(command -v wine || echo /usr/lib/wine/wine)
start_time=$(date +%s)

# The eight inputs: distinct constant codes for the test, changing signals for the demo.
codes=(3900 3400 2900 2400 1900 1400 900 400)
if [ "$mode" = test ]; then
  signals=$(IFS=,; echo "${codes[*]}")
else
  # As tools/demo.sh has them: sawtooth, sine, square, 1.234 V, noise, slow sine, fast
  # sawtooth, 0.500 V.
  signals=ramp:0:4095:120,sine:300:3700:80,square:800:2200:60,1234
  signals+=,noise:2600:3000,sine:1500:2500:200,ramp:3000:4000:50,500
fi
# Seconds between steps worth watching, and sweeps at zoom 1/10 (a test needs few, a demo shows
# more of the traces).
pace=1 sweeps10=150
[ "$mode" = test ] || sweeps10=600
[ "$mode" != live ] || pace=3

sandbox_module_prefix
sandbox_remote "$remote"

ports=$(ask ports)
for n in 1 3 4; do
  grep -q "^COM$n fails" <<<"$ports" || die "COM$n can be opened: $ports"
done
grep -q '^COM2 opens' <<<"$ports" || die "COM2 (the pty) cannot be opened: $ports"
echo "e2e: COM1, COM3 and COM4 are absent; COM2 is the pty $sandbox_sim_tty"
check_com_ports

# --- PIKON.exe with the simulated module. ---------------------------------------------------------
(cd "$(dirname "$exe")" && PIKON_SIM_TTY=$sandbox_sim_tty PIKON_SIM_LOG=$tmp/module.log \
  PIKON_SIM_SIGNALS=$signals LD_PRELOAD=$preload WINEDEBUG=-all,trace+msgbox \
  exec timeout 240 "$app_wine" "$exe") >"$tmp/app.out" 2>"$tmp/app.err" &
app_pid=$!

[ "$(ask wait-main 60)" = ok ] || die "no main window: $(grep -v trace "$tmp/app.err" | tail -3)"
checked=$(ask checked)
[ "$checked" = "COM 2" ] || die "the port panel marks [$checked], want [COM 2]"
echo "e2e: PIKON started and marks COM 2"

# shoot NAME WINDOW [client]: a screenshot of a window (or its client area) from the screen.
shoot() {
  local geometry
  read -r _ x y w h <<<"$(ask "${3:-window}" "$2")"
  geometry=${w}x${h}+${x}+${y}
  import -window root -crop "$geometry" +repage "$outdir/$1.png" 2>/dev/null \
    || die "cannot take the screenshot $1"
  echo "e2e: screenshot $outdir/$1.png"
}
count() { ask text 141; }
wait_count() {  # N: until the sweep count reaches N
  local c
  for _ in $(seq 600); do
    c=$(count)
    [ -n "$c" ] && [ "$c" -ge "$1" ] 2>/dev/null && return 0
    sleep 0.1
  done
  die "the sweep count did not reach $1 (it shows [$c])"
}

ask click 1001 >/dev/null
for _ in $(seq 50); do [ "$(ask plot-visible)" = 1 ] && break; sleep 0.1; done
[ "$(ask plot-visible)" = 1 ] || die "\"Toggle Plotter\" did not show the plot window"
echo "e2e: \"Toggle Plotter\" shows the plot window"
# A known client size, away from the main window and the message box.
read -r cx cy <<<"$(ask place-plot 320 0 600 400)"
[ "$cx $cy" = "600 400" ] || die "the plot window's client area is $cx x $cy, want 600 x 400"
sleep 0.5

ask click 1000 >/dev/null
wait_count 3
t0=$(date +%s.%N) n0=$(count)
sleep $pace
t1=$(date +%s.%N) n1=$(count)
rate=$(python3 -c "print(f'{($n1 - $n0) / ($t1 - $t0):.1f}')")
[ "$n1" -gt "$n0" ] || die "the sweep count does not grow ($n0, then $n1)"
echo "e2e: \"Messen\" runs: the sweep count grows, $rate sweeps/s under Wine"
if [ "$mode" = test ]; then
  for ch in 1 2 3 4 5 6 7 8; do
    want=$(python3 -c "print(f'{${codes[ch-1]} / 1000:.3f}')")
    got=$(ask text $((130 + ch)))
    [ "$got" = "$want" ] || die "channel $ch shows [$got], want [$want]"
  done
  shown=$(for ch in 1 2 3 4 5 6 7 8; do ask text $((130 + ch)); done | tr '\n' ' ')
  echo "e2e: the eight fields show the module's codes in volts: $shown"
fi
shoot main-running main

# plot_shot NAME SWEEPLENGTH: the plot window's client area, its dots checked (test mode).
plot_shot() {
  local result=''
  for _ in 1 2 3 4 5; do
    shoot "$1" plot client >/dev/null
    [ "$mode" = test ] || break
    result=$(python3 "$here/dots.py" "$outdir/$1.png" "$2" "${codes[@]}") && break
    sleep 0.3
  done
  echo "e2e: screenshot $outdir/$1.png"
  if [ "$mode" = test ]; then
    case $result in dots:\ *every*) echo "e2e: $1: $result" ;; *) die "$1: $result" ;; esac
  fi
}
plot_shot plot-x1 100

ask plot-menu 40012 >/dev/null
n=$(count)
wait_count $((n + sweeps10))
plot_shot plot-x10 1000
ask plot-menu 40009 >/dev/null
n=$(count)
wait_count $((n + 20))
plot_shot plot-back-x1 100
echo "e2e: the zoom switches to 1/10 and back"

ask click 1002 >/dev/null
box=''
for _ in $(seq 100); do box=$(ask box); [ -n "$box" ] && break; sleep 0.1; done
[ "$box" = $'ZEQ INFO\nMessung angehalten' ] || die "the stop box shows [$box]"
sleep 0.5
shoot stop-box box
sleep $((pace - 1))
ask answer >/dev/null
for _ in $(seq 50); do [ -z "$(ask box)" ] && [ "$(count)" = 0 ] && break; sleep 0.1; done
[ "$(count)" = 0 ] || die "after the stop the count shows [$(count)], want [0]"
echo "e2e: \"Stop/Reset\" shows \"Messung angehalten\"; after it the count shows 0"
sleep 0.5
shoot plot-stopped plot client
shoot main-stopped main
ask rects >"$outdir/wine-rects.txt"

sleep $((pace - 1))
ask menu 40001 >/dev/null
rc=0
wait "$app_pid" || rc=$?
app_pid=
[ "$rc" -eq 0 ] || die "\"&Beenden\" ended PIKON.exe with exit code $rc"
echo "e2e: \"&Beenden\" ends PIKON.exe with exit code 0"
echo quit >&7
exec 7>&- 8<&-
wait "$remote_pid" 2>/dev/null || true
remote_pid=

# --- What the program showed in message boxes, and what the module saw. -----------------------
boxes=$(grep -c 'trace:msgbox:MSGBOX_OnInit' "$tmp/app.err" || true)
[ "$boxes" -eq 1 ] || die "$boxes message boxes were shown, want the stop box alone"
cp "$tmp/module.log" "$outdir/module.log"
if [ "$mode" = test ]; then
  python3 "$here/module_log.py" "$outdir/module.log" "${codes[@]}" >"$tmp/log-check" \
    || die "module log: $(tail -1 "$tmp/log-check")"
  echo "e2e: $(tail -1 "$tmp/log-check")"
  "$sidebyside" "$outdir/plot-stopped.png" "$outdir/wine-rects.txt" "$outdir" "${codes[@]}" \
    >"$tmp/sidebyside" || die "side by side: $(tail -1 "$tmp/sidebyside")"
  sed 's/^/e2e: /' "$tmp/sidebyside"
fi
check_com_ports
elapsed=$(( $(date +%s) - start_time ))
if [ "$mode" = test ]; then
  echo "e2e: PASS PIKON.exe ($arch) on Wine with the simulated module:" \
       "$rate sweeps/s, ${elapsed} s; screenshots in $outdir"
else
  echo "e2e: the session ended after ${elapsed} s; screenshots and the module's log are in $outdir"
fi
