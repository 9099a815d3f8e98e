#include "platform/db/odbc/odbc_errors.h"

namespace ferolin::db::odbc {
namespace {

struct Meaning {
  long number;
  long native;  // 0: keep the driver's
};

// SQL Server's numbers for the same conditions, so the program reacts alike.
Meaning FromSqlState(const std::string& s, long fallback) {
  if (s == "23505") return {err::kIntegrity, native::kDuplicateKey};
  if (s == "23503" || s == "23514") return {err::kIntegrity, native::kConstraintConflict};
  if (s == "23502") return {err::kIntegrity, 515};  // null in a NOT NULL column
  if (s.rfind("23", 0) == 0) return {err::kIntegrity, 0};
  if (s == "22001") return {err::kDataOverflow, native::kValueTooLong};
  if (s == "57014" || s == "HYT00" || s == "HYT01") return {err::kTimeout, 0};
  if (s == "42P01" || s == "42S02") return {err::kObjectNotFound, 208};
  if (s == "42703" || s == "42S22") return {err::kCommandText, 207};
  if (IsConnectionLostState(s)) return {err::kUnspecified, 0};
  if (s.rfind("28", 0) == 0) return {err::kUnspecified, 0};  // log-in refused
  return {fallback, 0};
}

Meaning FromSqlServer(const Diagnostic& d, long fallback) {
  switch (d.nativeError) {
    case native::kDuplicateKey:
    case 2601:  // duplicate in a unique index
    case native::kConstraintConflict:
    case 515:
      return {err::kIntegrity, 0};
    case native::kValueTooLong:
      return {err::kDataOverflow, 0};
    case 208:
      return {err::kObjectNotFound, 0};
    default:
      break;
  }
  Meaning m = FromSqlState(d.sqlState, fallback);
  return {m.number, 0};
}

}  // namespace

bool IsConnectionLostState(const std::string& s) {
  return s.rfind("08", 0) == 0 || s == "57P01" || s == "57P02" || s == "57P03";
}

EngineFailure Classify(const std::vector<Diagnostic>& diagnostics, Dialect dialect, long fallback) {
  EngineFailure f;
  f.number = fallback;
  bool first = true;
  for (const Diagnostic& d : diagnostics) {
    Meaning m = dialect == Dialect::SqlServer ? FromSqlServer(d, fallback)
                                              : FromSqlState(d.sqlState, fallback);
    if (IsConnectionLostState(d.sqlState)) f.connectionLost = true;
    // The first record names the failure; SQL Server adds context records
    // ("The statement has been terminated.") after it.
    if (first) f.number = m.number;
    first = false;
    ProviderError e;
    e.sqlState = d.sqlState;
    e.nativeError = m.native != 0 ? m.native : d.nativeError;
    e.description = d.message;
    e.source = kSource;
    f.diagnostics.push_back(std::move(e));
  }
  if (f.connectionLost) f.number = err::kUnspecified;
  for (ProviderError& e : f.diagnostics) e.number = f.number;
  if (f.diagnostics.empty()) {
    f.diagnostics.push_back(ProviderError{
        "HY000", f.number, 0, "The ODBC driver reported a failure without a message.", kSource});
  }
  return f;
}

}  // namespace ferolin::db::odbc
