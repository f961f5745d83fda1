#!/usr/bin/env bash
# The demo: PIKON on Linux with a simulated module and a scripted session; writes screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$(nproc)" --target pikon_demo
mkdir -p out/demo
build/native/tools/demo/pikon_demo out/demo
