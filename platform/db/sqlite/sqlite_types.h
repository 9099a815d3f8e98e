#pragma once
// Column types of the SQLite engine: ADO type codes and sizes from the
// declared types of the suite's DDL, and the stored form of dates.

#include <optional>
#include <string>
#include <vector>

#include "platform/db/engine.h"

namespace ferolin::db::sqlite {

struct TypeInfo {
  int type = 0;   // ADO type code; 0 when nothing was declared
  long size = 0;  // characters for text, bytes otherwise
};

// "VARCHAR(50)" gives (200, 50), "CHAR(20)" (129, 20), "INT" (3, 4),
// "DATETIME" (135, 16); unknown names follow SQLite's affinity rules.
TypeInfo TypeFromDeclared(const std::string& declared);

bool IsTextType(int adoType);

// Dates are stored as text "yyyy-mm-dd hh:mm:ss"; anything else is not a date.
std::optional<DateTime> ParseStoredDate(const std::string& text);

// Type of a computed column (no declared type) from the values it returned.
void InferType(ColumnInfo& column, const std::vector<std::vector<Value>>& rows, std::size_t index);

}  // namespace ferolin::db::sqlite
