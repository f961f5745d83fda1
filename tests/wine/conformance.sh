#!/usr/bin/env bash
# The conformance cases on Wine: conformance.exe in the sandbox of sandbox.sh, with Xvfb's
# 1024 x 768 screen. The x86-64 build runs on wine64; the i386 build needs wine32:i386. Prints the program's report; its exit
# code is the program's.
#
#   tests/wine/conformance.sh conformance.exe [case-or-group]
set -euo pipefail

sandbox_name=conformance
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sandbox.sh"

if [ "${1:-}" != --inside ]; then
  [ $# -ge 1 ] || die "usage: $0 conformance.exe [case-or-group]"
  exe=$(realpath "$1")
  [ -f "$exe" ] || die "no such program: $exe"
  sandbox_reexec "$0" "$exe" "${2:-}"
fi

exe=$3
only=${4:-}
sandbox_enter "$2"
# A 32-bit conformance.exe needs Wine's 32-bit loader (wine32:i386), which the wine command picks.
if [ "$(pe_machine "$exe")" = 014c ]; then
  wine=$(command -v wine || echo /usr/lib/wine/wine)
fi
sandbox_boot_prefix
# Wine draws the frames and captions itself, as Windows does, rather than a window manager.
WINEDEBUG=-all timeout 60 "$wine" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Decorated \
  /d N /f >/dev/null 2>&1 || die "cannot configure the prefix"
sandbox_prefix_ready

rc=0
(cd "$(dirname "$exe")" && WINETEST_PLATFORM=wine WINEDEBUG=-all timeout 300 "$wine" "$exe" \
  ${only:+"$only"}) 2>"$tmp/wine.err" | tr -d '\r' || rc=$?
check_com_ports
exit "$rc"
