#!/usr/bin/env bash
# Every test of PIKON: native suites and the subset's structure, the same suites under ASan +
# UBSan, the Windows builds and package, the conformance cases, and the Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh all

jobs=$(nproc)
run_suites() {  # build dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== native tests, the Win32 subset's layers among them (by include and by link)"
run_suites build/native
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_suites build/asan -DPIKON_SANITIZE=ON

echo "== Windows build"
# PIKON.exe, the product: 32-bit. The Wine tests run it where the kernel runs 32-bit programs
# and wine32 is installed (tools/setup.sh all sees to that where it can), and otherwise say why
# they skip it; its x86-64 twin from the same sources runs everywhere.
for build in win32:i686 win64:x86_64; do
  cmake -S . -B "build/${build%%:*}" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-${build#*:}.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "build/${build%%:*}" -j "$jobs"
done
echo "PIKON.exe: build/win32/PIKON.exe"
tests/wine/check_exe.sh build/win32/PIKON.exe pei-i386 build/win32/CMakeFiles/PIKON.dir
tests/wine/check_exe.sh build/win64/PIKON.exe pei-x86-64 build/win64/CMakeFiles/PIKON.dir
tests/wine/check_resources.py build/win32/PIKON.exe
tests/wine/check_resources.py build/win64/PIKON.exe
echo "== Windows package"
cmake --build build/win32 --target package >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
tests/package/check_package.py "build/win32/PIKON-$version-win32.zip" "$version"
tests/wine/smoke.sh build/win32/PIKON.exe build/win32/smoke
tests/wine/smoke.sh build/win64/PIKON.exe build/win64/smoke
echo "== conformance cases on the subset and on Wine"
tools/conformance.sh
echo "== PIKON.exe end to end on Wine, with the simulated module"
tests/wine/e2e.sh build/win32/PIKON.exe build/win32/e2e
tests/wine/e2e.sh build/win64/PIKON.exe build/win64/e2e
echo "== PIKON.exe on Wine behind a cached USB adapter and a CDC-ACM device"
tests/wine/adapters.sh build/win64/PIKON.exe build/win64/adapters
echo "== help file in Wine's help viewer"
tests/wine/help.sh build/win64/PIKON.HLP build/win64/help-shots
echo "== \"Kurzbeschreibung\" on Wine as Windows XP and as Windows 10"
tests/wine/help_command.sh build/win32/PIKON.exe build/win32/help-command
tests/wine/help_command.sh build/win64/PIKON.exe build/win64/help-command
echo "== COM port mapping for real hardware under Wine (tools/wine-port.sh), with a pty"
tests/wine/port.sh build/win64/wine-port
echo "all tests passed"
