#!/usr/bin/env bash
# Builds, starts a throwaway PostgreSQL server, loads db/schema.sql into a fresh database
# for each benchmark (the timesheet, then the journal's date switch) and runs it there;
# stops the server afterwards.
# Extra arguments go to the benchmark programs, e.g. --benchmark_repetitions=3.
# The server runs without fsync, as the test server does; TABEL_PG_THROWAWAY=0 keeps it durable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABEL_BUILD_DIR:-$root/build}

"$root/scripts/build.sh"

server=$(mktemp -d /tmp/tabel-bench-server.XXXXXX)
cleanup() {
  "$root/scripts/pg-cluster.sh" stop "$server" || true
  rm -rf "$server"
}
trap cleanup EXIT
TABEL_PG_THROWAWAY=${TABEL_PG_THROWAWAY:-1} "$root/scripts/pg-cluster.sh" start "$server"

export PGPASSWORD=wemplax
fresh_database() {
  psql -q -h "$server/socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database $1"
  psql -q -h "$server/socket" -U sys -d "$1" -v ON_ERROR_STOP=1 -f "$root/db/schema.sql"
}

export TABEL_BENCH_PGHOST=$server/socket
export QT_QPA_PLATFORM=offscreen
fresh_database tabel_bench
TABEL_BENCH_DATABASE=tabel_bench "$build/bench/timesheet_bench" "$@"
fresh_database tabel_bench_journal
TABEL_BENCH_DATABASE=tabel_bench_journal "$build/bench/journal_bench" "$@"
