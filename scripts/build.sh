#!/usr/bin/env bash
# Configures and builds everything into build/ (program folder: build/program).
#   VOSMIRA_BUILD_DIR   another build folder
#   VOSMIRA_WERROR=ON   warnings fail the build (CI)
#   VOSMIRA_SANITIZE=ON AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
build_dir=${VOSMIRA_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVOSMIRA_WERROR="${VOSMIRA_WERROR:-OFF}" -DVOSMIRA_SANITIZE="${VOSMIRA_SANITIZE:-OFF}" >/dev/null
cmake --build "$build_dir" -j"$jobs"
