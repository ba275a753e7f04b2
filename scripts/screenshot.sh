#!/usr/bin/env bash
# Takes screenshots of the program's windows under a private X server.
#
#   scripts/screenshot.sh BUILD_DIR            docs/connection-screen.png, and
#                                              docs/transfer-screen.png when the test
#                                              servers' variables are set (run it through
#                                              scripts/with-servers.sh for that)
#   scripts/screenshot.sh BUILD_DIR --example  assets/local-connection-example.jpg
#
# Builds nothing. Each run uses a settings file of its own (DORVANE_SETTINGS_FILE).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: screenshot.sh BUILD_DIR [--example]}
program=$(cd "$build" && pwd)/src/ui/dorvane
[ -x "$program" ] || { echo "not built: $program" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-shots.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Writes the settings file: KEY=VALUE pairs as QSettings stores them (blanks in keys
# as %20, backslashes in values doubled).
write_settings() {
  local file=$1; shift
  { echo "[Dorvane]"
    for pair in "$@"; do
      local key=${pair%%=*} value=${pair#*=}
      printf '%s=%s\n' "${key// /%20}" "${value//\\/\\\\}"
    done
  } >"$file"
  chmod 600 "$file"
}

# Runs the program, waits for its window, saves the screen cropped to the window.
shoot() {
  local settings=$1 out=$2 wait=$3
  DORVANE_SETTINGS_FILE=$settings xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c '"$1" & pid=$!; sleep "$3"; import -window root "$2"; kill $pid' _ \
    "$program" "$work/screen.png" "$wait"
  convert "$work/screen.png" -trim +repage "$out"
}

if [ "${2:-}" = "--example" ]; then
  write_settings "$work/example.ini" \
    "PostgreSQLServer=localhost" "PostgreSQLPort=5432" "PostgreSQLUser=postgres" \
    "PostgreSQLPassword=secret" "PostgreSQLDatabase=sales" \
    "MSSQLServer=localhost\\SQLEXPRESS" "MSSQLPort=1433" "MSSQLUser=sa" \
    "MSSQLPassword=secret" "MSSQLDatabase=Sales" "Local Connection=1"
  # Nothing listens on those servers here, so the connection screen stays.
  shoot "$work/example.ini" "$work/example.png" 4
  convert "$work/example.png" -quality 90 "$root/assets/local-connection-example.jpg"
  echo "wrote assets/local-connection-example.jpg"
  exit 0
fi

mkdir -p "$root/docs"
write_settings "$work/first-start.ini"
shoot "$work/first-start.ini" "$root/docs/connection-screen.png" 3
echo "wrote docs/connection-screen.png"

if [ -n "${DORVANE_PG_HOST:-}" ] && [ -n "${DORVANE_MSSQL_HOST:-}" ]; then
  psql_run() { psql -X -q -h "$DORVANE_PG_HOST" -p "$DORVANE_PG_PORT" -U "$DORVANE_PG_USER" "$@"; }
  export PGPASSWORD=$DORVANE_PG_PASSWORD
  psql_run -d "$DORVANE_PG_DATABASE" -c "CREATE TABLE IF NOT EXISTS invoices (id int); CREATE TABLE IF NOT EXISTS Customers (id int);"
  printf 'CREATE TABLE orders (id int)\nGO\nCREATE TABLE Products (id int)\nGO\nCREATE TABLE employees (id int)\nGO\n' |
    tsql -H "$DORVANE_MSSQL_HOST" -p "$DORVANE_MSSQL_PORT" -U "$DORVANE_MSSQL_USER" \
      -P "$DORVANE_MSSQL_PASSWORD" -D "$DORVANE_MSSQL_DATABASE" >/dev/null 2>&1 || true
  write_settings "$work/servers.ini" \
    "PostgreSQLServer=$DORVANE_PG_HOST" "PostgreSQLPort=$DORVANE_PG_PORT" \
    "PostgreSQLUser=$DORVANE_PG_USER" "PostgreSQLPassword=$DORVANE_PG_PASSWORD" \
    "PostgreSQLDatabase=$DORVANE_PG_DATABASE" "MSSQLServer=$DORVANE_MSSQL_HOST" \
    "MSSQLPort=$DORVANE_MSSQL_PORT" "MSSQLUser=$DORVANE_MSSQL_USER" \
    "MSSQLPassword=$DORVANE_MSSQL_PASSWORD" "MSSQLDatabase=$DORVANE_MSSQL_DATABASE" \
    "Local Connection=0"
  # Both profiles connect, so the program moves on to the transfer screen by itself.
  shoot "$work/servers.ini" "$root/docs/transfer-screen.png" 5
  echo "wrote docs/transfer-screen.png"
fi
