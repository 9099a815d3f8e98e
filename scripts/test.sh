#!/usr/bin/env bash
# Installs, builds and runs every test. PostgreSQL tests run against a
# throwaway cluster this script starts (scripts/with-postgres.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" -DFEROLIN_WERROR=ON
build=${FEROLIN_BUILD_DIR:-$here/build}
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)" -LE pg
if ctest -N -L pg | grep -q "Total Tests: [1-9]"; then
  "$here/scripts/with-postgres.sh" ctest --output-on-failure -L pg
fi
