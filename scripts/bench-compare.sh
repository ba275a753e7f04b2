#!/usr/bin/env bash
# Holds the fast copy and the copy row by row of the working tree against those of an older
# revision, side by side in one run: both benchmarks are built, the test servers start once,
# and the two binaries take turns (old, new, old, new, ...), so that what else the machine
# does falls on both. Prints each rate of both (median of the turns) and new/old.
#
#   scripts/bench-compare.sh OLD_REV [--turns N] [--scale F] [benchmark arguments...]
#   scripts/bench-compare.sh HEAD~3 --scale 0.1                  a quick try, a few minutes
#   scripts/bench-compare.sh main --turns 5 --shapes wide --fast-only
#
# --turns N: turns of each binary (3). --scale F: 50 000 x F narrow rows, a fifth as many
# wide (1). Other arguments go to both benchmarks (dorvane_bench --help), after
# "--no-copy --fast-rows N". The working tree builds into build-bench/ (or $DORVANE_BUILD_DIR),
# OLD_REV into build-bench-old/ (or $DORVANE_OLD_BUILD_DIR) from a worktree checked out
# under it and removed afterwards; the build stays for the next run. Each run's output is
# kept in <new build>/bench-compare/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build-bench}
old_build=${DORVANE_OLD_BUILD_DIR:-$root/build-bench-old}
jobs=${DORVANE_BENCH_JOBS:-2}

usage() {
  sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}
[ $# -ge 1 ] || usage
case $1 in -h | --help) usage ;; esac
old_rev=$1
shift
turns=3
scale=1
bench_args=()
while [ $# -gt 0 ]; do
  case $1 in
    --turns) turns=${2:?}; shift 2 ;;
    --scale) scale=${2:?}; shift 2 ;;
    *) bench_args+=("$1"); shift ;;
  esac
done
fast_rows=$(awk -v s="$scale" 'BEGIN { n = int(50000 * s); print (n > 0 ? n : 1) }')
old_commit=$(git -C "$root" rev-parse --verify "$old_rev^{commit}")
new_label="working tree at $(git -C "$root" rev-parse --short HEAD)"
[ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ] && new_label+=" with changes"

build_tree() {  # source folder, build folder, targets
  local source=$1 into=$2 target targets=()
  shift 2
  for target in "$@"; do targets+=(--target "$target"); done
  cmake -S "$source" -B "$into" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${DORVANE_CMAKE_ARGS:-} >/dev/null
  cmake --build "$into" -j "$jobs" "${targets[@]}" >"$into/bench-compare-build.log" 2>&1 \
    || { tail -n 30 "$into/bench-compare-build.log" >&2; exit 1; }
}

echo "building the working tree's benchmark in $build"
mkdir -p "$build"
# The servers run with the working tree's stand-in.
build_tree "$root" "$build" dorvane_bench dorvane-tds-standin

# The old revision is checked out at the same path every time, so its build folder's
# cache stays valid; the binary is kept until another revision is asked for.
old_source=$old_build/source
old_binary=$old_build/build/bench/dorvane_bench
if [ "$(cat "$old_build/built-commit" 2>/dev/null)" != "$old_commit" ] || [ ! -x "$old_binary" ]; then
  echo "building $old_rev ($(git -C "$root" rev-parse --short "$old_commit")) in $old_build"
  mkdir -p "$old_build/build"
  remove_worktree() {
    git -C "$root" worktree remove --force "$old_source" 2>/dev/null || rm -rf "$old_source"
    git -C "$root" worktree prune
  }
  [ -e "$old_source" ] && remove_worktree
  trap remove_worktree EXIT
  git -C "$root" worktree add --detach --quiet "$old_source" "$old_commit"
  rm -f "$old_build/built-commit"
  build_tree "$old_source" "$old_build/build" dorvane_bench
  echo "$old_commit" >"$old_build/built-commit"
  remove_worktree
  trap - EXIT
fi

logs=$build/bench-compare
rm -rf "$logs"
mkdir -p "$logs"

# Runs inside with-servers.sh: the turns, each binary's output kept, its figures collected
# as "SIDE TURN SHAPE DIRECTION COPY RATE" lines.
run_turns() {
  local logs=$1 turns=$2 old=$3 new=$4
  shift 4
  local turn side binary extra
  for turn in $(seq 1 "$turns"); do
    for side in old new; do
      binary=$old
      [ "$side" = new ] && binary=$new
      extra=()
      # A benchmark that prints its figures one per line says so in its usage.
      "$binary" --help 2>&1 | grep -q -- --figures && extra=(--figures)
      echo "turn $turn, $side" >&2
      "$binary" "$@" "${extra[@]}" >"$logs/$side-$turn.txt" 2>"$logs/$side-$turn.err" \
        || { echo "the $side benchmark failed:" >&2; tail -n 20 "$logs/$side-$turn.err" >&2; return 1; }
      if [ ${#extra[@]} -gt 0 ]; then
        awk '$1 == "figure" { print $2, $3, $4, $5 }' "$logs/$side-$turn.txt"
      else
        bench_figures <"$logs/$side-$turn.txt"
      fi | sed "s/^/$side $turn /" >>"$logs/figures.txt"
    done
  done
}

# The same figures read from the printed comparison of a benchmark without --figures.
bench_figures() {
  awk '
    /^"Fast copy" and the copy row by row on the same rows, / {
      shape = $0; sub(/.* same rows, /, "", shape); sub(/ .*/, "", shape)
    }
    /^to (SQL Server|PostgreSQL) / {
      direction = $2 == "SQL" ? "to-sqlserver" : "to-postgresql"
      n = 0
      for (i = 2; i <= NF; i++)
        if ($i == "rows/s") print shape, direction, (n++ ? "by-row" : "fast"), $(i - 1)
    }
    $1 == "read" && $2 == "alone" { print shape, direction, "read", $3 }'
}
export -f run_turns bench_figures

echo "turns: $turns of each, old then new; --no-copy --fast-rows $fast_rows ${bench_args[*]}"
DORVANE_BUILD_DIR=$build DORVANE_PG_EXTRA_OPTIONS="-c autovacuum=off" \
  "$root/scripts/with-servers.sh" bash -c 'run_turns "$@"' run_turns "$logs" "$turns" \
  "$old_binary" "$build/bench/dorvane_bench" --no-copy --fast-rows "$fast_rows" "${bench_args[@]}"

for f in "$logs"/*-*.txt; do
  grep -E 'shown|lacks rows' "$f" | sed "s|^|$(basename "$f" .txt): |" || true
done

echo
echo "old: $old_rev ($(git -C "$root" rev-parse --short "$old_commit")); new: $new_label"
awk -v turns="$turns" '
  function median(list,    n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 1; i <= n; i++) v[i] += 0
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
  }
  {
    key = $3 " " $4 " " $5
    if (!(key in seen)) { seen[key] = 1; order[++keys] = key }
    rate[$1, $2, key] = $6
  }
  END {
    names["to-sqlserver"] = "to SQL Server"; names["to-postgresql"] = "to PostgreSQL"
    names["fast"] = "fast"; names["by-row"] = "row by row"; names["read"] = "read alone"
    printf "rows/s, median of %d turns; new/old: of the medians, and of each turn (old, then new)\n", turns
    printf "%-7s %-14s %-11s %10s %10s %8s  %s\n", "shape", "direction", "copy", "old", "new", "new/old", "turns"
    for (k = 1; k <= keys; k++) {
      split(order[k], p, " ")
      olds = news = each = ""
      for (t = 1; t <= turns; t++) {
        if (("old", t, order[k]) in rate) olds = olds " " rate["old", t, order[k]]
        if (("new", t, order[k]) in rate) news = news " " rate["new", t, order[k]]
        if (("old", t, order[k]) in rate && ("new", t, order[k]) in rate && rate["old", t, order[k]] > 0)
          each = each sprintf(" %.3f", rate["new", t, order[k]] / rate["old", t, order[k]])
      }
      if (olds == "" || news == "") {
        printf "%-7s %-14s %-11s %s\n", p[1], names[p[2]], names[p[3]], olds == "" ? "not in old" : "not in new"
        continue
      }
      o = median(olds); n = median(news)
      printf "%-7s %-14s %-11s %10.0f %10.0f %8.3f %s\n", p[1], names[p[2]], names[p[3]], o, n, (o > 0 ? n / o : 0), each
    }
    printf "\nfast copy / read alone, median of the turns (each turn: its fast copy over its read)\n"
    printf "%-7s %-14s %8s %8s\n", "shape", "direction", "old", "new"
    for (k = 1; k <= keys; k++) {
      split(order[k], p, " ")
      if (p[3] != "fast") continue
      readKey = p[1] " " p[2] " read"
      line = sprintf("%-7s %-14s", p[1], names[p[2]])
      for (s = 1; s <= 2; s++) {
        side = s == 1 ? "old" : "new"; list = ""
        for (t = 1; t <= turns; t++)
          if ((side, t, order[k]) in rate && (side, t, readKey) in rate && rate[side, t, readKey] > 0)
            list = list " " rate[side, t, order[k]] / rate[side, t, readKey]
        line = line (list == "" ? sprintf(" %8s", "-") : sprintf(" %8.2f", median(list)))
      }
      print line
    }
  }' "$logs/figures.txt"
echo "(both on this machine in one run; each run's output: $logs)"
