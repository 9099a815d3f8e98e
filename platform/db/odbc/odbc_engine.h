#pragma once
// ODBC engine: SQL Server in the field, PostgreSQL (psqlODBC) in tests.

#include <memory>
#include <string>

#include "platform/db/connection_string.h"
#include "platform/db/engine.h"

namespace ferolin::db::odbc {

// Opens an ODBC connection for a "SQLOLEDB" (server other than SQLITE) or
// "OraOLEDB.Oracle.1" string: DSN=<Server> when a data source of that name
// exists, otherwise DRIVER={$FEROLIN_ODBC_DRIVER or "ODBC Driver 18 for SQL
// Server"};SERVER=<Server>; plus database, user and password. Throws EngineError.
std::unique_ptr<Engine> OpenOdbcEngine(const ConnectionKeys& keys, const std::string& user,
                                       const std::string& password);

// True when a completed psqlODBC connection string sets the rollback level
// that undoes only a refused statement inside a transaction.
bool StatementRollback(const std::string& completedConnectionString);

}  // namespace ferolin::db::odbc
