#!/usr/bin/env bash
# The Windows package: cross-builds PIKON.exe (32-bit) and its help and packs them, with
# LIESMICH.TXT and tools/wine-port.sh, into build/win32/PIKON-<version>-win32.zip. Prints the
# zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh package
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j "$(nproc)" --target package
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
echo "package: build/win32/PIKON-$version-win32.zip"
