#include "platform/db/odbc/odbc_handles.h"

#include <stdexcept>
#include <utility>

namespace ferolin::db::odbc {

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  if (!Succeeded(SQLAllocHandle(type, parent, &handle_))) {
    handle_ = SQL_NULL_HANDLE;
    throw std::runtime_error("the ODBC driver manager could not allocate a handle");
  }
}

SQLRETURN Handle::Allocate(SQLSMALLINT type, SQLHANDLE parent, Handle& out) {
  SQLHANDLE raw = SQL_NULL_HANDLE;
  SQLRETURN rc = SQLAllocHandle(type, parent, &raw);
  if (Succeeded(rc)) {
    out.Free();
    out.type_ = type;
    out.handle_ = raw;
  }
  return rc;
}

Handle::~Handle() {
  Free();
}

Handle::Handle(Handle&& other) noexcept
    : type_(other.type_), handle_(std::exchange(other.handle_, SQLHANDLE{})) {}

Handle& Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    Free();
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, SQLHANDLE{});
  }
  return *this;
}

void Handle::Free() {
  if (handle_ == SQL_NULL_HANDLE) return;
  if (type_ == SQL_HANDLE_DBC) SQLDisconnect(handle_);  // harmless when not connected
  SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

WideString ToWide(const std::string& utf8) {
  WideString out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  for (std::size_t i = 0; i < n;) {
    char32_t cp;
    std::size_t len;
    const unsigned char c = s[i];
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c >> 5) == 0x6) {
      cp = c & 0x1F;
      len = 2;
    } else if ((c >> 4) == 0xE) {
      cp = c & 0x0F;
      len = 3;
    } else if ((c >> 3) == 0x1E) {
      cp = c & 0x07;
      len = 4;
    } else {
      cp = 0xFFFD;
      len = 1;
    }
    if (len > 1) {
      bool ok = i + len <= n;
      for (std::size_t k = 1; ok && k < len; ++k) {
        if ((s[i + k] & 0xC0) != 0x80)
          ok = false;
        else
          cp = (cp << 6) | (s[i + k] & 0x3F);
      }
      if (!ok) {
        cp = 0xFFFD;
        len = 1;
      }
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<SQLWCHAR>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<SQLWCHAR>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<SQLWCHAR>(cp));
    }
  }
  return out;
}

std::string FromWide(const SQLWCHAR* text, std::size_t length) {
  std::string out;
  out.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::vector<Diagnostic> out;
  if (handle == SQL_NULL_HANDLE) return out;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, nullptr, 0, &length);
    if (rc == SQL_NO_DATA || !Succeeded(rc)) break;
    std::vector<SQLWCHAR> message(static_cast<std::size_t>(length) + 1);
    rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                        static_cast<SQLSMALLINT>(message.size()), &length);
    if (!Succeeded(rc)) break;
    std::size_t used = std::min<std::size_t>(static_cast<std::size_t>(length), message.size() - 1);
    out.push_back(
        Diagnostic{FromWide(state, 5), static_cast<long>(native), FromWide(message.data(), used)});
  }
  return out;
}

}  // namespace ferolin::db::odbc
