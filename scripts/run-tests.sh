#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL server, runs every
# test through ctest and stops the server. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABEL_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

server=$(mktemp -d /tmp/tabel-test-server.XXXXXX)
cleanup() {
  "$root/scripts/pg-cluster.sh" stop "$server" || true
  rm -rf "$server"
}
trap cleanup EXIT
TABEL_PG_THROWAWAY=1 "$root/scripts/pg-cluster.sh" start "$server"

export PGPASSWORD=wemplax
psql -q -h "$server/socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database tabel_template"
psql -q -h "$server/socket" -U sys -d tabel_template -v ON_ERROR_STOP=1 -f "$root/db/schema.sql"
# The demo data must load on the schema as well.
psql -q -h "$server/socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database tabel_demo_check template tabel_template"
psql -q -h "$server/socket" -U sys -d tabel_demo_check -v ON_ERROR_STOP=1 -f "$root/db/demo.sql" >/dev/null

export TABEL_TEST_PGHOST=$server/socket
export TABEL_TEST_TEMPLATE=tabel_template
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
