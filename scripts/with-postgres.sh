#!/usr/bin/env bash
# Runs a command against a throw-away PostgreSQL 15 cluster:
#   scripts/with-postgres.sh ctest --output-on-failure -L pg
# The cluster lives in a temporary folder, listens on 127.0.0.1 on a free port
# and is stopped and removed on every exit path. The command sees a private
# ODBC configuration (ODBCSYSINI/ODBCINI) with the data source $FEROLIN_PG_DSN
# (and $FEROLIN_PG_CURSOR_DSN, which streams results through a server cursor)
# and the FEROLIN_PG_* variables below. No system file or service is touched.
# When the server cannot be started the script fails; it never skips.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 command [args...]" >&2
  exit 2
fi

here=$(cd "$(dirname "$0")/.." && pwd)
pgbin=${FEROLIN_PG_BIN:-/usr/lib/postgresql/15/bin}
driver_lib=${FEROLIN_PG_ODBC_LIB:-/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so}
for f in "$pgbin/initdb" "$pgbin/pg_ctl" "$driver_lib"; do
  [ -e "$f" ] || { echo "with-postgres: missing $f" >&2; exit 1; }
done
command -v psql >/dev/null || { echo "with-postgres: psql not found" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/ferolin-pg-XXXXXX")
chmod 755 "$work"

# The server refuses to run as root: CI runs as root, so run it as an
# unprivileged account then.
run_server() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  pguser=postgres
  getent passwd "$pguser" >/dev/null || pguser=nobody
  run_server() { runuser -u "$pguser" -- "$@"; }
fi

started=0
cleanup() {
  local rc=$?
  if [ "$started" -eq 1 ]; then
    run_server "$pgbin/pg_ctl" -D "$work/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

admin_user=ferolin_admin
admin_password="adm-$RANDOM$RANDOM"
printf '%s\n' "$admin_password" >"$work/pwfile"
mkdir -p "$work/data" "$work/sock" "$work/log"
if [ "$(id -u)" -eq 0 ]; then chown "$pguser" "$work/data" "$work/sock" "$work/log" "$work/pwfile"; fi

if ! run_server "$pgbin/initdb" -D "$work/data" -U "$admin_user" --pwfile="$work/pwfile" \
    --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 \
    >"$work/initdb.log" 2>&1; then
  cat "$work/initdb.log" >&2
  echo "with-postgres: initdb failed" >&2
  exit 1
fi

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

for attempt in 1 2 3 4 5; do
  port=$((20000 + (RANDOM % 20000)))
  port_in_use "$port" && continue
  if run_server "$pgbin/pg_ctl" -D "$work/data" -l "$work/log/server.log" -w -t 30 \
      -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories=$work/sock -c fsync=off -c full_page_writes=off -c synchronous_commit=off" \
      start >>"$work/pg_ctl.out" 2>&1; then
    started=1
    break
  fi
done
if [ "$started" -ne 1 ]; then
  cat "$work/pg_ctl.out" "$work/log/server.log" >&2 2>/dev/null || true
  echo "with-postgres: PostgreSQL did not start" >&2
  exit 1
fi

# Log-ins and databases as the suite has them: the application database and
# KV_ESTADISTICAS, each owned by its own log-in.
main_db=GESTION
main_user=FEROLIN
main_password=Ferolin.603
stats_db=KV_ESTADISTICAS
stats_user=KV_ESTADISTICAS
stats_password=QT_MIRANDOLESCA

psql_as() {  # user password database [psql args...]
  local user=$1 password=$2 db=$3
  shift 3
  PGPASSWORD=$password psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U "$user" -d "$db" "$@"
}

psql_as "$admin_user" "$admin_password" postgres <<SQL
CREATE ROLE "$main_user" LOGIN PASSWORD '$main_password';
CREATE ROLE "$stats_user" LOGIN PASSWORD '$stats_password';
CREATE DATABASE "$main_db" OWNER "$main_user";
CREATE DATABASE "$stats_db" OWNER "$stats_user";
REVOKE CONNECT ON DATABASE "$main_db" FROM PUBLIC;
REVOKE CONNECT ON DATABASE "$stats_db" FROM PUBLIC;
SQL
psql_as "$main_user" "$main_password" "$main_db" -f "$here/schema/postgres/comun.sql" \
  -f "$here/schema/postgres/principal.sql" >/dev/null
psql_as "$stats_user" "$stats_password" "$stats_db" -f "$here/schema/postgres/comun.sql" \
  -f "$here/schema/postgres/estadisticas.sql" >/dev/null

# Private ODBC configuration; unixODBC reads it at the first ODBC call.
dsn=FEROLIN_PG
cursor_dsn=FEROLIN_PG_CURSOR
driver_name="Ferolin PostgreSQL Unicode"
mkdir -p "$work/odbc"
cat >"$work/odbc/odbcinst.ini" <<INI
[$driver_name]
Description=psqlODBC for the Ferolin tests
Driver=$driver_lib
INI
cat >"$work/odbc/odbc.ini" <<INI
[$dsn]
Driver=$driver_name
Servername=127.0.0.1
Port=$port
Database=$main_db
SSLMode=disable

[$cursor_dsn]
Driver=$driver_name
Servername=127.0.0.1
Port=$port
Database=$main_db
SSLMode=disable
UseDeclareFetch=1
Fetch=100
INI

export ODBCSYSINI="$work/odbc"
export ODBCINI="$work/odbc/odbc.ini"
export FEROLIN_ODBC_DRIVER="$driver_name"
export FEROLIN_PG_DSN="$dsn"
export FEROLIN_PG_CURSOR_DSN="$cursor_dsn"
export FEROLIN_PG_HOST=127.0.0.1
export FEROLIN_PG_PORT="$port"
export FEROLIN_PG_ADMIN_USER="$admin_user"
export FEROLIN_PG_ADMIN_PASSWORD="$admin_password"
export FEROLIN_PG_DATABASE="$main_db"
export FEROLIN_PG_USER="$main_user"
export FEROLIN_PG_PASSWORD="$main_password"
export FEROLIN_PG_STATS_DATABASE="$stats_db"
export FEROLIN_PG_STATS_USER="$stats_user"
export FEROLIN_PG_STATS_PASSWORD="$stats_password"

echo "with-postgres: PostgreSQL on 127.0.0.1:$port, data source $dsn" >&2
set +e
"$@"
rc=$?
set -e
exit "$rc"
