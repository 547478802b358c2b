#!/usr/bin/env bash
# Installs and starts a local PostgreSQL server with the suite's login (role qlx),
# for the test runs on the server engine (--for-tests: without disk flushes).
# Prints the variables to export.
set -euo pipefail
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
as_postgres() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else sudo -u postgres "$@"; fi; }
if ! command -v pg_ctlcluster >/dev/null 2>&1 || [ -z "$(ls /usr/lib/postgresql 2>/dev/null)" ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq postgresql postgresql-contrib >/dev/null
fi
ver=$(ls /usr/lib/postgresql | sort -V | tail -n 1)
if ! pg_lsclusters -h | awk '{print $1" "$2}' | grep -q "^$ver main$"; then
  $SUDO pg_createcluster "$ver" main >/dev/null
fi
if ! pg_lsclusters -h | awk '$1=="'"$ver"'" && $2=="main" {print $4}' | grep -q online; then
  $SUDO pg_ctlcluster "$ver" main start
fi
for i in $(seq 1 30); do
  as_postgres psql -qtAc "select 1" >/dev/null 2>&1 && break
  sleep 1
done
as_postgres psql -qtAc "DO \$\$ BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'qlx') THEN
    CREATE ROLE qlx LOGIN CREATEDB PASSWORD 'marlitov';
  END IF; END \$\$;" >/dev/null
# A server for test runs needs no crash safety; without the flushes the suites,
# which create and drop many small databases, run several times faster.
if [ "${1:-}" = "--for-tests" ]; then
  as_postgres psql -qtAc "ALTER SYSTEM SET fsync = off" >/dev/null
  as_postgres psql -qtAc "ALTER SYSTEM SET synchronous_commit = off" >/dev/null
  as_postgres psql -qtAc "ALTER SYSTEM SET full_page_writes = off" >/dev/null
  as_postgres psql -qtAc "SELECT pg_reload_conf()" >/dev/null
fi
echo "QLX_PG_HOST=127.0.0.1"
