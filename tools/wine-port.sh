#!/usr/bin/env bash
# Gives PIKON.exe under Wine the module on a real serial device: maps one COM port of the Wine
# prefix to the device and the other three of COM1 to COM4 to nothing.
#
#   tools/wine-port.sh DEVICE [COMn]     e.g.  tools/wine-port.sh /dev/ttyUSB0
#                                              tools/wine-port.sh /dev/ttyUSB0 COM2
#
# COMn is COM1 to COM4, COM1 if left out. The prefix is $WINEPREFIX (~/.wine if unset); Wine's
# programs are `wine` and `wineserver`, or those named by $WINE and $WINESERVER.
#
# Why not a link in dosdevices: at every start Wine's mount manager rewrites dosdevices/com1…
# from the serial devices it detects (COM1 becomes /dev/ttyS0, often the system console). It
# honours the values under HKLM\Software\Wine\Ports instead, read when the wineserver starts:
# a device there takes its port, and an empty value leaves a port that leads nowhere and pushes
# the detected devices to COM5 and up, out of PIKON's reach (it probes COM1 to COM4 only, and
# sets a break and toggles RTS and DTR on each port it can open).
#
# The device itself is never opened here: only its kind and permissions are looked at.
set -euo pipefail

fail() { echo "wine-port: $*" >&2; exit 1; }
usage="usage: $0 DEVICE [COM1|COM2|COM3|COM4]   (e.g. $0 /dev/ttyUSB0)"

[ $# -ge 1 ] && [ $# -le 2 ] || fail "$usage"
device=$1
port=$(tr '[:lower:]' '[:upper:]' <<<"${2:-COM1}")
[[ $port =~ ^COM[1-4]$ ]] || fail "the port must be COM1, COM2, COM3 or COM4, not ${2:-}; $usage"

# --- The device: there, a character device, readable and writable by this user. -------------
[ -e "$device" ] || fail "$device does not exist. Is the adapter plugged in? Serial devices are\
 listed by: ls /dev/ttyUSB* /dev/ttyACM* /dev/serial/by-id/"
[ -c "$device" ] || fail "$device is not a character device, so it is no serial port"
# Wine needs the path whole; a link (such as /dev/serial/by-id/…) stays a link.
device=$(realpath -s -- "$device")
if [ ! -r "$device" ] || [ ! -w "$device" ]; then
  user=$(id -un)
  mode=$(stat -L -c %A "$device")
  group=$(stat -L -c %G "$device")
  if [ "${mode:4:2}" = rw ] && [ "$group" != root ]; then
    hint="Add yourself to its group $group (on Debian serial ports belong to the group dialout):
  sudo adduser $user $group
then log out and in again, and run this again."
  else
    hint="Serial ports on Debian belong to the group dialout, which may read and write them
(crw-rw---- root dialout); this one does not: ask whoever runs this machine."
  fi
  owner=$(stat -L -c %U "$device")
  fail "you ($user) may not read and write $device ($mode, owner $owner, group $group).
$hint"
fi

# --- Wine and its prefix. ---------------------------------------------------------------------
wine=${WINE:-wine}
wineserver=${WINESERVER:-wineserver}
wine_hint="Install it first (Debian 12, as root): dpkg --add-architecture i386 && apt-get update &&\
 apt-get install wine wine32:i386"
command -v "$wine" >/dev/null || fail "Wine is missing ($wine not found). $wine_hint"
command -v "$wineserver" >/dev/null \
  || fail "Wine's wineserver is missing ($wineserver not found). $wine_hint"
prefix=${WINEPREFIX:-$HOME/.wine}
if [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/dosdevices" ]; then
  fail "there is no Wine prefix in $prefix yet. Create it first, with:
  WINEPREFIX=$prefix wineboot --init
(or start any program with wine once), then run this again."
fi
export WINEPREFIX=$prefix WINEDEBUG=-all

key='HKLM\Software\Wine\Ports'
ports=(COM1 COM2 COM3 COM4)

# --- Map the ports, restart Wine so that it reads them. ----------------------------------------
for p in "${ports[@]}"; do
  value=""
  [ "$p" = "$port" ] && value=$device
  "$wine" reg add "$key" /v "$p" /t REG_SZ /d "$value" /f >/dev/null 2>&1 \
    || fail "could not write $key\\$p in $prefix"
done
echo "wine-port: in $prefix: $port = $device; the other ports of COM1 to COM4 set to nothing"
echo "wine-port: restarting Wine (wineserver -k): Wine programs still running in it are ended"
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w
# Starting Wine again lets its mount manager remake dosdevices from the new values; once every
# Wine process has ended, it has done so.
"$wine" reg query "$key" >/dev/null 2>&1 || fail "Wine did not start again in $prefix"
"$wineserver" -w

# --- Check where COM1 to COM4 lead now. ---------------------------------------------------------
want=$(readlink -f "$device")
for p in "${ports[@]}"; do
  link=$prefix/dosdevices/$(tr '[:upper:]' '[:lower:]' <<<"$p")
  target=$(readlink -f "$link" 2>/dev/null || true)
  if [ "$p" = "$port" ]; then
    [ "$target" = "$want" ] || fail "$p leads to ${target:-nothing}, not to $want: mapping failed"
  elif [ -n "$target" ] && [ -c "$target" ]; then
    fail "$p still leads to the device $target"
  fi
done
echo "wine-port: checked: $port leads to $device; COM1 to COM4 lead to no other device"
cat <<EOF
wine-port: PIKON.exe, started with wine in this prefix, finds the module on $port.
To undo (as $(id -un)): delete the four values, stop Wine and remove its COM links; at its
next start Wine makes them anew for the serial devices it detects.
  for p in COM1 COM2 COM3 COM4; do WINEPREFIX=$prefix wine reg delete '$key' /v \$p /f; done
  WINEPREFIX=$prefix wineserver -k
  rm -f $prefix/dosdevices/com*
EOF
