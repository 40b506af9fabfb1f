#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, on a local socket only:
#
#   scripts/pg-test-server.sh start DIR   prints the variables the tests read
#   scripts/pg-test-server.sh stop DIR    (the DENDRIX_TEST_PGDIR start printed)
#
# initdb and pg_ctl refuse to run as root; as root they run as the postgres
# account the package creates. Without a server installed, start prints
# nothing and the PostgreSQL tests report themselves skipped.
set -euo pipefail
action=$1
dir=$2
port=${DENDRIX_TEST_PGPORT:-54329}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
  exit 0
fi
as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}
case "$action" in
  start)
    rm -rf "$dir"
    mkdir -p "$dir/socket"
    if [ "$(id -u)" -eq 0 ]; then
      chown -R postgres: "$dir"
      # The server's account must reach the folder; a build folder inside a
      # home it cannot enter gives way to one under /tmp.
      if ! runuser -u postgres -- test -w "$dir/socket"; then
        rm -rf "$dir"
        dir=$(mktemp -d /tmp/dendrix-pg.XXXXXX)
        mkdir -p "$dir/socket"
        chown -R postgres: "$dir"
      fi
    fi
    as_server "$bindir/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 >"$dir/initdb.log" 2>&1
    as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-k $dir/socket -c listen_addresses= -p $port" start >/dev/null
    echo "DENDRIX_TEST_PGDIR=$dir"
    echo "DENDRIX_TEST_PGHOST=$dir/socket"
    echo "DENDRIX_TEST_PGPORT=$port"
    ;;
  stop)
    if [ -d "$dir/data" ]; then
      as_server "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    fi
    ;;
esac
