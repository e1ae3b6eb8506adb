#!/usr/bin/env bash
# Builds the benchmark and measures the client store, the reports, backup and
# restore at 1,000, 10,000 and 100,000 clients, printing the tables kept in
# docs/performance.md. Extra arguments go to the benchmark, e.g.
#   scripts/bench.sh --sizes 1000,10000 --markdown /tmp/figures.md
# --server also measures the clients on a throw-away PostgreSQL server, started
# in a temporary folder (scripts/pg-server.sh) and stopped after the run; add
# --server-only to leave the database file out. To measure a server of your own,
# run build/bench/vosmira-bench --server with PGHOST, PGPORT and PGUSER naming it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target vosmira-bench >&2
args=()
for arg in "$@"; do
    if [ "$arg" = --server ]; then arg=--start-server; fi
    args+=("$arg")
done
exec build/bench/vosmira-bench "${args[@]}"
