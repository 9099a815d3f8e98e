#include "platform/db/recordset.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/db/connection.h"
#include "platform/db/engine.h"
#include "platform/db/errors.h"
#include "platform/db/sqlite/sqlite_types.h"
#include "platform/db/tsql_lexer.h"

namespace ferolin::db {

namespace {

constexpr const char* kSource = "Ferolin.Db.Recordset";

[[noreturn]] void Raise(long number, const std::string& description) {
  throw DbError(number, description, kSource);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool IsDateType(int t) {
  return t == type::kDate || t == type::kDBDate || t == type::kDBTimeStamp;
}

bool IsLongType(int t) {
  return t == type::kLongVarChar || t == type::kLongVarWChar || t == type::kVarBinary;
}

std::string QuoteName(const std::string& name, Dialect d) {
  if (d == Dialect::Other) return name;
  std::string out = "[";
  for (char c : name) {
    out += c;
    if (c == ']') out += ']';
  }
  return out + "]";
}

std::string Literal(const Value& v, Dialect d) {
  switch (v.kind()) {
    case Value::Kind::Null:
      return "NULL";
    case Value::Kind::Integer:
    case Value::Kind::Real:
      return v.ToText();
    case Value::Kind::Date: {
      std::string text = v.ToText();
      // SQL Server reads "yyyy-mm-dd hh:mm:ss" by the session's date order;
      // the "T" form is read the same under every language.
      if (d == Dialect::SqlServer) text[10] = 'T';
      return "'" + text + "'";
    }
    case Value::Kind::Text:
      break;
  }
  std::string out = d == Dialect::SqlServer ? "N'" : "'";
  for (char c : v.ToText()) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace

struct Recordset::Impl {
  bool open = false;
  Connection* connection = nullptr;
  std::string source;
  int cursorType = cursor_type::kForwardOnly;
  int lockType = lock_type::kReadOnly;
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<Value>> rows;
  long pos = 0;  // -1 before the first row, rows.size() after the last

  struct Edit {
    bool isNew = false;
    std::vector<Value> values;
    std::vector<bool> changed;
  };
  std::optional<Edit> edit;

  void RequireOpen() const {
    if (!open) Raise(err::kClosedObject, "Operation is not allowed when the object is closed.");
  }
  void RequireUpdatable() const {
    RequireOpen();
    if (lockType == lock_type::kReadOnly) {
      Raise(err::kNotAllowedInContext,
            "Current Recordset does not support updating. This may be a limitation of the "
            "provider, or of the selected locktype.");
    }
  }
  bool OnRow() const { return pos >= 0 && pos < static_cast<long>(rows.size()); }
  [[noreturn]] static void NoCurrentRow() {
    Raise(err::kEofOrBof,
          "Either BOF or EOF is True, or the current record has been deleted. Requested "
          "operation requires a current record.");
  }

  std::size_t IndexOf(const std::string& name) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (SameName(columns[i].name, name)) return i;
    }
    Raise(err::kFieldNotFound,
          "Item cannot be found in the collection corresponding to the requested name or "
          "ordinal. (" +
              name + ")");
  }

  const Value& Current(std::size_t i) const {
    RequireOpen();
    if (i >= columns.size()) {
      Raise(err::kFieldNotFound,
            "Item cannot be found in the collection corresponding to the requested name or "
            "ordinal.");
    }
    if (edit) return edit->values[i];
    if (!OnRow()) NoCurrentRow();
    return rows[static_cast<std::size_t>(pos)][i];
  }

  std::string Table() const {
    std::string table = tsql::SourceTable(source);
    if (table.empty() && !columns.empty()) {
      table = columns.front().baseTable;
      for (const ColumnInfo& c : columns) {
        if (!SameName(c.baseTable, table)) return {};
      }
    }
    return table;
  }

  void Update() {
    if (!edit) return;
    const std::string table = Table();
    if (table.empty()) {
      Raise(err::kNotSupported, "Insufficient base table information for updating or refreshing.");
    }
    const Dialect d = connection->engine().dialect();
    edit->isNew ? Insert(table, d) : Change(table, d);
    edit.reset();
  }

  void Insert(const std::string& table, Dialect d) {
    std::string names, values;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (!edit->changed[i]) continue;
      names += (names.empty() ? "" : ",") + QuoteName(columns[i].name, d);
      values += (values.empty() ? "" : ",") + Literal(edit->values[i], d);
    }
    // The stored row is read back so defaults and generated keys are visible.
    const std::string output = d == Dialect::SqlServer ? " OUTPUT INSERTED.*" : "";
    const std::string returning =
        d == Dialect::Sqlite || d == Dialect::PostgreSql ? " RETURNING *" : "";
    const auto statement = [&](const std::string& out, const std::string& ret) {
      std::string sql = "INSERT INTO " + QuoteName(table, d);
      sql += names.empty() ? out + " DEFAULT VALUES"
                           : " (" + names + ")" + out + " VALUES (" + values + ")";
      return sql + ret;
    };
    std::unique_ptr<Recordset> stored;
    try {
      stored = connection->Execute(statement(output, returning));
    } catch (const DbError&) {
      // SQL Server refuses OUTPUT on a table with triggers (error 334): the
      // row is then written without reading it back.
      const ProviderErrors& e = connection->Errors();
      if (output.empty() || e.Empty() || e.Item(0).nativeError != 334) throw;
      stored = connection->Execute(statement("", ""));
    }
    std::vector<Value> row = edit->values;
    if (stored->State() == state::kOpen && stored->RecordCount() == 1) {
      const Impl& back = *stored->impl_;
      for (std::size_t i = 0; i < columns.size(); ++i) {
        if (edit->changed[i]) continue;
        for (std::size_t j = 0; j < back.columns.size(); ++j) {
          if (!SameName(back.columns[j].name, columns[i].name)) continue;
          Value v = back.rows[0][j];
          if (IsDateType(columns[i].type) && v.kind() == Value::Kind::Text) {
            if (auto date = sqlite::ParseStoredDate(v.ToText())) v = Value::Date(*date);
          }
          row[i] = std::move(v);
          break;
        }
      }
    }
    rows.push_back(std::move(row));
    pos = static_cast<long>(rows.size()) - 1;
  }

  void Change(const std::string& table, Dialect d) {
    const auto& original = rows[static_cast<std::size_t>(pos)];
    // Match on the table's own columns when the engine tells them apart
    // (joins, computed columns); otherwise on every column.
    const bool knowsTables = std::any_of(columns.begin(), columns.end(), [&](const ColumnInfo& c) {
      return SameName(c.baseTable, table);
    });
    std::string set, where;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const std::string name = QuoteName(columns[i].name, d);
      if (edit->changed[i]) {
        set += (set.empty() ? "" : ", ") + name + " = " + Literal(edit->values[i], d);
      }
      if (knowsTables && !SameName(columns[i].baseTable, table)) continue;
      // Servers cannot compare long text or binary values.
      if (d != Dialect::Sqlite && IsLongType(columns[i].type)) continue;
      where += where.empty() ? "" : " AND ";
      where += original[i].IsNull() ? name + " IS NULL" : name + " = " + Literal(original[i], d);
    }
    if (set.empty()) return;
    if (where.empty()) {
      Raise(err::kNotSupported, "Insufficient key column information for updating or refreshing.");
    }
    const std::string quoted = QuoteName(table, d);
    // The row is found by all its original values: it must still be there, and
    // only once, or the update would touch rows the operator never saw.
    std::unique_ptr<Recordset> count =
        connection->Execute("SELECT COUNT(*) FROM " + quoted + " WHERE " + where);
    const double found = count->Fields(0).value().ToNumber();
    if (found < 1) {
      Raise(err::kRowNotFound,
            "Row cannot be located for updating. Some values may have been changed since it "
            "was last read.");
    }
    if (found > 1) {
      Raise(err::kNotSupported, "Insufficient key column information for updating or refreshing.");
    }
    connection->Execute("UPDATE " + quoted + " SET " + set + " WHERE " + where);
    rows[static_cast<std::size_t>(pos)] = edit->values;
  }

  void BeforeMove() {
    RequireOpen();
    if (edit) Update();  // leaving an edited row saves it
  }
};

const std::string& Field::Name() const {
  rs_->impl_->RequireOpen();
  return rs_->impl_->columns.at(index_).name;
}
int Field::Type() const {
  rs_->impl_->RequireOpen();
  return rs_->impl_->columns.at(index_).type;
}
long Field::DefinedSize() const {
  rs_->impl_->RequireOpen();
  return rs_->impl_->columns.at(index_).definedSize;
}
const Value& Field::value() const {
  return rs_->impl_->Current(index_);
}

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

void Recordset::Open(const std::string& source, Connection& connection, int cursorType,
                     int lockType, int options) {
  if (impl_->open) Raise(err::kAlreadyOpen, "Operation is not allowed when the object is open.");
  constexpr int kCmdTable = 2, kCmdTableDirect = 512;
  const bool isTable = options != -1 && (options & (kCmdTable | kCmdTableDirect)) != 0;
  std::unique_ptr<Recordset> result =
      connection.Execute(isTable ? "SELECT * FROM " + source : source);
  if (result->impl_->open) {
    impl_ = std::move(result->impl_);
    result->impl_ = std::make_unique<Impl>();
  }
  impl_->source = isTable ? "SELECT * FROM " + source : source;
  impl_->connection = &connection;
  impl_->cursorType = cursorType;
  impl_->lockType = lockType;
}

void Recordset::Close() {
  impl_->RequireOpen();
  if (impl_->edit) {
    Raise(err::kNotAllowedInContext, "Operation is not allowed in this context.");
  }
  const int cursorType = impl_->cursorType, lockType = impl_->lockType;
  impl_ = std::make_unique<Impl>();
  impl_->cursorType = cursorType;
  impl_->lockType = lockType;
}

int Recordset::State() const {
  return impl_->open ? state::kOpen : state::kClosed;
}
int Recordset::CursorType() const {
  return impl_->cursorType;
}
int Recordset::LockType() const {
  return impl_->lockType;
}
void Recordset::SetCursorType(int t) {
  if (impl_->open) Raise(err::kAlreadyOpen, "Operation is not allowed when the object is open.");
  impl_->cursorType = t;
}
void Recordset::SetLockType(int t) {
  if (impl_->open) Raise(err::kAlreadyOpen, "Operation is not allowed when the object is open.");
  impl_->lockType = t;
}

bool Recordset::Bof() const {
  impl_->RequireOpen();
  if (impl_->edit && impl_->edit->isNew) return false;
  return impl_->rows.empty() || impl_->pos < 0;
}

bool Recordset::Eof() const {
  impl_->RequireOpen();
  if (impl_->edit && impl_->edit->isNew) return false;
  return impl_->rows.empty() || impl_->pos >= static_cast<long>(impl_->rows.size());
}

void Recordset::MoveFirst() {
  impl_->BeforeMove();
  if (impl_->rows.empty()) Impl::NoCurrentRow();
  impl_->pos = 0;
}

void Recordset::MoveLast() {
  impl_->BeforeMove();
  if (impl_->rows.empty()) Impl::NoCurrentRow();
  impl_->pos = static_cast<long>(impl_->rows.size()) - 1;
}

void Recordset::MoveNext() {
  impl_->BeforeMove();
  if (impl_->pos >= static_cast<long>(impl_->rows.size())) Impl::NoCurrentRow();
  ++impl_->pos;
}

void Recordset::MovePrevious() {
  impl_->BeforeMove();
  if (impl_->pos < 0) Impl::NoCurrentRow();
  --impl_->pos;
}

long Recordset::RecordCount() const {
  impl_->RequireOpen();
  return static_cast<long>(impl_->rows.size());
}

long Recordset::AbsolutePosition() const {
  impl_->RequireOpen();
  return impl_->OnRow() ? impl_->pos + 1 : -1;
}

std::size_t Recordset::FieldCount() const {
  impl_->RequireOpen();
  return impl_->columns.size();
}

Field Recordset::Fields(std::size_t index) const {
  impl_->RequireOpen();
  if (index >= impl_->columns.size()) {
    Raise(err::kFieldNotFound,
          "Item cannot be found in the collection corresponding to the requested name or "
          "ordinal.");
  }
  return Field(this, index);
}

Field Recordset::Fields(const std::string& name) const {
  impl_->RequireOpen();
  return Field(this, impl_->IndexOf(name));
}

bool Recordset::HasField(const std::string& name) const {
  return impl_->open && std::any_of(impl_->columns.begin(), impl_->columns.end(),
                                    [&](const ColumnInfo& c) { return SameName(c.name, name); });
}

void Recordset::AddNew() {
  impl_->RequireUpdatable();
  if (impl_->edit) impl_->Update();
  Impl::Edit e;
  e.isNew = true;
  e.values.assign(impl_->columns.size(), Value());
  e.changed.assign(impl_->columns.size(), false);
  impl_->edit = std::move(e);
}

void Recordset::SetField(const std::string& name, Value v) {
  impl_->RequireUpdatable();
  const std::size_t i = impl_->IndexOf(name);
  if (!impl_->edit) {
    if (!impl_->OnRow()) Impl::NoCurrentRow();
    Impl::Edit e;
    e.values = impl_->rows[static_cast<std::size_t>(impl_->pos)];
    e.changed.assign(impl_->columns.size(), false);
    impl_->edit = std::move(e);
  }
  impl_->edit->values[i] = std::move(v);
  impl_->edit->changed[i] = true;
}

void Recordset::Update() {
  impl_->RequireUpdatable();
  impl_->Update();
}

void Recordset::CancelUpdate() {
  impl_->RequireOpen();
  impl_->edit.reset();
}

bool Recordset::EditPending() const {
  return impl_->edit.has_value();
}

void Recordset::Attach(Connection* connection, StatementResult result, std::string source) {
  impl_ = std::make_unique<Impl>();
  impl_->open = true;
  impl_->connection = connection;
  impl_->columns = std::move(result.columns);
  impl_->rows = std::move(result.rows);
  impl_->source = std::move(source);
  impl_->pos = 0;
}

}  // namespace ferolin::db
