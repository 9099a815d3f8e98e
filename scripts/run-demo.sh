#!/usr/bin/env bash
# Installs what is needed, builds, and starts Ferolin on the embedded demo
# database (SQLite, build/app/datos/DEMO.db), logged in as the demo supervisor.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${FEROLIN_BUILD_DIR:-$here/build}

"$here/scripts/install-deps.sh"
FEROLIN_BUILD_DIR=$build "$here/scripts/build.sh"

exe=$build/app/ferolin
datos=$build/app/datos
if [ ! -f "$datos/DEMO.db" ] || [ ! -f "$datos/KV_ESTADISTICAS.db" ]; then
  echo "Creating the demo database in $datos"
  "$exe" --crear-demo "$datos"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
Ferolin is a desktop program and no display was found ($DISPLAY and $WAYLAND_DISPLAY are empty).
It is built and the demo database is ready. Run it in a graphical session, or under a
virtual display:
    xvfb-run -a bash scripts/run-demo.sh
or without any visible window (for a quick smoke run):
    QT_QPA_PLATFORM=offscreen bash scripts/run-demo.sh
MSG
  exit 2
fi

echo "Starting Ferolin on the demo database (user SUPERVISOR)."
echo "Type an account code (for example 11030005), Enter, a comment, Enter; F10 saves (GRABAR), F4 closes."
cd "$build/app"
exec "$exe" "@server=SQLITE; @dbname= DEMO; @usuario= supervisor; @Password= ; @ParametroAdicional=; @Caja=1;mirk@"
