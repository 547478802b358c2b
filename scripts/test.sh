#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: every database
# suite on SQLite and, with a local PostgreSQL server started here, on PostgreSQL.
# QLX_NO_PG=1 leaves the server out (those suites then report themselves skipped).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ "${QLX_NO_PG:-0}" != "1" ] && [ -z "${QLX_PG_HOST:-}" ]; then
  eval "export $(bash scripts/start-postgres.sh --for-tests | tail -n 1)"
fi
bash scripts/build.sh
cd build
ctest --output-on-failure
