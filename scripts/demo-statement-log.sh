#!/usr/bin/env bash
# Usage: scripts/demo-statement-log.sh OUTPUT_FILE
#
# Loads the demo on fresh servers (with-servers.sh), runs the demo's copies headless
# (tools/demo-copies) and writes every statement PostgreSQL received, normalised so that
# two runs of the same code give the same file, followed by the messages the run showed.
# Two builds' files differ only where the SQL (or a message) of a user's copy changed.
#
# The SQL Server stand-in keeps its databases in the same cluster, so the SQL Server
# side of each copy is in the log too, as the stand-in runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build}
tool=$build/tools/demo-copies/dorvane-demo-copies
marker_app=demo-statement-log

# The part that runs under with-servers.sh (see the end).
if [ "${1:-}" = --inside ]; then
  logdir=$2 out=$3
  demo=$root/scripts/demo
  . "$demo/demo-lib.sh"
  load_demo
  demo_table_names
  LC_ALL=C.UTF-8 "$tool" "$mssql_tables" "$pg_tables" >"$logdir/messages.txt"

  # Statements reach the log file through the logging collector, later: one last
  # statement, once in the file, shows that everything sent before it is there as well.
  PGAPPNAME=$marker_app psql -X -q -h "$DORVANE_PG_HOST" -p "$DORVANE_PG_PORT" \
    -U "$DORVANE_PG_USER" -d "$DORVANE_PG_DATABASE" -c "SELECT 'end of the demo copies'" >/dev/null
  for _ in $(seq 1 100); do
    grep -q "end of the demo copies" "$logdir/statements.csv" 2>/dev/null && break
    sleep 0.1
  done
  grep -q "end of the demo copies" "$logdir/statements.csv" \
    || { echo "the statement log did not catch up" >&2; exit 1; }

  # Sessions run side by side (the program logs in to both servers at once, and the
  # stand-in has its own backend sessions), so the order across sessions depends on
  # timing. Each client (database, user, application) keeps its own statements in the
  # order received, its sessions numbered by their first statement; clients come in name
  # order. Ports, PIDs, times and the temporary folder's name are left out or replaced.
  python3 - "$logdir/statements.csv" "$marker_app" "$DORVANE_PG_PORT" "$DORVANE_MSSQL_PORT" \
    "$logdir" >"$out" <<'PY'
import csv, re, sys
path, marker_app, pg_port, mssql_port, logdir = sys.argv[1:]
clients = {}  # (database, user, application) -> its session ids, its lines
last = {}     # the client's session of its latest line
with open(path, newline='', encoding='utf-8') as f:
    for row in csv.reader(f):
        user, database, session, severity = row[1], row[2], row[5], row[11]
        state, message, detail, application, backend = row[12], row[13], row[14], row[22], row[23]
        if backend != 'client backend' or application == marker_app:
            continue
        client = (database, user, application)
        sessions, lines = clients.setdefault(client, ([], []))
        if session not in sessions:
            sessions.append(session)
        if last.get(client) != session:  # a new session, or back to an earlier one
            lines.append('-- session %d' % (sessions.index(session) + 1))
            last[client] = session
        text = message if severity == 'LOG' else '%s %s: %s' % (severity, state, message)
        if detail:
            text += '\n  DETAIL: ' + detail
        for value, name in ((logdir, '<logdir>'), (pg_port, '<pg-port>'), (mssql_port, '<mssql-port>')):
            text = text.replace(value, name)
        # The ODBC driver names cursors and savepoints after memory addresses.
        text = re.sub(r'0x[0-9a-f]{6,}', '0x<address>', text)
        lines.append(text)
for (database, user, application), (_, lines) in sorted(clients.items()):
    print('== database %s, user %s, application %s' % (database, user, application or '-'))
    print('\n'.join(lines))
PY
  { echo "== messages shown"; cat "$logdir/messages.txt"; } >>"$out"
  exit 0
fi

[ $# = 1 ] || { echo "usage: $0 OUTPUT_FILE" >&2; exit 2; }
out=$(realpath -m "$1")
[ -x "$tool" ] || { echo "not built: $tool (scripts/build.sh dorvane-demo-copies)" >&2; exit 1; }
logdir=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-statements.XXXXXX")
trap 'rm -rf "$logdir"' EXIT
# The cluster runs as postgres when we are root (see with-servers.sh); its collector
# writes here.
if [ "$(id -u)" = 0 ]; then
  id -u postgres >/dev/null 2>&1 || useradd --system --no-create-home postgres
  chown postgres "$logdir"
fi
DORVANE_PG_EXTRA_OPTIONS="${DORVANE_PG_EXTRA_OPTIONS:-} -c log_statement=all \
-c logging_collector=on -c log_destination=csvlog -c log_directory=$logdir \
-c log_filename=statements.log" \
  bash "$root/scripts/with-servers.sh" bash "$0" --inside "$logdir" "$out"
