#!/usr/bin/env bash
# The conformance cases on both sides: natively over our Win32 layer, and as conformance.exe on
# Wine in the sandbox (tests/wine/conformance.sh). Ends with one line:
#   conformance: N cases; subset P passed; wine Q passed, K known deviations; F failed
# and exits non-zero if F is not 0.
#
#   tools/conformance.sh [case-or-group]
set -euo pipefail
cd "$(dirname "$0")/.."
only=${1:-}
jobs=$(nproc)
out=build/conformance
mkdir -p "$out"

build() {  # dir, cmake arguments for a new build dir...
  local dir=$1; shift
  if [ -f "$dir/CMakeCache.txt" ]; then set --; fi
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" --target conformance >/dev/null
}

# The program's report ends with "conformance on <platform>: N cases, P passed, K known
# deviations, F failed"; a run that never got there has failed as a whole.
summary() {  # report file -> "N P K F"
  sed -n 's/^conformance on [a-z]*: \([0-9]*\) cases, \([0-9]*\) passed, \([0-9]*\) known deviations, \([0-9]*\) failed.*$/\1 \2 \3 \4/p' "$1" | tail -1
}
show_failures() {  # platform, report file
  grep -a -B20 -e ': FAIL' "$2" | grep -a -e '^  ' -e ': FAIL' | sed "s/^/$1: /" || true
}

echo "== conformance cases on the subset"
build build/native -DCMAKE_BUILD_TYPE=Debug
build/native/tests/conformance/conformance ${only:+"$only"} >"$out/subset.txt" 2>&1 || true
read -r n_sub p_sub k_sub f_sub <<<"$(summary "$out/subset.txt")" || true
show_failures subset "$out/subset.txt"

on_wine() {  # label, build dir, toolchain file: conformance.exe on Wine, reported in $out/label.txt
  local label=$1 dir=$2
  build "$dir" -DCMAKE_TOOLCHAIN_FILE="$3" -DCMAKE_BUILD_TYPE=Release
  tests/wine/conformance.sh "$dir/tests/conformance/conformance.exe" "$only" \
    >"$out/$label.txt" 2>&1 || true
  show_failures "$label" "$out/$label.txt"
  grep -a ': known Wine deviation: ' "$out/$label.txt" | sed "s/^/$label: /" || true
}

echo "== conformance cases on Wine (x86-64)"
on_wine wine build/win64 cmake/mingw-w64-x86_64.cmake
read -r n_wine p_wine k_wine f_wine <<<"$(summary "$out/wine.txt")" || true

# The 32-bit build, where the kernel runs 32-bit programs and Wine's 32-bit part is installed.
if ! why=$(tests/wine/runs_i386.sh --wine); then
  echo "i386: skipped: $why"
else
  echo "== conformance cases on Wine (i386)"
  on_wine wine32 build/win32 cmake/mingw-w64-i686.cmake
  read -r n32 p32 k32 f32 <<<"$(summary "$out/wine32.txt")" || true
  echo "i386: ${n32:-0} cases, ${p32:-0} passed, ${k32:-0} known deviations, ${f32:-?} failed"
  if [ "${n32:-x}" != "${n_sub:-}" ] || [ "${f32:-1}" -ne 0 ]; then f32_bad=1; fi
fi

failed=0
[ -n "${n_sub:-}" ] || { echo "subset: the run did not finish (see $out/subset.txt)"; failed=$((failed + 1)); n_sub=0; p_sub=0; f_sub=0; }
[ -n "${n_wine:-}" ] || { echo "wine: the run did not finish (see $out/wine.txt)"; failed=$((failed + 1)); n_wine=0; p_wine=0; k_wine=0; f_wine=0; }
[ "$n_sub" = "$n_wine" ] || { echo "the two sides ran $n_sub and $n_wine cases"; failed=$((failed + 1)); }
failed=$((failed + f_sub + f_wine + ${f32_bad:-0}))
echo "conformance: $n_sub cases; subset $p_sub passed; wine $p_wine passed, $k_wine known deviations; $failed failed"
[ "$failed" -eq 0 ]
