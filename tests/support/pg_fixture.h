#pragma once
// The PostgreSQL server that scripts/with-postgres.sh starts for the tests
// labelled "pg": connection strings for its two databases, read from the
// FEROLIN_PG_* variables. A missing variable throws: pg tests fail, they
// never skip, when they run outside the script.

#include <string>
#include <vector>

namespace ferolin::testing {

enum class PgBase { Principal, Estadisticas };

struct PgServer {
  std::string dsn, host, port;
  // The same server through a data source that streams results with a
  // cursor (the driver does not know a result's size before it ends).
  std::string cursorDsn;
  std::string adminUser, adminPassword;
  std::string database, user, password;                 // the application database
  std::string statsDatabase, statsUser, statsPassword;  // KV_ESTADISTICAS
};

// Throws std::runtime_error naming the first variable that is missing.
PgServer ReadPgServer();

// The suite's provider string for a database on the test server, with the
// database's own log-in: "PROVIDER=SQLOLEDB;Server=<dsn>;Database=...;UId=...;Pwd=...;"
std::string PgConnectionString(PgBase base = PgBase::Principal);
// The same database with the administrator's log-in (may end other sessions).
std::string PgAdminConnectionString(PgBase base = PgBase::Principal);

// Runs PostgreSQL text as the administrator, unchanged by the client's
// dialect adapter. Throws std::runtime_error with the server's message.
void PgExec(PgBase base, const std::string& postgresSql);

// Rows of a query run as the administrator, each cell as text ("<null>" for
// NULL). Throws std::runtime_error with the server's message.
std::vector<std::vector<std::string>> PgQuery(PgBase base, const std::string& postgresSql);

// Empties every table of both databases and restarts their identities, so a
// test starts from the bare schema.
void ResetPgDatabases();

}  // namespace ferolin::testing
