#!/usr/bin/env bash
# Runs inside with-servers.sh: loads the sample shop on both servers and opens the
# program with a private settings file that reaches them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build}
here=$root/scripts/demo

psql -X -q -v ON_ERROR_STOP=1 -h "$DORVANE_PG_HOST" -p "$DORVANE_PG_PORT" -U "$DORVANE_PG_USER" \
  -d "$DORVANE_PG_DATABASE" -f "$here/postgres-shop.sql"
tsql -H "$DORVANE_MSSQL_HOST" -p "$DORVANE_MSSQL_PORT" -U "$DORVANE_MSSQL_USER" \
  -P "$DORVANE_MSSQL_PASSWORD" -D "$DORVANE_MSSQL_DATABASE" -o q <"$here/sqlserver-shop.sql" >/dev/null

settings_dir=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-demo.XXXXXX")
trap 'rm -rf "$settings_dir"' EXIT
export DORVANE_SETTINGS_FILE=$settings_dir/Quenlor.ini
cat >"$DORVANE_SETTINGS_FILE" <<INI
[Dorvane]
PostgreSQLServer=$DORVANE_PG_HOST
PostgreSQLPort=$DORVANE_PG_PORT
PostgreSQLUser=$DORVANE_PG_USER
PostgreSQLPassword=$DORVANE_PG_PASSWORD
PostgreSQLDatabase=$DORVANE_PG_DATABASE
MSSQLServer=$DORVANE_MSSQL_HOST
MSSQLPort=$DORVANE_MSSQL_PORT
MSSQLUser=$DORVANE_MSSQL_USER
MSSQLPassword=$DORVANE_MSSQL_PASSWORD
MSSQLDatabase=$DORVANE_MSSQL_DATABASE
INI
chmod 600 "$DORVANE_SETTINGS_FILE"
echo "Demo servers: PostgreSQL on port $DORVANE_PG_PORT, SQL Server stand-in on port $DORVANE_MSSQL_PORT."
"$build/src/ui/dorvane"
