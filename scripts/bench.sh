#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks optimised and runs them all. Each prints its
# times and, at the end, its ratios to the baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DONDRAVA_TESTS=OFF -DONDRAVA_BENCH=ON
cmake --build build-bench

if [ -z "${DISPLAY:-}" ]; then
    source scripts/display.sh
    trap stop_private_display EXIT
    trap 'exit 130' INT TERM
    start_private_display 1920x1080x24
fi
for bench in build-bench/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" "$@"
done
