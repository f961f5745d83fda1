#!/usr/bin/env bash
# The demo: PIKON on Linux with a simulated module and a scripted session; writes screenshots.
# Installs and builds only what the demo needs (no test suites, no Windows tools but windres).
# tools/demo.sh --wine or --live: the same session with PIKON.exe on Wine (tools/wine-demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in --wine|--live) exec tools/wine-demo.sh "$1" ;; esac
tools/setup.sh demo
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Debug -DPIKON_TESTS=OFF >/dev/null
cmake --build build/demo -j "$(nproc)" --target pikon_demo
mkdir -p out/demo
build/demo/tools/demo/pikon_demo out/demo
