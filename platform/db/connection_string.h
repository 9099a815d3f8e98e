#pragma once
// The suite's provider connection strings ("PROVIDER=SQLOLEDB;Server=...;"),
// taken apart into keys: lower-case, trimmed names; values trimmed.

#include <map>
#include <string>

namespace ferolin::db {

using ConnectionKeys = std::map<std::string, std::string>;

ConnectionKeys ParseConnectionString(const std::string& text);

}  // namespace ferolin::db
