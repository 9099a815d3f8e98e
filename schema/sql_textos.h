#pragma once
// The schema's .sql files, compiled into the library (see embed_sql.cmake).

#include <string_view>

namespace ferolin::schema {

// Text of the file at that path under schema/ ("sqlite/principal.sql"); empty
// when there is no such file.
std::string_view TextoSql(std::string_view nombre);

}  // namespace ferolin::schema
