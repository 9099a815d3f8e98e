#include "platform/db/odbc/odbc_types.h"

#include <algorithm>
#include <cctype>

#include "platform/db/value.h"

namespace ferolin::db::odbc {

int AdoType(SQLSMALLINT sqlType, const std::string& typeName) {
  std::string name = typeName;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  switch (sqlType) {
    case SQL_CHAR:
      return type::kChar;
    case SQL_VARCHAR:
      return type::kVarChar;
    case SQL_LONGVARCHAR:
      return type::kLongVarChar;
    case SQL_WCHAR:
      return type::kWChar;
    case SQL_WVARCHAR:
      return type::kVarWChar;
    case SQL_WLONGVARCHAR:
      return type::kLongVarWChar;
    case SQL_BIT:
      return type::kBoolean;
    case SQL_TINYINT:
      return type::kTinyInt;
    case SQL_SMALLINT:
      return type::kSmallInt;
    case SQL_INTEGER:
      return type::kInteger;
    case SQL_BIGINT:
      return type::kBigInt;
    case SQL_REAL:
      return type::kSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return type::kDouble;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return name == "money" || name == "smallmoney" ? type::kCurrency : type::kNumeric;
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return type::kDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return type::kDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return type::kDBTimeStamp;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return type::kVarBinary;
    default:
      return type::kVarWChar;  // GUIDs, intervals, driver types: read as text
  }
}

bool IsText(int t) {
  return t == type::kChar || t == type::kVarChar || t == type::kLongVarChar || t == type::kWChar ||
         t == type::kVarWChar || t == type::kLongVarWChar;
}

long DefinedSize(int adoType, SQLULEN columnSize) {
  switch (adoType) {
    case type::kBoolean:
    case type::kSmallInt:
      return 2;
    case type::kTinyInt:
      return 1;
    case type::kInteger:
    case type::kSingle:
      return 4;
    case type::kBigInt:
    case type::kDouble:
    case type::kCurrency:
      return 8;
    case type::kNumeric:
      return 19;
    case type::kDBDate:
    case type::kDBTime:
    case type::kDBTimeStamp:
      return 16;
    default:
      // Text and binary: the driver's size; long types report 0 or a huge value.
      return columnSize > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<long>(columnSize);
  }
}

}  // namespace ferolin::db::odbc
