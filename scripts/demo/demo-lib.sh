# Sourced by the scripts that run on the demo, inside with-servers.sh.

demo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Loads the sample shop on both test servers.
load_demo() {
  psql -X -q -v ON_ERROR_STOP=1 -h "$DORVANE_PG_HOST" -p "$DORVANE_PG_PORT" -U "$DORVANE_PG_USER" \
    -d "$DORVANE_PG_DATABASE" -f "$demo_dir/postgres-shop.sql"
  tsql -H "$DORVANE_MSSQL_HOST" -p "$DORVANE_MSSQL_PORT" -U "$DORVANE_MSSQL_USER" \
    -P "$DORVANE_MSSQL_PASSWORD" -D "$DORVANE_MSSQL_DATABASE" -o q \
    <"$demo_dir/sqlserver-shop.sql" >/dev/null
}

# Sets mssql_tables and pg_tables to the tables the demo creates on each side, by name and
# comma-separated, so that copies made in between are not sent back.
demo_table_names() {
  mssql_tables=$(sed -n 's/^CREATE TABLE \[\([^]]*\)\].*/\1/p' "$demo_dir/sqlserver-shop.sql" | paste -sd,)
  pg_tables=$(sed -n 's/^CREATE TABLE \([A-Za-z0-9_]*\).*/\1/p' "$demo_dir/postgres-shop.sql" | paste -sd,)
}

# Writes a settings file whose profiles reach both test servers, readable by its owner.
write_demo_settings() {
  cat >"$1" <<INI
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
  chmod 600 "$1"
}
