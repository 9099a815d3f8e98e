#pragma once
// Rewrites the SQL Server dialect the program writes into the dialect of the
// engine behind the connection. String literals are never touched.

#include <string>
#include <vector>

#include "platform/db/engine.h"

namespace ferolin::db {

// Splits a T-SQL batch into its statements and rewrites each for the dialect
// (SqlServer: split only). Empty statements are dropped.
std::vector<std::string> AdaptBatch(const std::string& tsql, Dialect dialect);

}  // namespace ferolin::db
