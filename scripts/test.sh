#!/usr/bin/env bash
# Installs what is missing, builds, starts the servers the tests need and runs every
# test (the normal build, then the sanitizer build when DORVANE_SKIP_SANITIZE is unset).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh
status=0
bash scripts/with-servers.sh ctest --test-dir "${DORVANE_BUILD_DIR:-$root/build}" \
  --output-on-failure -j 2 --timeout 600 || status=$?
if [ -z "${DORVANE_SKIP_SANITIZE:-}" ]; then
  bash scripts/test-sanitized.sh || status=$?
fi
exit $status
