#pragma once
// Client-side result set: rows are fetched into memory when opened. Updates
// are written back as INSERT or UPDATE statements on the source table.

#include <memory>
#include <string>
#include <vector>

#include "platform/db/value.h"

namespace ferolin::db {

class Connection;
class Recordset;
struct ColumnInfo;
struct StatementResult;

namespace cursor_type {
inline constexpr int kForwardOnly = 0;
inline constexpr int kKeyset = 1;
inline constexpr int kDynamic = 2;
inline constexpr int kStatic = 3;
}  // namespace cursor_type
namespace lock_type {
inline constexpr int kReadOnly = 1;
inline constexpr int kPessimistic = 2;
inline constexpr int kOptimistic = 3;
inline constexpr int kBatchOptimistic = 4;
}  // namespace lock_type
namespace state {
inline constexpr int kClosed = 0;
inline constexpr int kOpen = 1;
}  // namespace state

class Field {
 public:
  const std::string& Name() const;
  int Type() const;  // ADO type code
  long DefinedSize() const;
  const Value& value() const;
  bool IsNull() const { return value().IsNull(); }
  std::string Text() const { return value().ToText(); }

 private:
  friend class Recordset;
  Field(const Recordset* rs, std::size_t index) : rs_(rs), index_(index) {}
  const Recordset* rs_;
  std::size_t index_;
};

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // Raises DbError (err::kAlreadyOpen when open; provider failures as the
  // connection raises them). cursorType and lockType are remembered: a
  // read-only set refuses AddNew/Update with err::kNotAllowedInContext.
  void Open(const std::string& source, Connection& connection,
            int cursorType = cursor_type::kForwardOnly, int lockType = lock_type::kReadOnly,
            int options = -1);
  void Close();  // raises err::kClosedObject when closed, kNotAllowedInContext while editing
  int State() const;
  int CursorType() const;
  int LockType() const;
  void SetCursorType(int t);
  void SetLockType(int t);

  bool Bof() const;
  bool Eof() const;  // ADO's EOF; the name EOF is a macro in <cstdio>
  void MoveFirst();
  void MoveNext();
  void MovePrevious();
  void MoveLast();
  long RecordCount() const;
  long AbsolutePosition() const;  // 1-based, or -1 outside the rows

  std::size_t FieldCount() const;
  Field Fields(std::size_t index) const;        // raises kFieldNotFound
  Field Fields(const std::string& name) const;  // case-insensitive; raises kFieldNotFound
  bool HasField(const std::string& name) const;

  // Editing.
  void AddNew();
  void SetField(const std::string& name, Value v);
  void Update();  // writes the pending row back; raises provider failures
  void CancelUpdate();
  bool EditPending() const;

  // Used by Connection::Execute and OpenSchema to hand over engine rows.
  void Attach(Connection* connection, StatementResult result, std::string source);

 private:
  friend class Field;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ferolin::db
