#!/usr/bin/env bash
# PIKON.exe as shipped: a Windows GUI program of the given architecture that runs alone, i.e.
# imports only DLLs that every Windows has and no compiler runtime (libgcc_s_*.dll,
# libstdc++-6.dll, libwinpthread-1.dll) left out of the static link. Given the folder of the
# program's own object files, also that none of them uses the x87 unit: the chart's coordinates
# are computed in double precision, and x87 code computes them at extended precision, landing
# some dots one pixel off. (The statically linked runtime may use it; it draws nothing.)
#
#   tests/wine/check_exe.sh PIKON.exe pei-i386|pei-x86-64 [object-folder]
set -euo pipefail
exe=$1 format=$2 objects=${3:-}
fail() { echo "exe: FAIL: $exe $*" >&2; exit 1; }
# The 64-bit MinGW-w64 objdump reads both 32- and 64-bit executables.
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q "file format $format\$" <<<"$headers" || fail "is not $format"
grep -qE '^Subsystem\s+00000002' <<<"$headers" || fail "is not a GUI program"
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort -u)
[ -n "$dlls" ] || fail "imports nothing?"
bad=$(grep -vxE 'kernel32\.dll|user32\.dll|gdi32\.dll|shell32\.dll|msvcrt\.dll|advapi32\.dll' <<<"$dlls" || true)
[ -z "$bad" ] || fail "needs$(printf ' %s' $bad)"
if [ -n "$objects" ]; then
  mapfile -t objs < <(find "$objects" -name '*.cpp.obj' | sort)
  [ ${#objs[@]} -gt 0 ] || fail "has no object files in $objects"
  # x87 instructions are the ones whose mnemonic starts with f (fld, fstp, fmul, fnstcw...).
  x87=$(x86_64-w64-mingw32-objdump -d --no-show-raw-insn "${objs[@]}" |
        awk '/^[^ \t].*:[ \t]+file format/ { obj = $1 }
             /^[ \t]+[0-9a-f]+:[ \t]+f[a-z0-9]*([ \t]|$)/ { n[obj]++ }
             END { for (o in n) printf " %s(%d)", o, n[o] }')
  [ -z "$x87" ] || fail "has x87 instructions in the program's own code:$x87"
fi
echo "exe: OK, $exe is a $format GUI program needing only$(printf ' %s' $dlls)"
