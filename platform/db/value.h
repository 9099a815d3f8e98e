#pragma once
// A field value as the client hands it out: null, text, number or date.

#include <cstdint>
#include <string>
#include <variant>

namespace ferolin::db {

// Calendar date and time of day, no time zone (the suite stores local times).
struct DateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

class Value {
 public:
  enum class Kind { Null, Text, Integer, Real, Date };

  Value() = default;  // null
  static Value Text(std::string text);
  static Value Integer(std::int64_t n);
  static Value Real(double d);
  static Value Date(DateTime d);

  Kind kind() const;
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsNumber() const { return kind() == Kind::Integer || kind() == Kind::Real; }

  // Text form: null gives "", integers without decimals, reals in the shortest
  // form that reads back ("." as decimal point), dates as "yyyy-mm-dd hh:mm:ss".
  std::string ToText() const;
  // Numeric value; text is read like a number at the start of a text, null is 0.
  double ToNumber() const;
  const DateTime* AsDate() const;

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, std::string, std::int64_t, double, DateTime> v_;
};

// ADO data type codes, the type codes every field reports.
namespace type {
inline constexpr int kSmallInt = 2;
inline constexpr int kInteger = 3;
inline constexpr int kSingle = 4;
inline constexpr int kDouble = 5;
inline constexpr int kCurrency = 6;
inline constexpr int kDate = 7;
inline constexpr int kBoolean = 11;
inline constexpr int kDecimal = 14;
inline constexpr int kTinyInt = 16;
inline constexpr int kBigInt = 20;
inline constexpr int kChar = 129;
inline constexpr int kWChar = 130;
inline constexpr int kNumeric = 131;
inline constexpr int kDBDate = 133;
inline constexpr int kDBTime = 134;
inline constexpr int kDBTimeStamp = 135;
inline constexpr int kVarChar = 200;
inline constexpr int kLongVarChar = 201;
inline constexpr int kVarWChar = 202;
inline constexpr int kLongVarWChar = 203;
inline constexpr int kVarBinary = 204;
}  // namespace type

}  // namespace ferolin::db
