#!/usr/bin/env bash
# A picture of PIKON's About box as Wine shows it: show_about.exe (the x86-64 build, see smoke.sh)
# in the sandbox of sandbox.sh, the screen's area of the box saved as a PNG.
#
#   tests/wine/about.sh show_about.exe about.png
set -euo pipefail

sandbox_name=about
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sandbox.sh"

if [ "${1:-}" != --inside ]; then
  [ $# -eq 2 ] || die "usage: $0 show_about.exe about.png"
  exe=$(realpath "$1")
  shot=$(realpath -m "$2")
  [ -f "$exe" ] || die "no such program: $exe"
  mkdir -p "$(dirname "$shot")"
  need_tools import convert
  sandbox_reexec "$0" "$exe" "$shot"
fi

exe=$3
shot=$4
app_pid=''
stop_programs() { if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi; }
sandbox_enter "$2"
sandbox_boot_prefix
WINEDEBUG=-all timeout 60 "$wine" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Decorated \
  /d N /f >/dev/null 2>&1 || die "cannot configure the prefix"
sandbox_prefix_ready

(cd "$(dirname "$exe")" && WINEDEBUG=-all exec timeout 120 "$wine" "$exe") >"$tmp/app.out" 2>&1 &
app_pid=$!
geometry=
for _ in $(seq 300); do
  geometry=$(sed -n 's/^about \([0-9-]*\) \([0-9-]*\) \([0-9]*\) \([0-9]*\)\r*$/\3x\4+\1+\2/p' \
             "$tmp/app.out")
  [ -n "$geometry" ] && break
  kill -0 "$app_pid" 2>/dev/null || die "show_about.exe ended: $(cat "$tmp/app.out")"
  sleep 0.1
done
[ -n "$geometry" ] || die "the About box did not appear"
# Once painted, the box shows more than its face colour.
painted=
for _ in $(seq 50); do
  sleep 0.2
  timeout 10 import -window root -crop "$geometry" +repage "$shot" 2>/dev/null || continue
  [ "$(timeout 10 convert "$shot" -format '%k' info:)" -gt 8 ] && { painted=1; break; }
done
[ -n "$painted" ] || die "the box was never painted"
sleep 0.5
timeout 10 import -window root -crop "$geometry" +repage "$shot"
check_com_ports
echo "about: the About box at $geometry: $shot"
