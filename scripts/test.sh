#!/usr/bin/env bash
# Builds Vosmira and runs every test. Extra arguments go to ctest, e.g.
#   scripts/test.sh -R tst_frmhome
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --test-dir "${VOSMIRA_BUILD_DIR:-build}" --output-on-failure -j2 "$@"
