#!/usr/bin/env bash
# For developers: the help as one HTML page, rendered by a browser (headless Chromium), to look
# at. Writes out/help/PIKON.html and out/help/help.png (its first 2400 pixel rows).
# Installs chromium if missing: not part of the demo's or the tests' set-up.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh demo
if ! command -v chromium >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends chromium
fi
cmake -S tools/hlpc -B build/hlpc -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/hlpc -j "$(nproc)" --target hlpc
mkdir -p out/help
build/hlpc/hlpc resources/pikon_help.txt out/help/PIKON.HLP out/help/PIKON.html
# As root Chromium runs only without its sandbox; it reads nothing here but the one page.
timeout 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=900,2400 \
  --screenshot=out/help/help.png "file://$PWD/out/help/PIKON.html" >/dev/null 2>&1 \
  || { echo "help-shot: chromium failed" >&2; exit 1; }
echo "help-shot: out/help/help.png"
