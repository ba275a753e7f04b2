#!/usr/bin/env bash
# Starts a private PostgreSQL cluster and the SQL Server stand-in on loopback,
# exports their connection details, runs the given command, and stops both at exit.
#
# A real SQL Server is used instead of the stand-in when DORVANE_MSSQL_HOST is set
# (with DORVANE_MSSQL_PORT, _USER, _PASSWORD and _DATABASE). DORVANE_PG_EXTRA_OPTIONS adds
# server options to the cluster's start ("-c name=value ...").
#
# Exported for the tests:
#   DORVANE_PG_HOST DORVANE_PG_PORT DORVANE_PG_USER DORVANE_PG_PASSWORD DORVANE_PG_DATABASE
#   DORVANE_MSSQL_HOST DORVANE_MSSQL_PORT DORVANE_MSSQL_USER DORVANE_MSSQL_PASSWORD DORVANE_MSSQL_DATABASE
#   DORVANE_BACKEND_CONNINFO (libpq conninfo of the cluster, without a database)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build}
standin=$build/tools/tds-standin/dorvane-tds-standin

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$pg_bin/initdb" ] || { echo "PostgreSQL server binaries not found" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-servers.XXXXXX")
chmod 755 "$work"
# PostgreSQL refuses to run as root: run it as an unprivileged user then.
runas=()
if [ "$(id -u)" = 0 ]; then
  id -u postgres >/dev/null 2>&1 || useradd --system --no-create-home postgres
  chown postgres "$work"
  runas=(runuser -u postgres --)
fi

standin_pid=
cleanup() {
  status=$?
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null && wait "$standin_pid" 2>/dev/null
  if [ -f "$work/pg/postmaster.pid" ]; then
    "${runas[@]}" "$pg_bin/pg_ctl" -D "$work/pg" -m immediate stop >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
  exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

free_port() {
  local p
  while :; do
    p=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return; }
  done
}

export DORVANE_PG_HOST=127.0.0.1
export DORVANE_PG_PORT=${DORVANE_PG_PORT_OVERRIDE:-$(free_port)}
export DORVANE_PG_USER=dorvane
export DORVANE_PG_PASSWORD=dorvane-test-pw
export DORVANE_PG_DATABASE=dorvane_test

printf '%s\n' "$DORVANE_PG_PASSWORD" >"$work/pwfile"
chmod 644 "$work/pwfile"
"${runas[@]}" "$pg_bin/initdb" -D "$work/pg" -U "$DORVANE_PG_USER" --pwfile="$work/pwfile" \
  --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$work/initdb.log" 2>&1 \
  || { cat "$work/initdb.log" >&2; exit 1; }
mkdir -p "$work/sock" && chown "$(stat -c %u "$work")" "$work/sock"
"${runas[@]}" "$pg_bin/pg_ctl" -D "$work/pg" -l "$work/pg.log" -w -o \
  "-c listen_addresses=127.0.0.1 -p $DORVANE_PG_PORT -k $work/sock -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200 ${DORVANE_PG_EXTRA_OPTIONS:-}" \
  start >/dev/null || { cat "$work/pg.log" >&2; exit 1; }

export PGPASSWORD=$DORVANE_PG_PASSWORD
export DORVANE_BACKEND_CONNINFO="host=127.0.0.1 port=$DORVANE_PG_PORT user=$DORVANE_PG_USER password=$DORVANE_PG_PASSWORD"
psql_admin() { psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$DORVANE_PG_PORT" -U "$DORVANE_PG_USER" -d postgres "$@"; }
psql_admin -c "CREATE DATABASE $DORVANE_PG_DATABASE"

if [ -z "${DORVANE_MSSQL_HOST:-}" ]; then
  [ -x "$standin" ] || { echo "SQL Server stand-in not built: $standin" >&2; exit 1; }
  export DORVANE_MSSQL_HOST=127.0.0.1
  export DORVANE_MSSQL_PORT=$(free_port)
  export DORVANE_MSSQL_USER=sa
  export DORVANE_MSSQL_PASSWORD='Stand-in.Passw0rd'
  export DORVANE_MSSQL_DATABASE=dorvane
  # Each SQL Server database of the stand-in is a PostgreSQL database named standin_<name>.
  psql_admin -c "CREATE DATABASE standin_$DORVANE_MSSQL_DATABASE"
  "$standin" --listen 127.0.0.1 --port "$DORVANE_MSSQL_PORT" \
    --backend "$DORVANE_BACKEND_CONNINFO" --backend-prefix standin_ \
    --user "$DORVANE_MSSQL_USER" --password "$DORVANE_MSSQL_PASSWORD" \
    >"$work/standin.log" 2>&1 &
  standin_pid=$!
  for _ in $(seq 1 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$DORVANE_MSSQL_PORT") 2>/dev/null && break
    kill -0 "$standin_pid" 2>/dev/null || { cat "$work/standin.log" >&2; exit 1; }
    sleep 0.1
  done
  export DORVANE_STANDIN_LOG=$work/standin.log
fi

"$@"
