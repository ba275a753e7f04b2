#!/usr/bin/env bash
# Runs inside with-servers.sh: loads the sample shop on both servers and opens the
# program with a private settings file that reaches them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build}
. "$root/scripts/demo/demo-lib.sh"

load_demo
settings_dir=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-demo.XXXXXX")
trap 'rm -rf "$settings_dir"' EXIT
export DORVANE_SETTINGS_FILE=$settings_dir/Quenlor.ini
write_demo_settings "$DORVANE_SETTINGS_FILE"
echo "Demo servers: PostgreSQL on port $DORVANE_PG_PORT, SQL Server stand-in on port $DORVANE_MSSQL_PORT."
"$build/src/ui/dorvane"
