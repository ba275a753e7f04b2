#!/usr/bin/env bash
# Screenshots of the program under a real window manager (openbox on a private X
# server), on the demo: where each window appears. Run it through with-servers.sh:
#
#   scripts/with-servers.sh scripts/desktop-shots.sh BUILD_DIR
#
# Writes docs/desktop-*.png. Builds nothing; waits for windows, not for time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: desktop-shots.sh BUILD_DIR}" && pwd)
program=$build/src/ui/dorvane
[ -x "$program" ] || { echo "not built: $program" >&2; exit 1; }
: "${DORVANE_PG_HOST:?run through scripts/with-servers.sh}"

work=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-desktop.XXXXXX")
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done

. "$root/scripts/demo/demo-lib.sh"
load_demo
write_demo_settings "$work/Quenlor.ini"
DORVANE_SETTINGS_FILE=$work/Quenlor.ini "$program" &
pids+=($!)

# The visible window of that title, once the window manager has framed it.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
# Clicks a point given in the window's client coordinates.
click() {
  local id=$1 x=$2 y=$3 left top
  left=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left X: *//p')
  top=$(xwininfo -id "$id" | sed -n 's/.*Absolute upper-left Y: *//p')
  xdotool mousemove $((left + x)) $((top + y)) click 1
}
settled() { sleep 0.5; }  # lets the window manager finish drawing before a shot
shot() { settled; import -window root "$root/docs/desktop-$1.png"; echo "wrote docs/desktop-$1.png"; }

# Both profiles connect: the transfer screen comes first, centred.
transfer=$(window Dorvane)
shot transfer-first
# "< Back": the connection screen where the transfer screen was.
click "$transfer" 136 377
while xwininfo -id "$transfer" | grep -q IsViewable; do sleep 0.2; done
shot connection-after-back
# A wrong PostgreSQL password, "Test Connection": the reason is one click away.
connection=$(window Dorvane)
click "$connection" 200 104
xdotool key ctrl+a type --delay 20 'wrong-password'
click "$connection" 144 173
until [ "$(xdotool search --onlyvisible --name '^Dorvane$' | wc -l)" -ge 2 ]; do sleep 0.2; done
shot failed-connection-test
xdotool key Return
click "$connection" 200 104
xdotool key ctrl+a type --delay 20 "$DORVANE_PG_PASSWORD"
# "Next >", then a table sent with customization: the dialog over its owner.
click "$connection" 268 439
while xwininfo -id "$connection" | grep -q IsViewable; do sleep 0.2; done
transfer=$(window Dorvane)
click "$transfer" 34 228
click "$transfer" 34 40
click "$transfer" 135 194
window 'Data Type Customization' >/dev/null
shot customization-dialog

# A long copy, and Esc in the middle of it: the question over the transfer screen. The
# program starts again, the dialog above left open; the long table comes first in its list.
kill "${pids[-1]}"
psql -X -q -v ON_ERROR_STOP=1 -h "$DORVANE_PG_HOST" -p "$DORVANE_PG_PORT" -U "$DORVANE_PG_USER" \
  -d "$DORVANE_PG_DATABASE" \
  -c "CREATE TABLE aaa_long_copy AS SELECT n, md5(n::text) AS s FROM generate_series(1, 200000) n"
DORVANE_SETTINGS_FILE=$work/Quenlor.ini "$program" &
pids+=($!)
transfer=$(window Dorvane)
click "$transfer" 300 41
click "$transfer" 399 194
# Once 5 000 rows have arrived (the bar has moved), Esc, pressed until the question shows.
rows_arrived() {
  printf 'SELECT COUNT(*) FROM [aaa_long_copy]\ngo\n' |
    tsql -H "$DORVANE_MSSQL_HOST" -p "$DORVANE_MSSQL_PORT" -U "$DORVANE_MSSQL_USER" \
      -P "$DORVANE_MSSQL_PASSWORD" -D "$DORVANE_MSSQL_DATABASE" -o q 2>/dev/null |
    grep -Eq '^[[:space:]]*([5-9][0-9]{3}|[1-9][0-9]{4,})[[:space:]]*$'
}
until rows_arrived; do sleep 0.2; done
until [ "$(xdotool search --onlyvisible --name '^Dorvane$' | wc -l)" -ge 2 ]; do
  xdotool key Escape
  sleep 0.3
done
shot stop-question
