#!/usr/bin/env bash
# The table of port kinds in the README ("Which ports work"): the whole program with the
# simulated module on each kind of port (tools/porttable/port_table.cpp).
#
#   tools/port-table.sh        the program as it is
#   tools/port-table.sh REV    the program's module link (modlink/) as it was at REV, on this
#                              tree's ports and module: what the program did before a change
set -euo pipefail
cd "$(dirname "$0")/.."
src=.
dir=build/port-table
if [ $# -gt 0 ]; then
  dir=build/port-table-$1
  src=$dir-src
  rm -rf "$src"
  mkdir -p "$src"
  git archive HEAD | tar -x -C "$src"
  git archive "$1" modlink | tar -x -C "$src"
fi
cmake -S "$src" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPIKON_TESTS=OFF >/dev/null
cmake --build "$dir" -j2 --target port_table >/dev/null
"$dir/tools/porttable/port_table"
