#!/usr/bin/env bash
# Builds, starts a throwaway PostgreSQL server, loads db/schema.sql into a fresh database
# for each benchmark (the timesheet, the journal's date switch, the journal save, the report
# engine, the period reports, the pay statements, the brigade window, the legacy import) and runs it there; stops the server afterwards.
# Every benchmark runs even when one fails; a summary line per benchmark follows (its
# figures beside their baselines or limits) and the script exits non-zero if any failed.
# Extra arguments go to the benchmark programs, e.g. --benchmark_repetitions=3.
# The server runs without fsync, as the test server does; TABEL_PG_THROWAWAY=0 keeps it durable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TABEL_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

server=$(mktemp -d /tmp/tabel-bench-server.XXXXXX)
results=$(mktemp -d /tmp/tabel-bench-results.XXXXXX)
cleanup() {
  "$root/scripts/pg-cluster.sh" stop "$server" || true
  rm -rf "$server" "$results"
}
trap cleanup EXIT
TABEL_PG_THROWAWAY=${TABEL_PG_THROWAWAY:-1} "$root/scripts/pg-cluster.sh" start "$server"

export PGPASSWORD=wemplax
fresh_database() {
  psql -q -h "$server/socket" -U sys -d postgres -v ON_ERROR_STOP=1 -c "create database $1" &&
    psql -q -h "$server/socket" -U sys -d "$1" -v ON_ERROR_STOP=1 -f "$root/db/schema.sql"
}

export TABEL_BENCH_PGHOST=$server/socket
export QT_QPA_PLATFORM=offscreen
summary=()
failed=0

# Runs one benchmark program on a fresh database of its own; a failure is noted and the
# next benchmark runs all the same.
run() {
  local program=$1 database=$2 status=ok line
  shift 2
  if ! fresh_database "$database" \
      || ! TABEL_BENCH_DATABASE=$database "$build/bench/$program" "$@" | tee "$results/$program.out"; then
    status=FAILED
    failed=1
  fi
  if [ -s "$results/$program.json" ]; then
    line=$(jq -r -f "$root/scripts/bench-summary.jq" "$results/$program.json" 2>/dev/null || true)
  else
    line=$(grep -v '^\s*$' "$results/$program.out" 2>/dev/null | tail -n 1 || true)
  fi
  summary+=("$(printf '%-22s %-6s %s' "$program" "$status" "$line")")
}

# Google benchmark programs also write their figures as JSON for the summary.
run_timed() {
  local program=$1
  run "$@" --benchmark_out="$results/$program.json" --benchmark_out_format=json
}

run_timed timesheet_bench tabel_bench "$@"
run_timed journal_bench tabel_bench_journal "$@"
run import_bench tabel_bench_import
run_timed report_bench tabel_bench_reports "$@"
run_timed period_reports_bench tabel_bench_period_reports "$@"
run_timed record_save_bench tabel_save_bench "$@"
run_timed pay_statements_bench tabel_bench_pay_statements "$@"
run_timed brigade_bench tabel_bench_brigade "$@"

echo
echo "Summary (figure beside its baseline or limit):"
printf '%s\n' "${summary[@]}"
exit "$failed"
