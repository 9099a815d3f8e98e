#pragma once
// What a failed ODBC call means to the program: the ADO number to raise and
// SQL Server's native numbers, whatever server answered.

#include <string>
#include <vector>

#include "platform/db/engine.h"
#include "platform/db/odbc/odbc_handles.h"

namespace ferolin::db::odbc {

inline constexpr const char* kSource = "Ferolin.Db.ODBC";

// Servers other than SQL Server are classified by SQLSTATE: 23505 duplicate
// key (2627), 23503 and 23514 constraint conflict (547), 22001 value too long
// (8152), 57014/HYT00 time-out, class 08 and 57P01-57P03 lost connection.
// SQL Server's own native numbers pass unchanged. `fallback` is the number
// for anything else. Every diagnostic becomes one provider error.
EngineFailure Classify(const std::vector<Diagnostic>& diagnostics, Dialect dialect,
                       long fallback = err::kCommandText);

bool IsConnectionLostState(const std::string& sqlState);

}  // namespace ferolin::db::odbc
