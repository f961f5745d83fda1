#!/usr/bin/env bash
# Exits 0 where this machine's kernel runs 32-bit (i386) Linux programs, which 32-bit Wine is;
# some x86-64 kernels are built without that, or have it switched off.
#
#   tests/wine/runs_i386.sh
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
[ "$rc" -eq 42 ]
