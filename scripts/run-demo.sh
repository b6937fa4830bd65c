#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL server for the demo
# (unix socket only, port 5432, role sys, database vorn_erp loaded from db/ the first
# time) and runs the program against it. Running it again reuses the demo data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABEL_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

server=${TABEL_DEMO_DIR:-$root/.demo-db}
# The server runs as postgres when we are root; it must be able to reach the folder.
if [ "$(id -u)" -eq 0 ] && ! runuser -u postgres -- test -x "$(dirname "$server")"; then
  server=/var/tmp/tabel-demo-db
  echo "The checkout is closed to the postgres user; the demo database lives in $server"
fi
"$root/scripts/pg-cluster.sh" start "$server"
trap '"$root/scripts/pg-cluster.sh" stop "$server"' EXIT

export PGPASSWORD=wemplax
socket=$server/socket
if ! psql -h "$socket" -U sys -d postgres -tAc "select 1 from pg_database where datname = 'vorn_erp'" | grep -q 1; then
  echo "Loading the demo database"
  psql -q -h "$socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database vorn_erp"
  psql -q -h "$socket" -U sys -d vorn_erp -v ON_ERROR_STOP=1 -f "$root/db/schema.sql"
  psql -q -h "$socket" -U sys -d vorn_erp -v ON_ERROR_STOP=1 -f "$root/db/demo.sql" >/dev/null
fi

echo "Access codes: 8573 (full access), brigvex (foreman), vrelk (warehouse), fincal (reports)"
"$build/src/tabel" vorn_erp "$socket"
