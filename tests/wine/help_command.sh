#!/usr/bin/env bash
# "Hilfe" -> "Kurzbeschreibung" of PIKON.exe on Wine under Xvfb, with Wine's Windows version set
# both ways:
#
#   tests/wine/help_command.sh [PIKON.exe] [screenshot-dir]
#
# The i386 PIKON.exe, the product, runs where e2e.sh runs it (32-bit Wine on a kernel that runs
# 32-bit programs); elsewhere the test says why and skips it. Without an argument: the x86-64
# twin, build/win64/PIKON.exe.
#
# PIKON.exe, PIKON.HLP and PIKON.html are copied from the program's folder into one of their
# own; PIKON runs there with the simulated module on COM2 (as in e2e.sh), and remote.exe
# (tools/winesim/remote.cpp) chooses the menu entry.
# 1. As Windows XP (winecfg /v winxp, i.e. HKCU\Software\Wine "Version"), which has WinHelp,
#    the help viewer must be started and asked for PIKON.HLP (its trace says so), and no browser.
#    Wine's viewer then shows nothing (it leaves HELP_FORCEFILE unhandled); should a window
#    captioned with the help file's title appear, it is the one saved. Saved as winxp-winhelp.png.
# 2. As Windows 7 (winecfg /v win7) in the sandbox's prefix, where no program opens web pages,
#    ShellExecuteW fails and the help viewer, which Windows 7 can have, must be asked for
#    PIKON.HLP after all, as in 1. Saved as win7-nobrowser-winhelp.png.
# 3. As Windows 10, which has no help viewer, with no program for web pages: ShellExecuteW fails
#    and nothing else is asked.
# 4. As Windows 10 with web pages registered to winebrowser, as a Windows install has them with
#    its browser, and the program in a folder whose name the ANSI code page cannot spell
#    ("Łódź"), the browser must be asked for PIKON.html in that folder: winebrowser runs the
#    browsers the prefix lists, here a stand-in that records its argument and shows it in a
#    window. Saved as win10-browser.png. The help viewer must not be asked.
#
# Safety: as e2e.sh, Wine runs only in the sandbox of sandbox.sh; the only device a COM port may
# lead to is the pty this test made.
set -euo pipefail

sandbox_name=help_command
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$here/sandbox.sh"

if [ "${1:-}" != --inside ]; then
  exe=$(realpath "${1:-$root/build/win64/PIKON.exe}")
  outdir=$(realpath -m "${2:-$(dirname "$exe")/help-command}")
  for f in PIKON.exe PIKON.HLP PIKON.html; do
    [ -f "$(dirname "$exe")/$f" ] || die "no $f beside $exe"
  done
  pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$exe" | tr -d ' ')
  arch=x86-64 simport=pikon_simport
  if [ "$machine" = 014c ]; then
    # As in e2e.sh: the i386 program with 32-bit Wine and a 32-bit simport beside the 64-bit one.
    arch=i386 simport+=" pikon_simport32" why=''
    if ! "$here/runs_i386.sh"; then
      why="this machine's kernel does not run 32-bit programs"
    elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed'; then
      why="the kernel runs 32-bit programs, but wine32:i386 is not installed (tools/setup.sh all)"
    fi
    if [ -n "$why" ]; then
      echo "help_command: skipped the i386 $exe: $why; run the x86-64 build instead"
      exit 0
    fi
  fi
  need_tools x86_64-w64-mingw32-g++ xdotool xmessage import convert cmake
  # shellcheck disable=SC2086  # $simport: one or two targets
  build_sim_tools $simport
  mkdir -p "$outdir"
  sandbox_reexec "$0" "$exe" "$outdir" "$arch"
fi

exe=$3 outdir=$4 arch=$5
preload=$root/build/native/tools/winesim/libpikon_simport.so
[ "$arch" != i386 ] || preload+=:$root/build/native/tools/winesim/libpikon_simport32.so
app_pid='' pty_pid='' remote_pid=''
stop_programs() {
  local pid
  for pid in "$app_pid" "$remote_pid" "$pty_pid" "$(cat "$tmp/browser.pid" 2>/dev/null)"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  done
}
sandbox_enter "$2"
app_wine=$wine
[ "$arch" != i386 ] || app_wine=$(command -v wine || echo /usr/lib/wine/wine)
sandbox_module_prefix
title=$(printf 'PIKON \xe2\x80\x93 Kurzbeschreibung')   # the help file's title, UTF-8 as X reports it

# The stand-in browser: records what it is asked to open and shows it in a window.
cat >"$tmp/browser" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$@" >>"$tmp/browser.args"
xmessage -title "Browser" -geometry +0+0 "Browser asked to open:" "\$@" &
echo \$! >"$tmp/browser.pid"
SCRIPT
chmod +x "$tmp/browser"
sandbox_reg 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$tmp/browser" \
  || die "cannot register the stand-in browser"

lodz=$(printf '\xc5\x81\xc3\xb3d\xc5\xba')   # "Łódź" in UTF-8
for folder in app "$lodz"; do
  mkdir -p "$tmp/$folder"
  cp "$(dirname "$exe")"/{PIKON.exe,PIKON.HLP,PIKON.html} "$tmp/$folder/"
done
sandbox_remote "$root/build/winesim/remote.exe"

# window_named NAME SECONDS: the id of a visible window whose name contains NAME, or nothing.
window_named() {
  for _ in $(seq $(($2 * 5))); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 && return 0
    sleep 0.2
  done
}

# help_as VERSION CASE [FOLDER]: PIKON started from $tmp/FOLDER (app unless given) as that
# Windows version, "Kurzbeschreibung" chosen; its output in app-CASE.err.
help_as() {
  # What winecfg /v sets: the version every program of the prefix is told.
  sandbox_reg 'HKCU\Software\Wine' /v Version /d "$1" || die "$1: cannot set the version"
  (cd "$tmp/${3:-app}" && PIKON_SIM_TTY=$sandbox_sim_tty PIKON_SIM_LOG=$tmp/module-$2.log \
    PIKON_SIM_SIGNALS=1000 LD_PRELOAD=$preload WINEDEBUG=-all,trace+winhelp,trace+exec \
    exec timeout 120 "$app_wine" PIKON.exe) >"$tmp/app-$2.out" 2>"$tmp/app-$2.err" &
  app_pid=$!
  [ "$(ask wait-main 60)" = ok ] || die "$2: no main window: $(tail -3 "$tmp/app-$2.err")"
  ask menu 40007 >/dev/null
}

# end_pikon VERSION: "&Beenden"; PIKON must end with exit code 0.
end_pikon() {
  local rc=0
  ask menu 40001 >/dev/null
  wait "$app_pid" || rc=$?
  app_pid=
  [ "$rc" -eq 0 ] || die "$1: PIKON.exe ended with exit code $rc"
}

shown_windows() {
  xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r w; do
    printf '[%s] ' "$(xdotool getwindowname "$w")"; done
}

# shoot NAME WINDOW: the window as on screen, once painted.
shoot() {
  sleep 1
  import -window "$2" "$outdir/$1.png" || die "cannot take the screenshot $1"
  echo "help_command: screenshot $outdir/$1.png"
}

# expect_winhelp CASE: the help viewer started and asked for PIKON.HLP, no browser; the screen
# saved as CASE-winhelp.png. Ends PIKON.
expect_winhelp() {
  local request='WINHELP_HandleCommand Got\[[0-9]*\]: cmd=9 data=00000000 fn="PIKON.HLP"' win
  for _ in $(seq 100); do grep -q "$request" "$tmp/app-$1.err" && break; sleep 0.2; done
  grep -q "$request" "$tmp/app-$1.err" \
    || die "$1: the help viewer got no HELP_FORCEFILE for PIKON.HLP: $(grep -v fixme "$tmp/app-$1.err" | tail -3)"
  win=$(window_named 'Kurzbeschreibung' 3)
  if [ -z "$win" ]; then
    # Wine's winhlp32 leaves HELP_FORCEFILE unhandled (programs/winhlp32/winhelp.c); Windows'
    # viewer shows the file's contents topic, as winhlp32 PIKON.HLP does on Wine (help.sh).
    echo "help_command: $1: known Wine deviation: its viewer takes HELP_FORCEFILE and shows" \
         "nothing; the Windows viewer shows the contents of PIKON.HLP"
    win=root   # the screen: PIKON, and no browser
  else
    [ "$(xdotool getwindowname "$win")" = "$title" ] \
      || die "$1: the help window is captioned [$(xdotool getwindowname "$win")], want [$title]"
  fi
  shoot "$1-winhelp" "$win"
  [ ! -e "$tmp/browser.args" ] || die "$1: the browser was asked for $(cat "$tmp/browser.args")"
  echo "help_command: $1: the help viewer was started and asked for PIKON.HLP; no browser"
  end_pikon "$1"
  wineserver_kill   # the viewer with it
  sandbox_remote "$root/build/winesim/remote.exe"
}

# --- 1. As Windows XP: the help viewer. ----------------------------------------------------------
help_as winxp winxp
expect_winhelp winxp

# --- 2. As Windows 7 with no program for web pages: the help viewer after all. ---------------------
help_as win7 win7-nobrowser
expect_winhelp win7-nobrowser
grep -q 'trace:exec:SHELL_execute retval 31' "$tmp/app-win7-nobrowser.err" \
  || die "win7-nobrowser: ShellExecuteW did not fail for want of an association"

# --- 3. As Windows 10 with no program for web pages: no help viewer there, so a message says
# where the page is. --------------------------------------------------------------------------
help_as win10 win10-nobrowser
for _ in $(seq 100); do
  grep -q 'trace:exec:SHELL_execute retval' "$tmp/app-win10-nobrowser.err" && break; sleep 0.2
done
grep -q 'trace:exec:SHELL_execute retval 31' "$tmp/app-win10-nobrowser.err" \
  || die "win10-nobrowser: ShellExecuteW did not fail for want of an association"
sleep 2
! grep -q 'WINHELP_HandleCommand' "$tmp/app-win10-nobrowser.err" \
  || die "win10-nobrowser: the help viewer was asked"
[ ! -e "$tmp/browser.args" ] || die "win10-nobrowser: the browser was asked for $(cat "$tmp/browser.args")"
for _ in $(seq 50); do box=$(ask box | iconv -f CP1252 -t UTF-8); [ -n "$box" ] && break; sleep 0.1; done
[[ "$box" == *"Hilfe nicht zu öffnen!"* ]] || die "win10-nobrowser: no message, or another: [$box]"
ask answer >/dev/null
echo "help_command: win10-nobrowser: the page could not be opened; no help viewer asked; the" \
     "message says where the page is"
end_pikon win10-nobrowser

# --- 4. As Windows 10 with a browser, from a folder the code page cannot spell: the page. --------
# As a Windows install has it: web pages open with the browser, on Wine winebrowser.
sandbox_reg 'HKCR\.html' /ve /d htmlfile && sandbox_reg 'HKCR\htmlfile\shell\open\command' /ve \
  /d '"C:\windows\system32\winebrowser.exe" "%1"' || die "cannot register the browser"
help_as win10 win10 "$lodz"
for _ in $(seq 100); do [ -s "$tmp/browser.args" ] && break; sleep 0.2; done
[ -s "$tmp/browser.args" ] \
  || die "win10: the browser was not asked for anything: $(grep -v fixme "$tmp/app-win10.err" | tail -3)"
asked=$(cat "$tmp/browser.args")
want="file://$tmp/%C5%81%C3%B3d%C5%BA/PIKON.html"   # winebrowser's URL spells the folder so
[ "$asked" = "$want" ] || die "win10: the browser was asked for [$asked], want [$want]"
win=$(window_named 'Browser' 10)
[ -n "$win" ] || die "win10: the stand-in browser shows no window"
shoot win10-browser "$win"
! grep -q 'WINHELP_HandleCommand' "$tmp/app-win10.err" || die "win10: the help viewer was asked too"
echo "help_command: win10: the browser was asked for $asked"
end_pikon win10
echo quit >&7

check_com_ports
echo "help_command: PASS; screenshots: $outdir/winxp-winhelp.png" \
     "$outdir/win7-nobrowser-winhelp.png $outdir/win10-browser.png"
