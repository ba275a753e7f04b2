#!/usr/bin/env bash
# Configures and builds the project into build/ (or $DORVANE_BUILD_DIR).
# Arguments, when given, name the targets to build (default: everything).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${DORVANE_BUILD_TYPE:-RelWithDebInfo} \
  ${DORVANE_CMAKE_ARGS:-} >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
