#pragma once
// ADO type codes and defined sizes for the columns an ODBC driver describes.

#include <sql.h>
#include <sqlext.h>

#include <string>

namespace ferolin::db::odbc {

// `typeName` is the driver's own name (SQL_DESC_TYPE_NAME): SQL Server's
// money types are decimals to ODBC but currency to the program.
int AdoType(SQLSMALLINT sqlType, const std::string& typeName);

// Characters for text, bytes otherwise, as ADO reports DefinedSize.
long DefinedSize(int adoType, SQLULEN columnSize);

bool IsText(int adoType);

}  // namespace ferolin::db::odbc
