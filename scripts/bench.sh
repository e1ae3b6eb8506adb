#!/usr/bin/env bash
# Builds the benchmark and measures the client store, the reports, backup and
# restore at 1,000, 10,000 and 100,000 clients, printing the tables kept in
# docs/performance.md. Extra arguments go to the benchmark, e.g.
#   scripts/bench.sh --sizes 1000,10000 --markdown /tmp/figures.md
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target vosmira-bench >&2
exec build/bench/vosmira-bench "$@"
