#!/usr/bin/env bash
# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (or $DORVANE_ASAN_BUILD_DIR), under its own test servers. With clang the
# libFuzzer targets are built and run briefly as well (label "fuzz").
# The 100 000-row copy (TransferBulkCopy) is left out: it proves speed, not memory safety,
# and takes many minutes under the sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${DORVANE_ASAN_BUILD_DIR:-$root/build-asan}

compiler=()
fuzz=OFF
if command -v clang++ >/dev/null 2>&1; then
  compiler=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
  fuzz=ON
fi
DORVANE_BUILD_DIR=$build \
  DORVANE_CMAKE_ARGS="-DDORVANE_SANITIZE=ON -DDORVANE_FUZZ=$fuzz ${compiler[*]}" \
  bash "$root/scripts/build.sh"

supp=$root/tests/sanitizers
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp
DORVANE_BUILD_DIR=$build bash "$root/scripts/with-servers.sh" \
  ctest --test-dir "$build" --output-on-failure -j 2 --timeout 900 -E "^TransferBulkCopy\."
