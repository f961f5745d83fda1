#!/usr/bin/env bash
# The demo: PIKON on Linux with a simulated module and a scripted session; writes screenshots.
# tools/demo.sh --wine or --live: the same session with PIKON.exe on Wine (tools/wine-demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in --wine|--live) exec tools/wine-demo.sh "$1" ;; esac
tools/setup.sh
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$(nproc)" --target pikon_demo
mkdir -p out/demo
build/native/tools/demo/pikon_demo out/demo
