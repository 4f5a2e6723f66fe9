#!/usr/bin/env bash
# Starts or stops the throw-away PostgreSQL cluster of the history tests:
#   history_pg.sh start|stop STATE_DIR
# The cluster lives in STATE_DIR (in the build folder) and listens only on a Unix socket in a
# temporary folder, whose path goes to STATE_DIR/socket. PostgreSQL refuses to run as root, so
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
  if [[ -f $state/data/postmaster.pid ]]; then
    as_server "$bindir/pg_ctl" -D "$state/data" -m immediate -w stop >/dev/null 2>&1 || true
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
  if [[ $(id -u) -eq 0 ]]; then
    chown nobody:nogroup "$state" "$socket"
  fi
  as_server "$bindir/initdb" -D "$state/data" -U velorin --auth=trust -E UTF8 --no-sync \
    >"$state/initdb.log" 2>&1
  as_server "$bindir/pg_ctl" -D "$state/data" -l "$state/server.log" -w -t 60 \
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
