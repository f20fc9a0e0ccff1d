#!/usr/bin/env bash
# Builds the Linux benchmarks and runs the filter benchmark: every kernel
# tier beside a naive loop and a partitioned FFT convolver, repeated in
# random order, then prints the Markdown table of medians that
# bench/RESULTS.md holds. Usage: scripts/bench-fir.sh [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions=${1:-21}
bash scripts/setup.sh >/dev/null
cmake --preset linux >/dev/null
cmake --build build/linux --target ulmar_bench_fir --parallel "$(nproc)" >/dev/null
json=build/linux/bench/fir-results.json
./build/linux/bench/ulmar_bench_fir --benchmark_min_time=0.2 --benchmark_repetitions="$repetitions" \
  --benchmark_enable_random_interleaving=true --benchmark_out="$json" --benchmark_out_format=json >&2
python3 bench/results-table.py "$json"
