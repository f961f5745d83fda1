#!/usr/bin/env bash
# Windows smoke test: PIKON.exe on Wine under Xvfb, with no module anywhere.
#
#   tests/wine/smoke.sh PIKON.exe [screenshot-dir]
#
# The program must find no module, show the "ZEQ-Info" box with the not-found text and nothing
# else, and end with exit code 0 once the box is answered. The box is saved as a PNG.
#
# Which PIKON.exe: the product is the i386 build; it runs where the kernel runs 32-bit programs
# and 32-bit Wine (wine32:i386) is installed; elsewhere this test says why and skips it.
# The x86-64 twin of the same sources (cmake/mingw-w64-x86_64.cmake) runs on any x86-64 Wine.
#
# Safety: /dev/ttyS0 on these machines is the machine's own console, and Wine maps COM1, COM2, ...
# to /dev/ttyS0, /dev/ttyS1, ... Wine runs only in the sandbox of sandbox.sh: a private mount
# namespace in which every serial device node is covered by /dev/null, a throw-away prefix, HOME
# and X server.
set -euo pipefail

sandbox_name=smoke
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sandbox.sh"

if [ "${1:-}" != --inside ]; then
  [ $# -ge 1 ] || die "usage: $0 PIKON.exe [screenshot-dir]"
  exe=$(realpath "$1")
  outdir=$(realpath -m "${2:-$(dirname "$exe")/smoke}")
  [ -f "$exe" ] || die "no such program: $exe"
  mkdir -p "$outdir" || die "cannot create $outdir"
  machine=$(pe_machine "$exe")
  case $machine in
    8664) ;;
    014c)
      if ! why=$("$(dirname "${BASH_SOURCE[0]}")/runs_i386.sh" --wine); then
        echo "smoke: skipped the i386 $exe: $why; run the x86-64 build of the same sources instead"
        exit 0
      fi ;;
    *) die "$exe is not a Windows program for i386 or x86-64 (machine $machine)" ;;
  esac
  need_tools xdotool xev import convert python3
  sandbox_reexec "$0" "$exe" "$outdir"
fi

exe=$3
outdir=$4
xev_pid='' app_pid=''
stop_programs() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xev_pid" ]; then kill "$xev_pid" 2>/dev/null || true; fi
}
sandbox_enter "$2"
# An i386 program needs Wine's 32-bit loader; the prefix stays 64-bit, as on 64-bit Windows.
app_wine=$wine
if [ "$(pe_machine "$exe")" = 014c ]; then
  app_wine=$(command -v wine || echo /usr/lib/wine/wine)
fi

sandbox_boot_prefix
# Without a window manager nobody would draw the caption; let Wine draw it, so the screenshot
# shows the box's title too.
WINEDEBUG=-all timeout 60 "$wine" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Decorated \
  /d N /f >/dev/null 2>&1 || die "cannot configure the prefix"
sandbox_prefix_ready

# --- Run PIKON.exe. -----------------------------------------------------------------------------
# Every top-level window that appears is a child of the root window; log each one mapped.
xev -root -event substructure >"$tmp/xev.log" 2>&1 &
xev_pid=$!
sleep 0.5
# trace+msgbox prints the text of each message box Wine shows; nothing else is traced.
(cd "$(dirname "$exe")" && WINEDEBUG=-all,trace+msgbox exec timeout 120 "$app_wine" "$exe") \
  >"$tmp/app.out" 2>"$tmp/app.err" &
app_pid=$!

box=
for _ in $(seq 600); do
  box=$(timeout 10 xdotool search --onlyvisible --name '^ZEQ-Info$' 2>/dev/null | head -1 || true)
  [ -n "$box" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$box" ] || die "no \"ZEQ-Info\" box appeared; program output: $(cat "$tmp/app.err")"
echo "smoke: \"ZEQ-Info\" box is window $box"

# Focus the box (its caption turns active), then take the screenshot once it has been painted:
# a freshly mapped window is still a single colour.
timeout 10 xdotool windowfocus --sync "$box" || die "cannot focus the box"
shot=$outdir/zeq-info.png
painted=
for _ in $(seq 50); do
  sleep 0.2
  timeout 10 import -window "$box" "$shot" 2>/dev/null || continue
  [ "$(timeout 10 convert "$shot" -format '%k' info:)" -gt 2 ] && { painted=1; break; }
done
[ -n "$painted" ] || die "the box was never painted"

# Answer it with Enter: OK is the box's default button.
timeout 10 xdotool key --clearmodifiers Return || die "cannot press Enter"
rc=0
wait "$app_pid" || rc=$?
app_pid=

# Wine prints the text as a C literal: \n for a line break, \00df for a character above 0x7f.
texts=$(sed -n 's/^.*trace:msgbox:[A-Za-z_]* //p' "$tmp/app.err" | python3 -c '
import re, sys
for line in sys.stdin:
    body = line.strip()[2:-1]  # L"..."
    print(re.sub(r"\\([0-9a-f]{4}|.)", lambda m: chr(int(m[1], 16)) if len(m[1]) == 4
                 else {"n": "\n", "r": "\r", "t": "\t"}.get(m[1], m[1]), body), end="\x1e")')
expected=$'KMX12 nicht gefunden!\nBitte Modul anschließen\nund Anwendung erneut starten.\x1e'
[ "$texts" = "$expected" ] || die "message box text(s): got [$texts], want [$expected]"
echo "smoke: one message box, and its text is right"
[ "$rc" -eq 0 ] || die "PIKON.exe ended with exit code $rc"
echo "smoke: PIKON.exe ended with exit code 0"

# Every window mapped on the root during the run, from the MapNotify events xev logged.
sleep 0.5
kill "$xev_pid" 2>/dev/null; wait "$xev_pid" 2>/dev/null || true; xev_pid=
mapped=$(grep -A1 '^MapNotify event' "$tmp/xev.log" \
         | sed -n 's/^.* window \(0x[0-9a-f]*\), override.*$/\1/p' | sort -u)
seen_box='' others=''
for w in $mapped; do
  if [ $((w)) -eq "$box" ]; then seen_box=1; else others="$others $w"; fi
done
[ -n "$seen_box" ] || die "the window monitor did not see the box; cannot tell what else was shown"
[ -z "$others" ] || die "other windows were shown:$others"
echo "smoke: nothing but the box was shown"
check_com_ports
echo "smoke: PASS; screenshot of the box: $shot"
