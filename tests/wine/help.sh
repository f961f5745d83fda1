#!/usr/bin/env bash
# Help file test: PIKON.HLP in Wine's help viewer (winhlp32) under Xvfb.
#
#   tests/wine/help.sh PIKON.HLP [screenshot-dir]
#
# 1. Opened plainly, the viewer must show the contents topic: a window captioned with the help
#    file's title, the contents text read from the file, the title heading's dark blue and the
#    jumps' green on screen, and no error box. Saved as contents.png.
# 2. A click on the contents' jump "Das Plotfenster" must bring that topic up (the jump's context
#    hash, looked up in |CONTEXT). Saved as plotter.png.
# 3. Opened on the context name "anschluss" (winhlp32 -i), it must show that topic.
#    Saved as anschluss.png.
# The viewer's own trace (WINEDEBUG trace+winhelp) tells which topics it read and which text it
# laid out; any err: line from it fails the test.
#
# Safety: Wine maps COM ports to /dev/ttyS*, and /dev/ttyS0 on these machines is the console.
# The viewer never opens a port, but Wine runs only in the sandbox of sandbox.sh: a private mount
# namespace in which every serial device node is covered by /dev/null, a throw-away prefix, HOME
# and X server.
set -euo pipefail

sandbox_name=help
# shellcheck source=sandbox.sh source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sandbox.sh"

if [ "${1:-}" != --inside ]; then
  [ $# -ge 1 ] || die "usage: $0 PIKON.HLP [screenshot-dir]"
  hlp=$(realpath "$1")
  outdir=$(realpath -m "${2:-$(dirname "$hlp")/help-shots}")
  [ -f "$hlp" ] || die "no such help file: $hlp"
  need_tools xdotool import convert
  sandbox_reexec "$0" "$hlp" "$outdir"
fi

hlp=$3
outdir=$4
viewer_pid=''
stop_wine() {  # the viewer (it may have ended already) and every Wine process with it
  if [ -n "$viewer_pid" ]; then kill "$viewer_pid" 2>/dev/null || true; fi
  wineserver_kill
  if [ -n "$viewer_pid" ]; then wait "$viewer_pid" 2>/dev/null || true; fi
  viewer_pid=
}
stop_programs() { stop_wine; }
sandbox_enter "$2"

sandbox_boot_prefix
# There is no window manager on Xvfb: let Wine draw the frames, so the caption is on screen.
WINEDEBUG=-all timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
  >>"$tmp/wineboot.log" 2>&1 || die "cannot switch off window management: $(tail -3 "$tmp/wineboot.log")"
sandbox_prefix_ready

# The viewer finds the file in its working directory, as the program's WinHelp call would.
mkdir -p "$tmp/app" "$outdir"
cp "$hlp" "$tmp/app/PIKON.HLP"
title=$(printf 'PIKON \xe2\x80\x93 Kurzbeschreibung')   # the .title line, UTF-8 as X reports it

# start LOG ARGS...: starts the viewer on ARGS and waits for its main window ($win).
start_viewer() {
  local log=$1
  shift
  (cd "$tmp/app" && WINEDEBUG=-all,err+winhelp,trace+winhelp exec timeout 120 "$wine" winhlp32.exe "$@") \
    >"$tmp/$log.out" 2>"$tmp/$log.log" &
  viewer_pid=$!
  win=
  for _ in $(seq 300); do
    win=$(xdotool search --onlyvisible --name 'Kurzbeschreibung' 2>/dev/null | head -1 || true)
    [ -n "$win" ] && break
    kill -0 "$viewer_pid" 2>/dev/null || break
    sleep 0.2
  done
  [ -n "$win" ] || die "$log: no help window appeared; viewer said: $(grep -v ':trace:' "$tmp/$log.log" | tail -5)"
  [ "$(xdotool getwindowname "$win")" = "$title" ] \
    || die "$log: window caption is [$(xdotool getwindowname "$win")], want [$title]"
}

# shoot LOG NAME: once the window is painted, saves it as NAME.png and checks that nothing
# else is on screen and that the viewer reported no error.
shoot() {
  local log=$1 shot=$outdir/$2.png painted=
  # A freshly mapped window is one colour; the laid-out text brings many.
  for _ in $(seq 50); do
    sleep 0.3
    import -window "$win" "$shot" 2>/dev/null || continue
    [ "$(convert "$shot" -format '%k' info:)" -gt 20 ] && { painted=1; break; }
  done
  [ -n "$painted" ] || die "$2: the help window was never painted"
  sleep 1
  import -window "$win" "$shot"
  others=$(xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r w; do
    [ "$w" = "$win" ] || xdotool getwindowname "$w"; done | grep -v '^$' || true)
  [ -z "$others" ] || die "$2: other windows are shown: $others"
  if grep -q ':err:' "$tmp/$log.log"; then
    die "$2: the viewer reported errors: $(grep ':err:' "$tmp/$log.log" | head -5)"
  fi
  echo "help: $2: window \"$title\" shown, screenshot $shot"
}

# laid_out LOG [FROM]: the text pieces the viewer laid out, from line FROM of its trace on.
laid_out() {
  tail -n +"${2:-1}" "$tmp/$1.log" \
    | sed -n 's/^.*trace:winhelp:HLPFILE_BrowseParagraph Got text: "\(.*\)" (.*$/\1/p'
}

# How many pixels of an exact colour (#RRGGBB) a screenshot holds.
pixels_of() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:
}

# The window coordinates of a point on the Nth line of jumps (green text) in a screenshot.
jump_line() {
  convert "$1" -fill black +opaque '#008000' -fill white -opaque '#008000' -depth 8 txt:- \
    | sed -n 's/^\([0-9]*\),\([0-9]*\):.*#FFFFFF.*$/\1 \2/p' | sort -k2,2n -k1,1n \
    | awk -v want="$2" '
        NR == 1 || $2 > last + 3 { line++; xmin[line] = $1; ymin[line] = $2 }
        { last = $2; ymax[line] = $2 }
        END { if (line >= want) print xmin[want] + 4, int((ymin[want] + ymax[want]) / 2) }'
}

topics=$(grep -c '^\.topic ' "$(dirname "$0")/../../resources/pikon_help.txt" 2>/dev/null || echo 8)

# --- 1. The contents topic. --------------------------------------------------------------------
start_viewer contents PIKON.HLP
shoot contents contents
pages=$(grep -c 'trace:winhelp:HLPFILE_AddPage Added page' "$tmp/contents.log" || true)
[ "$pages" -eq "$topics" ] || die "contents: the viewer read $pages topics, the source has $topics"
shown=$(laid_out contents)
grep -q 'Achtkanal-Voltmeter und Linienschreiber' <<<"$shown" || die "contents: its text was not laid out"
grep -q 'Das Plotfenster' <<<"$shown" || die "contents: the jump to the plot window topic is missing"
! grep -q 'ZEQ Plotter' <<<"$shown" || die "contents: text of another topic was laid out"
blue=$(pixels_of "$outdir/contents.png" '#000080')
green=$(pixels_of "$outdir/contents.png" '#008000')
[ "$blue" -gt 50 ] || die "contents: no dark blue title on screen ($blue pixels)"
[ "$green" -gt 50 ] || die "contents: no green jumps on screen ($green pixels)"
echo "help: contents: $pages topics read, contents text laid out, title and jumps on screen"

# --- 2. Following a jump: the fifth line of the contents' list is "Das Plotfenster". ------------
point=$(jump_line "$outdir/contents.png" 5)
[ -n "$point" ] || die "jump: fewer than five lines of jumps on screen"
mark=$(( $(wc -l <"$tmp/contents.log") + 1 ))
# shellcheck disable=SC2086  # $point is "x y"
xdotool mousemove --window "$win" $point click 1
for _ in $(seq 50); do
  laid_out contents "$mark" | grep -q 'ZEQ Plotter' && break
  sleep 0.2
done
shown=$(laid_out contents "$mark")
grep -q 'ZEQ Plotter' <<<"$shown" || die "jump: clicking \"Das Plotfenster\" at $point did not show that topic"
! grep -q 'Achtkanal-Voltmeter' <<<"$shown" || die "jump: the contents topic was laid out again"
shoot contents plotter
echo "help: jump: \"Das Plotfenster\" followed to its topic"
stop_wine

# --- 3. A topic opened by its context name (winhlp32 -i). ----------------------------------------
start_viewer anschluss -i anschluss PIKON.HLP
shoot anschluss anschluss
shown=$(laid_out anschluss)
grep -q 'Welche Leitung was tut' <<<"$shown" || die "anschluss: -i anschluss did not show that topic"
! grep -q 'Achtkanal-Voltmeter' <<<"$shown" || die "anschluss: the contents topic was shown instead"
echo "help: anschluss: context name found, topic text laid out"
stop_wine

check_com_ports
echo "help: PASS; screenshots: $outdir/contents.png $outdir/plotter.png $outdir/anschluss.png"
