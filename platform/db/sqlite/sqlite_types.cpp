#include "platform/db/sqlite/sqlite_types.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <map>

namespace ferolin::db::sqlite {

namespace {

std::string UpperTrim(const std::string& s) {
  std::string out;
  for (char c : s) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto b = out.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  const auto e = out.find_last_not_of(" \t\r\n");
  return out.substr(b, e - b + 1);
}

constexpr long kLongText = 2147483647;

}  // namespace

TypeInfo TypeFromDeclared(const std::string& declared) {
  const std::string d = UpperTrim(declared);
  if (d.empty()) return {};
  std::string name = d;
  std::string arg;
  if (const auto open = d.find('('); open != std::string::npos) {
    name = UpperTrim(d.substr(0, open));
    const auto close = d.find(')', open);
    arg = UpperTrim(
        d.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1));
  }
  const long n = arg.empty() ? 0 : std::strtol(arg.c_str(), nullptr, 10);
  const bool max = arg == "MAX";

  static const std::map<std::string, TypeInfo> kFixed = {
      {"INT", {type::kInteger, 4}},
      {"INTEGER", {type::kInteger, 4}},
      {"BIGINT", {type::kBigInt, 8}},
      {"SMALLINT", {type::kSmallInt, 2}},
      {"TINYINT", {type::kTinyInt, 1}},
      {"BIT", {type::kBoolean, 2}},
      {"BOOLEAN", {type::kBoolean, 2}},
      {"REAL", {type::kSingle, 4}},
      {"FLOAT", {type::kDouble, 8}},
      {"DOUBLE", {type::kDouble, 8}},
      {"DOUBLE PRECISION", {type::kDouble, 8}},
      {"MONEY", {type::kCurrency, 8}},
      {"SMALLMONEY", {type::kCurrency, 8}},
      {"DECIMAL", {type::kNumeric, 19}},
      {"NUMERIC", {type::kNumeric, 19}},
      {"DATETIME", {type::kDBTimeStamp, 16}},
      {"SMALLDATETIME", {type::kDBTimeStamp, 16}},
      {"DATETIME2", {type::kDBTimeStamp, 16}},
      {"TIMESTAMP", {type::kDBTimeStamp, 16}},
      {"DATE", {type::kDBTimeStamp, 16}},
      {"TEXT", {type::kLongVarChar, kLongText}},
      {"NTEXT", {type::kLongVarWChar, kLongText}},
      {"CLOB", {type::kLongVarChar, kLongText}},
      {"BLOB", {type::kVarBinary, kLongText}},
      {"IMAGE", {type::kVarBinary, kLongText}},
  };
  if (auto it = kFixed.find(name); it != kFixed.end()) return it->second;

  static const std::map<std::string, int> kSized = {
      {"VARCHAR", type::kVarChar},     {"CHARACTER VARYING", type::kVarChar},
      {"NVARCHAR", type::kVarWChar},   {"CHAR", type::kChar},
      {"CHARACTER", type::kChar},      {"NCHAR", type::kWChar},
      {"VARBINARY", type::kVarBinary}, {"BINARY", type::kVarBinary},
  };
  if (auto it = kSized.find(name); it != kSized.end()) {
    if (max) {
      return {it->second == type::kVarWChar ? type::kLongVarWChar : type::kLongVarChar, kLongText};
    }
    const bool fixed = it->second == type::kChar || it->second == type::kWChar;
    return {it->second, n > 0 ? n : (fixed ? 1 : 8000)};
  }

  // SQLite's affinity rules for any other name.
  if (name.find("INT") != std::string::npos) return {type::kInteger, 4};
  if (name.find("CHAR") != std::string::npos || name.find("CLOB") != std::string::npos ||
      name.find("TEXT") != std::string::npos) {
    return {type::kVarChar, n > 0 ? n : 8000};
  }
  if (name.find("REAL") != std::string::npos || name.find("FLOA") != std::string::npos ||
      name.find("DOUB") != std::string::npos) {
    return {type::kDouble, 8};
  }
  return {type::kNumeric, 19};
}

bool IsTextType(int t) {
  return t == type::kChar || t == type::kWChar || t == type::kVarChar || t == type::kLongVarChar ||
         t == type::kVarWChar || t == type::kLongVarWChar;
}

std::optional<DateTime> ParseStoredDate(const std::string& s) {
  // Exactly "yyyy-mm-dd hh:mm:ss": a value that does not read back the same
  // stays text, so rewriting a row never changes what is stored.
  if (s.size() != 19) return std::nullopt;
  static const char kPattern[] = "dddd-dd-dd dd:dd:dd";
  for (std::size_t i = 0; i < 19; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(s[i])) != 0;
    if (kPattern[i] == 'd' ? !digit : s[i] != kPattern[i]) return std::nullopt;
  }
  const auto num = [&](std::size_t at, std::size_t len) {
    return std::atoi(s.substr(at, len).c_str());
  };
  DateTime d{num(0, 4), num(5, 2), num(8, 2), num(11, 2), num(14, 2), num(17, 2)};
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > kDays[d.month - 1]) return std::nullopt;
  const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  if (d.month == 2 && d.day == 29 && !leap) return std::nullopt;
  if (d.hour > 23 || d.minute > 59 || d.second > 59) return std::nullopt;
  return d;
}

void InferType(ColumnInfo& c, const std::vector<std::vector<Value>>& rows, std::size_t i) {
  c.type = type::kVarChar;
  c.definedSize = 0;
  bool integer = false, big = false, real = false, text = false;
  for (const auto& row : rows) {
    const Value& v = row[i];
    switch (v.kind()) {
      case Value::Kind::Integer: {
        integer = true;
        const double n = v.ToNumber();
        if (n > INT_MAX || n < INT_MIN) big = true;
        break;
      }
      case Value::Kind::Real:
        real = true;
        break;
      case Value::Kind::Text:
        text = true;
        c.definedSize = std::max<long>(c.definedSize, static_cast<long>(v.ToText().size()));
        break;
      default:
        break;
    }
  }
  if (text) return;
  if (real) {
    c.type = type::kDouble;
    c.definedSize = 8;
  } else if (integer) {
    c.type = big ? type::kBigInt : type::kInteger;
    c.definedSize = big ? 8 : 4;
  }
}

}  // namespace ferolin::db::sqlite
