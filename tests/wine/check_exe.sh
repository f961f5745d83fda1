#!/usr/bin/env bash
# PIKON.exe as shipped: a Windows GUI program of the given architecture that runs alone, i.e.
# imports only DLLs that every Windows has and no compiler runtime (libgcc_s_*.dll,
# libstdc++-6.dll, libwinpthread-1.dll) left out of the static link.
#
#   tests/wine/check_exe.sh PIKON.exe pei-i386|pei-x86-64
set -euo pipefail
exe=$1 format=$2
fail() { echo "exe: FAIL: $exe $*" >&2; exit 1; }
# The 64-bit MinGW-w64 objdump reads both 32- and 64-bit executables.
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q "file format $format\$" <<<"$headers" || fail "is not $format"
grep -qE '^Subsystem\s+00000002' <<<"$headers" || fail "is not a GUI program"
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort -u)
[ -n "$dlls" ] || fail "imports nothing?"
bad=$(grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|msvcrt\.dll|advapi32\.dll' <<<"$dlls" || true)
[ -z "$bad" ] || fail "needs$(printf ' %s' $bad)"
echo "exe: OK, $exe is a $format GUI program needing only$(printf ' %s' $dlls)"
