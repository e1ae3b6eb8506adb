#!/usr/bin/env bash
# Builds Vosmira and runs every test; then runs the data store's and the
# windows' suites (label "server") again with their clients on a throw-away
# PostgreSQL server, started in a temporary folder and stopped at the end.
# Extra arguments go to ctest, e.g.
#   scripts/test.sh -R tst_frmhome
# VOSMIRA_TEST_SERVER=skip leaves the second run out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build=${VOSMIRA_BUILD_DIR:-build}
ctest --test-dir "$build" --output-on-failure -j2 "$@"

[ "${VOSMIRA_TEST_SERVER:-}" = skip ] && exit 0
server=$(mktemp -d "${TMPDIR:-/tmp}/vosmira-pg.XXXXXX")
trap 'bash scripts/pg-server.sh stop "$server" || true; rm -rf "$server"' EXIT
bash scripts/pg-server.sh start "$server" $$
# shellcheck source=/dev/null
. "$server/env"
echo "Again on the PostgreSQL server at $PGHOST:$PGPORT:"
VOSMIRA_TEST_SERVER=1 ctest --test-dir "$build" --output-on-failure -j2 -L server "$@"
