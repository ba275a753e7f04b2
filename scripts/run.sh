#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on a demo: a private
# PostgreSQL cluster and the SQL Server stand-in, each holding a small shop database,
# with a private settings file filled in to reach both. Your own saved profiles are
# never touched. Everything stops when the program's window is closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh dorvane dorvane-tds-standin
exec bash scripts/with-servers.sh bash scripts/demo/start-demo.sh
