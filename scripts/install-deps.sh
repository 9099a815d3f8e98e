#!/usr/bin/env bash
# Installs what building, running and testing Ferolin needs on Debian 12.
set -euo pipefail
pkgs=(cmake g++ make qt6-base-dev libsqlite3-dev unixodbc-dev odbc-postgresql postgresql
      googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
