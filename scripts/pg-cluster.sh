#!/usr/bin/env bash
# A private PostgreSQL cluster in a folder of its own, listening only on a unix socket.
#   pg-cluster.sh start DIR   creates the cluster on first use (role sys), then starts it
#   pg-cluster.sh stop DIR
#   pg-cluster.sh crash DIR    stops the server at once, as a power cut would (a test of
#                              a server restarted under the program starts it again)
#   pg-cluster.sh running DIR  succeeds when the cluster's server is running
# The socket lives in DIR/socket on port 5432; the server log in DIR/server.log.
set -euo pipefail

action=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
bindir=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
data=$dir/data
socket=$dir/socket

# initdb and the server refuse to run as root: run them as postgres then.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

init_cluster() {
  mkdir -p "$data" "$socket"
  chmod 755 "$dir"
  chmod 777 "$socket"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$data" "$dir"; fi
  local pwfile
  pwfile=$(mktemp)
  echo wemplax >"$pwfile"
  chmod 644 "$pwfile"
  as_owner "$bindir/initdb" -D "$data" -U sys --pwfile="$pwfile" \
    --auth-local=scram-sha-256 --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log"
  rm -f "$pwfile"
}

case $action in
  start)
    [ -f "$data/PG_VERSION" ] || init_cluster
    options="-k $socket -c listen_addresses='' -p 5432"
    # Throwaway test clusters need no durability.
    [ "${TABEL_PG_THROWAWAY:-0}" = 1 ] && options="$options -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    as_owner "$bindir/pg_ctl" -D "$data" -l "$dir/server.log" -w -s start -o "$options"
    ;;
  stop)
    [ -f "$data/postmaster.pid" ] && as_owner "$bindir/pg_ctl" -D "$data" -m fast -w -s stop
    ;;
  crash)
    as_owner "$bindir/pg_ctl" -D "$data" -m immediate -w -s stop
    ;;
  running)
    [ -f "$data/postmaster.pid" ] && as_owner "$bindir/pg_ctl" -D "$data" status >/dev/null
    ;;
  *)
    echo "usage: $0 start|stop|crash|running DIR" >&2
    exit 2
    ;;
esac
