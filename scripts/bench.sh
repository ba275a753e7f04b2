#!/usr/bin/env bash
# Builds the benchmark into build-bench/ (or $DORVANE_BUILD_DIR), measures the start-up
# under a virtual X server, starts the test servers and prints the benchmark's figures.
#
#   scripts/bench.sh                      every copy at full size, and 5 000 000-row reads
#   scripts/bench.sh --scale 0.1          a quick try: a tenth of the rows, no large reads
#   scripts/bench.sh --shapes narrow --memory-rows 1000000
#
# Arguments go to the benchmark (dorvane_bench --help). DORVANE_BENCH_JOBS sets the
# build's parallel jobs (2); DORVANE_BENCH_SKIP_STARTUP=1 skips the start-up figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build-bench}
export DORVANE_BUILD_DIR=$build

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${DORVANE_BENCH_JOBS:-2}" \
  --target dorvane_bench dorvane-tds-standin dorvane >/dev/null

[ $# -eq 0 ] && set -- --memory-rows 5000000

if [ "${DORVANE_BENCH_SKIP_STARTUP:-0}" != 1 ]; then
  if command -v xvfb-run >/dev/null; then
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/dorvane-bench.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
    echo "start-up with an empty settings store (ms from process start; five runs):"
    for _ in 1 2 3 4 5; do
      rm -f "$scratch/settings.ini"
      DORVANE_REPORT_STARTUP=1 DORVANE_SETTINGS_FILE="$scratch/settings.ini" QT_QPA_PLATFORM=xcb \
        timeout 60 xvfb-run -a "$build/src/ui/dorvane" 2>/dev/null | sed 's/^/  /'
    done
    echo
  else
    echo "start-up: skipped, xvfb-run is not installed (apt-get install xvfb)"
  fi
fi

# No autovacuum: its analysis of a table being filled takes half a core for seconds, at
# moments that fall on the copy in one turn and on the bare loop in the next.
DORVANE_PG_EXTRA_OPTIONS="-c autovacuum=off" \
  "$root/scripts/with-servers.sh" "$build/bench/dorvane_bench" "$@"
