#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL server for the demo
# (unix socket only, port 5432, role sys, database vorn_erp loaded from db/ the first
# time) and runs the program against it. Running it again reuses the demo data; while
# one demo runs, a second start is refused.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABEL_BUILD_DIR:-$root/build}

# The server runs as postgres when we are root; it must be able to reach the folder.
demo_server() {
  local server=${TABEL_DEMO_DIR:-$root/.demo-db}
  if [ "$(id -u)" -eq 0 ] && ! runuser -u postgres -- test -x "$(dirname "$server")"; then
    server=/var/tmp/tabel-demo-db
  fi
  echo "$server"
}

# One demo at a time: the running program uses its server, and stops it when it ends.
# (Before PostgreSQL is installed no demo can be running.)
if [ "$(id -u)" -ne 0 ] || id postgres >/dev/null 2>&1; then
  server=$(demo_server)
  if [ -f "$server/data/postmaster.pid" ] && "$root/scripts/pg-cluster.sh" running "$server"; then
    echo "The demo is already running: its database server in $server is up." >&2
    echo "Close the running program first (its server stops with it), then start the demo again." >&2
    exit 1
  fi
fi

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

server=$(demo_server)
[ "$server" = "${TABEL_DEMO_DIR:-$root/.demo-db}" ] ||
  echo "The checkout is closed to the postgres user; the demo database lives in $server"
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
