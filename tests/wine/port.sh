#!/usr/bin/env bash
# tools/wine-port.sh in the Wine sandbox, with a pty standing in for the user's serial adapter.
#
#   tests/wine/port.sh [work-dir]
#
# 1. Bad arguments are refused with their own messages, before anything is changed: no device,
#    a port other than COM1 to COM4, a missing device, a file that is no device, a device the
#    user may not use (run as nobody, where the sandbox lets us), no Wine, and no prefix yet
#    (which the tool must not create).
# 2. Mapped to COM1, the pty stays COM1 through three restarts of Wine: each time a small Win32
#    program (portprobe.c) opens COM1 to COM4 and writes to each port that opens; only what it
#    wrote to COM1 arrives at the pty, and COM2 to COM4 lead to no device.
# 3. Mapped again, to com3 and by a relative path, only COM3 reaches the pty. The undo
#    commands the tool prints give the ports back to Wine's own choice.
#
# Safety: the tool is run only here, in the sandbox of sandbox.sh (a private mount namespace in
# which every serial device node is covered by /dev/null, a throw-away prefix and HOME), and
# only ever given the pty.
set -euo pipefail

sandbox_name=port
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sandbox.sh"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" != --inside ]; then
  outdir=$(realpath -m "${1:-build/wine-port}")
  mkdir -p "$outdir" || die "cannot create $outdir"
  need_tools x86_64-w64-mingw32-gcc python3 setpriv
  x86_64-w64-mingw32-gcc -std=c11 -Wall -Wextra -Werror -O2 -o "$outdir/portprobe.exe" \
    "$here/portprobe.c" || die "cannot build portprobe.exe"
  sandbox_reexec "$0" "$outdir"
fi

outdir=$3
tool=$(realpath "$here/../../tools/wine-port.sh")
pty_pid=''
stop_programs() { if [ -n "$pty_pid" ]; then kill "$pty_pid" 2>/dev/null || true; fi; }
sandbox_enter "$2"

# --- The pty: its device is the "adapter", its far end logs what reaches it. -------------------
python3 "$here/pty.py" "$tmp/pty.name" "$tmp/pty.log" &
pty_pid=$!
for _ in $(seq 50); do [ -s "$tmp/pty.name" ] && break; sleep 0.1; done
[ -s "$tmp/pty.name" ] || die "the pty helper did not start"
pty=$(cat "$tmp/pty.name")
[ -c "$pty" ] || die "$pty is not a character device"
echo "port: the adapter is the pty $pty"

tool_as_user() { WINE=$wine WINESERVER=$wineserver "$tool" "$@"; }

# refused MESSAGE COMMAND...: the command must fail and say MESSAGE.
refused() {
  local want=$1 out rc=0
  shift
  out=$("$@" 2>&1) || rc=$?
  [ "$rc" -ne 0 ] || die "accepted: $*"
  grep -qF -- "$want" <<<"$out" || die "$*: said [$out], want [$want]"
  echo "port: refused, as it should: $(head -1 <<<"$out")"
}

# --- 1. Bad arguments. ------------------------------------------------------------------------
touch "$tmp/not-a-device"
refused "usage:" tool_as_user
refused "must be COM1, COM2, COM3 or COM4" tool_as_user "$pty" COM5
refused "does not exist" tool_as_user /dev/ttyUSB-not-there
refused "is not a character device" tool_as_user "$tmp/not-a-device"
refused "Wine is missing" env WINE="$tmp/no-wine" WINESERVER="$wineserver" "$tool" "$pty"
refused "Create it first" tool_as_user "$pty"
[ ! -e "$WINEPREFIX" ] || die "the tool made a prefix where there was none"
if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
  as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups
             env WINE="$wine" WINESERVER="$wineserver" bash "$tool" "$pty")
  chmod 600 "$pty"
  refused "belong to the group dialout" "${as_nobody[@]}"
  chgrp dialout "$pty" && chmod 660 "$pty"
  refused "sudo adduser nobody dialout" "${as_nobody[@]}"
  chmod 600 "$pty"
else
  echo "port: no other user to be in this sandbox (not root); the permission check is not run"
fi

sandbox_boot_prefix
sandbox_prefix_ready
links() {  # where the prefix's COM ports lead, as one line
  (cd "$WINEPREFIX/dosdevices" && for l in com*; do printf '%s->%s ' "$l" "$(readlink "$l")"; done)
}
fresh=$(links)
echo "port: a fresh prefix's COM ports: $fresh"

# --- Where the ports lead, and what reaches the pty. ---------------------------------------------
# mapped N: dosdevices/comN leads to the pty, and no other port of COM1 to COM4 to a device;
# the ports above COM4 lead at most to the covered serial devices (/dev/null).
mapped() {
  local link n target
  for link in "$WINEPREFIX"/dosdevices/com*; do
    n=${link##*/com}
    target=$(readlink -f "$link" 2>/dev/null || true)
    if [ "$n" = "$1" ]; then
      [ "$target" = "$pty" ] || die "com$n leads to ${target:-nothing}, not to the pty"
    elif [ -n "$target" ] && [ -c "$target" ] && { [ "$n" -le 4 ] || ! is_null "$target"; }; then
      die "com$n leads to the device $target"
    fi
  done
}

# probe TAG N: portprobe.exe writes "<TAG COMk>" to every port k that opens; only COMN's text
# may reach the pty, and only COMN may take it.
probe() {
  local tag=$1 n=$2 k line
  (cd "$tmp" && WINEDEBUG=-all timeout 120 "$wine" "$outdir/portprobe.exe" "$tag") \
    >"$tmp/$tag.out" 2>"$tmp/$tag.err" || die "$tag: portprobe failed: $(tail -3 "$tmp/$tag.err")"
  timeout 60 "$wineserver" -w || true
  for k in 1 2 3 4; do
    line=$(grep "^COM$k " "$tmp/$tag.out" | tr -d '\r') || die "$tag: nothing said of COM$k"
    if [ "$k" = "$n" ]; then
      # it writes "<TAG COMk>", 7 characters more than the tag
      [ "$line" = "COM$k open=ok state=ok write=$(( ${#tag} + 7 ))" ] || die "$tag: COM$k: $line"
      grep -qF "<$tag COM$k>" "$tmp/pty.log" || die "$tag: what went to COM$k did not reach the pty"
    else
      grep -qE "^COM$k open=([0-9]+|ok state=ERROR write=ERROR)$" <<<"$line" \
        || die "$tag: COM$k reached something: $line"
      ! grep -qF "<$tag COM$k>" "$tmp/pty.log" || die "$tag: what went to COM$k reached the pty"
    fi
  done
  echo "port: $tag: $(tr -d '\r' <"$tmp/$tag.out" | paste -sd';' | sed 's/;/; /g')"
}

# --- 2. COM1, through three restarts. ------------------------------------------------------------
tool_as_user "$pty" >"$tmp/tool.out" 2>&1 || die "the tool failed: $(cat "$tmp/tool.out")"
sed 's/^/  | /' "$tmp/tool.out"
grep -q "reg delete" "$tmp/tool.out" || die "the tool did not say how to undo it"
mapped 1
echo "port: mapped: $(links)"
for round in 1 2 3; do
  timeout 60 "$wineserver" -k 2>/dev/null || true
  timeout 60 "$wineserver" -w || true
  probe "restart$round" 1
  mapped 1
done
echo "port: COM1 stayed on the pty through three restarts of Wine"

# --- 3. COM3, then undone. ----------------------------------------------------------------------
# Given as a user might type it: a path relative to the current folder, the port in lower case.
(cd /dev && tool_as_user "${pty#/dev/}" com3) >"$tmp/tool3.out" 2>&1 \
  || die "the tool failed for COM3: $(cat "$tmp/tool3.out")"
mapped 3
probe moved 3
echo "port: mapped again to COM3, only COM3 reaches the pty"

# The undo lines the tool printed, run as a user would (wine and wineserver from PATH).
sed -n '/^To undo/,$p' "$tmp/tool3.out" | grep '^  ' >"$tmp/undo.sh"
WINEDEBUG=-all bash "$tmp/undo.sh" >"$tmp/undo.out" 2>&1 \
  || die "the undo commands failed: $(cat "$tmp/undo.out")"
WINEDEBUG=-all timeout 60 "$wine" cmd.exe /c exit >/dev/null 2>&1 || true
timeout 60 "$wineserver" -w || true
[ "$(links)" = "$fresh" ] || die "after undo the COM ports are [$(links)], fresh they were [$fresh]"
check_com_ports
echo "port: undone: the COM ports lead where Wine put them in the fresh prefix"
echo "port: PASS"
