#include "tests/support/pg_fixture.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/db/connection.h"
#include "platform/db/engine.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"

namespace ferolin::testing {
namespace {

std::string Required(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(std::string(name) +
                             " is not set: run the pg tests through scripts/with-postgres.sh");
  }
  return value;
}

std::string Compose(const std::string& dsn, const std::string& database, const std::string& user,
                    const std::string& password) {
  return "PROVIDER=SQLOLEDB;Server=" + dsn + ";Database=" + database + ";UId=" + user +
         ";Pwd=" + password + ";";
}

}  // namespace

PgServer ReadPgServer() {
  PgServer s;
  s.dsn = Required("FEROLIN_PG_DSN");
  s.host = Required("FEROLIN_PG_HOST");
  s.port = Required("FEROLIN_PG_PORT");
  s.cursorDsn = Required("FEROLIN_PG_CURSOR_DSN");
  s.adminUser = Required("FEROLIN_PG_ADMIN_USER");
  s.adminPassword = Required("FEROLIN_PG_ADMIN_PASSWORD");
  s.database = Required("FEROLIN_PG_DATABASE");
  s.user = Required("FEROLIN_PG_USER");
  s.password = Required("FEROLIN_PG_PASSWORD");
  s.statsDatabase = Required("FEROLIN_PG_STATS_DATABASE");
  s.statsUser = Required("FEROLIN_PG_STATS_USER");
  s.statsPassword = Required("FEROLIN_PG_STATS_PASSWORD");
  return s;
}

std::string PgConnectionString(PgBase base) {
  const PgServer s = ReadPgServer();
  return base == PgBase::Principal ? Compose(s.dsn, s.database, s.user, s.password)
                                   : Compose(s.dsn, s.statsDatabase, s.statsUser, s.statsPassword);
}

std::string PgAdminConnectionString(PgBase base) {
  const PgServer s = ReadPgServer();
  return Compose(s.dsn, base == PgBase::Principal ? s.database : s.statsDatabase, s.adminUser,
                 s.adminPassword);
}

void PgExec(PgBase base, const std::string& postgresSql) {
  db::Connection connection;
  try {
    connection.Open(PgAdminConnectionString(base));
    connection.engine().Execute(postgresSql, 60);
  } catch (const db::EngineError& e) {
    throw std::runtime_error("PostgreSQL refused the fixture: " + std::string(e.what()) + "\n" +
                             postgresSql);
  } catch (const db::DbError& e) {
    throw std::runtime_error("PostgreSQL refused the fixture: " + e.description() + "\n" +
                             postgresSql);
  }
}

std::vector<std::vector<std::string>> PgQuery(PgBase base, const std::string& postgresSql) {
  std::vector<std::vector<std::string>> rows;
  try {
    db::Connection connection;
    connection.Open(PgAdminConnectionString(base));
    db::Recordset rs;
    rs.Attach(&connection, connection.engine().Execute(postgresSql, 60), postgresSql);
    for (; !rs.Eof(); rs.MoveNext()) {
      std::vector<std::string> row;
      for (std::size_t i = 0; i < rs.FieldCount(); ++i) {
        const db::Field f = rs.Fields(i);
        row.push_back(f.IsNull() ? "<null>" : f.Text());
      }
      rows.push_back(std::move(row));
    }
  } catch (const db::EngineError& e) {
    throw std::runtime_error("PostgreSQL refused the query: " + std::string(e.what()) + "\n" +
                             postgresSql);
  } catch (const db::DbError& e) {
    throw std::runtime_error("PostgreSQL refused the query: " + e.description() + "\n" +
                             postgresSql);
  }
  return rows;
}

void ResetPgDatabases() {
  const char* truncate =
      "DO $$ DECLARE t record; BEGIN "
      "FOR t IN SELECT tablename FROM pg_tables WHERE schemaname = 'public' LOOP "
      "EXECUTE 'TRUNCATE TABLE ' || quote_ident(t.tablename) || ' RESTART IDENTITY CASCADE'; "
      "END LOOP; END $$";
  PgExec(PgBase::Principal, truncate);
  PgExec(PgBase::Estadisticas, truncate);
}

}  // namespace ferolin::testing
