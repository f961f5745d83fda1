#!/usr/bin/env bash
# The demo with the Windows program: PIKON.exe on Wine with the simulated module on COM2, the
# same scripted session as tools/demo.sh, driven from outside the program.
#
#   tools/wine-demo.sh --wine   on a virtual display; screenshots in out/wine-demo/
#   tools/wine-demo.sh --live   on your own display (DISPLAY), at a pace you can follow
#
# Either way Wine runs in the sandbox of the Wine tests: a private mount namespace in which every
# serial device node is covered by /dev/null and the only COM port is a pseudo-terminal with the
# simulated module behind it, so no real serial device can be reached.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  --wine) how=(--demo out/wine-demo) ;;
  --live) how=(--live) ;;
  *) echo "usage: $0 --wine | --live" >&2; exit 2 ;;
esac
tools/setup.sh
[ -f build/win64/CMakeCache.txt ] || cmake -S . -B build/win64 \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64 -j "$(nproc)" --target PIKON
exec tests/wine/e2e.sh "${how[@]}" build/win64/PIKON.exe
