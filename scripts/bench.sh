#!/usr/bin/env bash
# Builds and runs every benchmark under bench/ (Release build in build-bench/).
# The PostgreSQL benchmarks (pg_*) run against a throw-away local server.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
FEROLIN_BUILD_DIR=$here/build-bench "$here/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in "$here"/build-bench/bench/*; do
  [ -x "$b" ] && [ -f "$b" ] || continue
  name=$(basename "$b")
  echo "== $name"
  case "$name" in
    pg_*) "$here/scripts/with-postgres.sh" "$b" "$@" ;;
    *) "$b" "$@" ;;
  esac
done
