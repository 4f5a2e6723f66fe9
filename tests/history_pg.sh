#!/usr/bin/env bash
# Starts or stops the throw-away PostgreSQL cluster of the history tests:
#   history_pg.sh start|stop STATE_DIR
# STATE_DIR (in the build folder) records where the cluster is: its data and its Unix socket
# live in temporary folders (the build folder may sit where an unprivileged user cannot reach),
# their paths in STATE_DIR/data_dir and STATE_DIR/socket. PostgreSQL refuses to run as root, so
# under root the server runs as the unprivileged user nobody.
set -euo pipefail
action=$1
state=$2

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [[ -z $bindir ]]; then
  echo "PostgreSQL server binaries not found (scripts/setup installs postgresql)" >&2
  exit 1
fi

as_server() {
  if [[ $(id -u) -eq 0 ]]; then
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
  else
    "$@"
  fi
}

stop() {
  if [[ -f $state/data_dir ]]; then
    data=$(cat "$state/data_dir")
    if [[ -f $data/cluster/postmaster.pid ]]; then
      as_server "$bindir/pg_ctl" -D "$data/cluster" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$data"
  fi
  if [[ -f $state/socket ]]; then
    rm -rf "$(cat "$state/socket")"
  fi
  rm -rf "$state"
}

case $action in
start)
  stop
  mkdir -p "$state"
  socket=$(mktemp -d /tmp/velorin-pg.XXXXXX)
  data=$(mktemp -d /tmp/velorin-pgdata.XXXXXX)
  echo "$data" >"$state/data_dir"
  if [[ $(id -u) -eq 0 ]]; then
    chown nobody:nogroup "$socket" "$data"
  fi
  as_server "$bindir/initdb" -D "$data/cluster" -U velorin --auth=trust -E UTF8 --no-sync \
    >"$data/initdb.log" 2>&1 || { cat "$data/initdb.log" >&2; exit 1; }
  as_server "$bindir/pg_ctl" -D "$data/cluster" -l "$data/server.log" -w -t 60 \
    -o "-c listen_addresses='' -k $socket -c fsync=off" start >/dev/null
  as_server "$bindir/createdb" -h "$socket" -U velorin velorin_history
  echo "$socket" >"$state/socket"
  ;;
stop)
  stop
  ;;
*)
  echo "usage: $0 start|stop STATE_DIR" >&2
  exit 2
  ;;
esac
