#pragma once
// RAII owners of ODBC handles, UTF-8 <-> UTF-16 text for the wide API, and the
// diagnostic records of a handle.

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace ferolin::db::odbc {

// One ODBC handle of a given type, freed on destruction.
class Handle {
 public:
  Handle() = default;
  // Allocates a handle of `type` under `parent` (SQL_NULL_HANDLE for an
  // environment). Throws std::runtime_error when the driver manager refuses.
  Handle(SQLSMALLINT type, SQLHANDLE parent);
  // The same without throwing: the driver's answer, `out` set on success.
  static SQLRETURN Allocate(SQLSMALLINT type, SQLHANDLE parent, Handle& out);
  ~Handle();
  Handle(Handle&& other) noexcept;
  Handle& operator=(Handle&& other) noexcept;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE get() const { return handle_; }
  SQLSMALLINT type() const { return type_; }
  explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }

 private:
  void Free();
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

using WideString = std::basic_string<SQLWCHAR>;

WideString ToWide(const std::string& utf8);
std::string FromWide(const SQLWCHAR* text, std::size_t length);
inline std::string FromWide(const WideString& text) {
  return FromWide(text.data(), text.size());
}

struct Diagnostic {
  std::string sqlState;
  long nativeError = 0;
  std::string message;
};

// Every diagnostic record of the handle, in order, until SQL_NO_DATA.
std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

inline bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

}  // namespace ferolin::db::odbc
