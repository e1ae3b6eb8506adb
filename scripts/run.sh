#!/usr/bin/env bash
# Builds Vosmira and starts it. Extra arguments go to the program, e.g.
#   scripts/run.sh --program-folder /srv/vosmira
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/program/vosmira "$@"
