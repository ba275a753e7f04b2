#!/usr/bin/env bash
# Usage: scripts/demo-fast-compare.sh OUTPUT_FOLDER
#
# Runs the demo's copies (tools/demo-copies) twice on fresh servers, row by row and with
# "Fast copy", and writes for each the messages shown and every copied table's rows as the
# target holds them (row-by-row.txt, fast.txt), then their difference (difference.txt).
# The copies are the same where both runs brought a table; a table whose copy was refused
# is cut short row by row and left out entirely (rolled back) by a fast copy.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build}
tool=$build/tools/demo-copies/dorvane-demo-copies

if [ "${1:-}" = --inside ]; then
  mode=$2 out=$3
  demo=$root/scripts/demo
  . "$demo/demo-lib.sh"
  load_demo
  demo_table_names
  flag=()
  [ "$mode" = fast ] && flag=(--fast)
  {
    echo "== messages"
    LC_ALL=C.UTF-8 "$tool" "${flag[@]}" "$mssql_tables" "$pg_tables"
    # SQL Server's tables arrived in PostgreSQL under their own names, and the other way.
    for t in ${mssql_tables//,/ }; do
      echo "== PostgreSQL: $t"
      psql -X -q -A -h "$DORVANE_PG_HOST" -p "$DORVANE_PG_PORT" -U "$DORVANE_PG_USER" \
        -d "$DORVANE_PG_DATABASE" -c "SELECT * FROM \"$t\" ORDER BY 1" 2>&1 || true
    done
    for t in ${pg_tables//,/ }; do
      echo "== SQL Server: $t"
      printf 'SELECT * FROM [%s] ORDER BY 1\ngo\n' "$t" |
        tsql -H "$DORVANE_MSSQL_HOST" -p "$DORVANE_MSSQL_PORT" -U "$DORVANE_MSSQL_USER" \
          -P "$DORVANE_MSSQL_PASSWORD" -D "$DORVANE_MSSQL_DATABASE" -o q 2>&1 || true
    done
  } >"$out"
  exit 0
fi

out=${1:?usage: scripts/demo-fast-compare.sh OUTPUT_FOLDER}
mkdir -p "$out"
out=$(cd "$out" && pwd)
[ -x "$tool" ] || "$root/scripts/build.sh" dorvane-tds-standin dorvane-demo-copies
for mode in row-by-row fast; do
  "$root/scripts/with-servers.sh" "$0" --inside "$mode" "$out/$mode.txt"
done
diff "$out/row-by-row.txt" "$out/fast.txt" >"$out/difference.txt" || true
echo "written to $out (difference: $(wc -l <"$out/difference.txt") lines)"
