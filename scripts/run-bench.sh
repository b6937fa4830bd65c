#!/usr/bin/env bash
# Builds, starts a throwaway PostgreSQL server, loads db/schema.sql into a fresh database
# and runs the timesheet benchmark on it, then the period-reports benchmark on a database of
# its own; stops the server afterwards.
# Extra arguments go to the benchmark program, e.g. --benchmark_repetitions=3.
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
psql -q -h "$server/socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database tabel_bench"
psql -q -h "$server/socket" -U sys -d tabel_bench -v ON_ERROR_STOP=1 -f "$root/db/schema.sql"

export TABEL_BENCH_PGHOST=$server/socket
export TABEL_BENCH_DATABASE=tabel_bench
export QT_QPA_PLATFORM=offscreen
"$build/bench/timesheet_bench" "$@"

psql -q -h "$server/socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database tabel_bench_reports"
psql -q -h "$server/socket" -U sys -d tabel_bench_reports -v ON_ERROR_STOP=1 -f "$root/db/schema.sql"
TABEL_BENCH_DATABASE=tabel_bench_reports "$build/bench/period_reports_bench" "$@"
