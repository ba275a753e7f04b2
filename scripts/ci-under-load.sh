#!/usr/bin/env bash
# Usage: scripts/ci-under-load.sh [RUNS] [WORK_FOLDER]
#
# Runs .ci/run RUNS times in a row (default 3), each on a fresh clone of this checkout's
# HEAD, while a clean build of another clone runs in a loop on every core, as a busy
# CI machine would. Stops at the first failing run. Logs go to WORK_FOLDER (default a new
# temporary folder): run-N.log, and the competing builds' compete.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
work=${2:-$(mktemp -d "${TMPDIR:-/tmp}/dorvane-ci-load.XXXXXX")}
mkdir -p "$work"
work=$(cd "$work" && pwd)

git clone -q "$root" "$work/compete-src"
done_flag=$work/done
compete() {
  while [ ! -e "$done_flag" ]; do
    rm -rf "$work/compete-build"
    cmake -S "$work/compete-src" -B "$work/compete-build" -G Ninja >/dev/null 2>&1 || true
    cmake --build "$work/compete-build" -j "$(nproc)" >/dev/null 2>&1 || true
    echo "competing build ended $(date -u +%T)" >>"$work/compete.log"
  done
}
compete &
competitor=$!
trap 'touch "$done_flag"; pkill -P "$competitor" 2>/dev/null; kill "$competitor" 2>/dev/null || true' EXIT

for n in $(seq 1 "$runs"); do
  rm -rf "$work/clone"
  git clone -q "$root" "$work/clone"
  start=$(date +%s)
  if (cd "$work/clone" && ./.ci/run) >"$work/run-$n.log" 2>&1; then
    echo "run $n of $runs passed in $(( ($(date +%s) - start) / 60 )) min"
  else
    echo "run $n of $runs failed; see $work/run-$n.log"
    exit 1
  fi
done
echo "all $runs runs passed; logs in $work"
