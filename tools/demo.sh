#!/usr/bin/env bash
# The demo: PIKON on Linux with a simulated module and a scripted session; writes screenshots.
# Installs and builds only what the demo needs (no test suites, no Windows tools but windres).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh demo
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Debug -DPIKON_TESTS=OFF >/dev/null
cmake --build build/demo -j "$(nproc)" --target pikon_demo
mkdir -p out/demo
build/demo/tools/demo/pikon_demo out/demo
