#!/usr/bin/env bash
# Exits 0 where this machine's kernel runs 32-bit (i386) Linux programs, which 32-bit Wine is;
# some x86-64 kernels are built without that, or have it switched off.
#
#   tests/wine/runs_i386.sh [--wine]
#
# With --wine it also wants 32-bit Wine (wine32:i386) installed, and prints why not where not.
#
# The probe is the smallest i386 Linux program there is: exit(42) through int 0x80. Any other
# outcome (cannot execute, killed, another code) means no.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/pikon-i386-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
{
  printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08'
  printf '\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0'
  printf '\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5e\0\0\0\x5e\0\0\0\x05\0\0\0'
  printf '\0\x10\0\0\xb8\x01\0\0\0\xb3\x2a\xcd\x80'
} >"$probe"
chmod +x "$probe"
rc=0
"$probe" 2>/dev/null || rc=$?
if [ "$rc" -ne 42 ]; then
  [ "${1:-}" != --wine ] || echo "this machine's kernel does not run 32-bit programs"
  exit 1
fi
[ "${1:-}" = --wine ] || exit 0
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed' && exit 0
echo "the kernel runs 32-bit programs, but wine32:i386 is not installed (tools/setup.sh all)"
exit 1
