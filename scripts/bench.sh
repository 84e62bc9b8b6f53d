#!/usr/bin/env bash
# Builds a Release build with the benchmarks into build-bench, runs them and
# writes the table of ratios to build-bench/benchmark-table.md (also printed),
# headed by the machine and build type. Extra arguments go to the benchmark
# program (e.g. --benchmark_filter=Camera).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-bench"
"$root/scripts/build.sh" --benchmarks --release "$dir"
table="$dir/benchmark-table.md"
"$dir/bin/mode_bench" --benchmark_repetitions=9 --benchmark_min_time=0.2 \
  --benchmark_enable_random_interleaving=true --table="$table.rows" "$@"
{
  echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1)," \
    "$(nproc) cores; build type Release ($(c++ --version | head -n 1))."
  echo
  cat "$table.rows"
} >"$table"
rm -f "$table.rows"
# Scene reading: three repetitions (the largest scene takes seconds).
"$dir/bin/scene_read_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.5 "$@" | tee -a "$table"
echo
echo "written to $table"
