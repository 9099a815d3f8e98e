#include "platform/db/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ferolin::db {

namespace {

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::string RealText(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  if (ec != std::errc()) return std::to_string(d);
  return std::string(buf, end);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

Value Value::Text(std::string text) {
  Value v;
  v.v_ = std::move(text);
  return v;
}

Value Value::Integer(std::int64_t n) {
  Value v;
  v.v_ = n;
  return v;
}

Value Value::Real(double d) {
  Value v;
  v.v_ = d;
  return v;
}

Value Value::Date(DateTime d) {
  Value v;
  v.v_ = d;
  return v;
}

Value::Kind Value::kind() const {
  switch (v_.index()) {
    case 1:
      return Kind::Text;
    case 2:
      return Kind::Integer;
    case 3:
      return Kind::Real;
    case 4:
      return Kind::Date;
    default:
      return Kind::Null;
  }
}

std::string Value::ToText() const {
  switch (kind()) {
    case Kind::Null:
      return {};
    case Kind::Text:
      return std::get<std::string>(v_);
    case Kind::Integer:
      return std::to_string(std::get<std::int64_t>(v_));
    case Kind::Real:
      return RealText(std::get<double>(v_));
    case Kind::Date: {
      const DateTime& d = std::get<DateTime>(v_);
      char buf[40];
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                    d.hour, d.minute, d.second);
      return buf;
    }
  }
  return {};
}

double Value::ToNumber() const {
  switch (kind()) {
    case Kind::Null:
      return 0;
    case Kind::Integer:
      return static_cast<double>(std::get<std::int64_t>(v_));
    case Kind::Real:
      return std::get<double>(v_);
    case Kind::Date: {
      // The platform's date serial: days since 1899-12-30, time as the fraction.
      const DateTime& d = std::get<DateTime>(v_);
      const double days = DaysFromCivil(d.year, d.month, d.day) - DaysFromCivil(1899, 12, 30);
      return days + (d.hour * 3600 + d.minute * 60 + d.second) / 86400.0;
    }
    case Kind::Text:
      break;
  }
  // The number at the start of the text: blanks skipped, optional sign, digits
  // with "." as decimal point, an optional exponent; anything else ends it.
  const std::string& s = std::get<std::string>(v_);
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
  const std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  std::size_t end = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      end = j;
    }
  }
  std::string number = s.substr(start, end - start);
  if (!number.empty() && number[0] == '+') number.erase(0, 1);
  double out = 0;
  auto [p, ec] = std::from_chars(number.data(), number.data() + number.size(), out);
  (void)p;
  if (ec == std::errc::result_out_of_range) {
    return number[0] == '-' ? -HUGE_VAL : HUGE_VAL;
  }
  return ec == std::errc() ? out : 0;
}

const DateTime* Value::AsDate() const {
  return std::get_if<DateTime>(&v_);
}

}  // namespace ferolin::db
