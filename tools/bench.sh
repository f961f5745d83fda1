#!/usr/bin/env bash
# What one measurement sweep costs in the Release build, against the simulated module:
#   sweep: N instructions (callgrind), M µs median, K sweeps/s
# N is counted by callgrind over a fixed number of sweeps (bench/sweep_count, after a few that
# load fonts and glyphs) and divided per sweep; M is the median of several Google Benchmark runs
# of bench/sweep_bench, and K follows from M. Timings are noisy on a busy machine; N is not.
#
#   tools/bench.sh [build-dir]        (default build/release; needs valgrind)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build/release}
sweeps=500
runs=5

cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$dir" -j2 --target sweep_count sweep_bench >/dev/null

log=$(mktemp)
trap 'rm -f "$log" "$log.out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$log.out" --toggle-collect='*MeasuredSweeps*' \
  "$dir/bench/sweep_count" "$sweeps" 2>"$log" >/dev/null
collected=$(sed -n 's/^==[0-9]*== Collected : \([0-9]*\)$/\1/p' "$log")
[ -n "$collected" ] || { echo "callgrind gave no count:" >&2; cat "$log" >&2; exit 1; }

median=$("$dir/bench/sweep_bench" --benchmark_repetitions="$runs" \
  --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null |
  python3 -c '
import json, sys
for b in json.load(sys.stdin)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
        print(b["real_time"] * scale)')

python3 - "$collected" "$sweeps" "$median" <<'PY'
import sys
collected, sweeps, median = int(sys.argv[1]), int(sys.argv[2]), float(sys.argv[3])
print(f"sweep: {collected // sweeps:,} instructions (callgrind), {median:.1f} µs median, "
      f"{1e6 / median:,.0f} sweeps/s")
PY
