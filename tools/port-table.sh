#!/usr/bin/env bash
# The table of port kinds in docs/ports.md: the whole program with the simulated module on each
# kind of port (tools/porttable/port_table.cpp), simulated from the drivers cited in
# winapi/sim, never measured on an adapter.
#
#   tools/port-table.sh          the program as it is
#   tools/port-table.sh REV      the program as it is and as it was at REV, side by side: the
#                                program's own folders at REV on this tree's platform and ports
set -euo pipefail
cd "$(dirname "$0")/.."

# Prints the rows of one build's table: port | shown | sweeps/s | at most
rows() {  # source dir, build dir
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DPIKON_TESTS=OFF >/dev/null
  cmake --build "$2" -j2 --target port_table >/dev/null
  "$2/tools/porttable/port_table" | tail -n +3
}

now=$(rows . build/port-table)
if [ $# -eq 0 ]; then
  printf '| port | shown | sweeps/s | at most |\n|---|---|---|---|\n%s\n' "$now"
  exit 0
fi
src=build/port-table-$1-src
rm -rf "$src"
mkdir -p "$src"
git archive HEAD | tar -x -C "$src"
rm -rf "${src:?}"/{app,measure,modlink,plot,resources}
git archive "$1" app measure modlink plot resources | tar -x -C "$src"
before=$(rows "$src" "build/port-table-$1")
printf '| port | shown at %s | shown now | sweeps/s now | at most |\n|---|---|---|---|---|\n' "$1"
paste -d '\t' <(printf '%s\n' "$before") <(printf '%s\n' "$now") |
  awk -F '\t' '{ split($1, b, " [|] "); split($2, n, " [|] ");
                 printf "%s | %s | %s | %s | %s\n", n[1], b[2], n[2], n[3], n[4] }'
