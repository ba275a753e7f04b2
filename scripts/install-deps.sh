#!/usr/bin/env bash
# Installs every Debian package the project needs and registers the ODBC drivers.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  g++ clang libclang-rt-14-dev cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins libgl-dev
  unixodbc unixodbc-dev odbc-postgresql tdsodbc freetds-bin
  postgresql libpq-dev
  libgtest-dev googletest
  fonts-liberation xvfb xauth imagemagick xdg-utils openbox xdotool x11-utils
)

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The program names its drivers "SQL Server" and "PostgreSQL Unicode"; on Linux the
# first is FreeTDS, registered under that name.
if ! odbcinst -q -d -n "SQL Server" >/dev/null 2>&1; then
  tds=$(find /usr/lib -name libtdsodbc.so 2>/dev/null | head -n 1)
  [ -n "$tds" ] || { echo "libtdsodbc.so not found" >&2; exit 1; }
  tmp=$(mktemp)
  printf '[SQL Server]\nDescription=FreeTDS driver for Microsoft SQL Server\nDriver=%s\nUsageCount=1\n' "$tds" >"$tmp"
  "${sudo_cmd[@]}" odbcinst -i -d -f "$tmp" >/dev/null
  rm -f "$tmp"
fi
if ! odbcinst -q -d -n "PostgreSQL Unicode" >/dev/null 2>&1; then
  echo "The ODBC driver \"PostgreSQL Unicode\" is not registered (package odbc-postgresql)." >&2
  exit 1
fi
