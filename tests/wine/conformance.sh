#!/usr/bin/env bash
# The conformance cases on Wine: conformance.exe (the x86-64 build, see smoke.sh for why) in the
# sandbox of sandbox.sh, with Xvfb's 1024 x 768 screen. Prints the program's report; its exit
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
