#include "platform/db/sqlite/sqlite_engine.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/db/sqlite/sqlite_types.h"

namespace ferolin::db::sqlite {

namespace {

constexpr const char* kSource = "Ferolin.Db.SQLite";

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StmtFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;
using StmtHandle = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool Contains(const std::string& s, const char* part) {
  return s.find(part) != std::string::npos;
}

// Empty restrictions match everything; names compare without regard to case,
// as SQL Server's default collation does.
bool Matches(const std::vector<std::string>& restrictions, std::size_t i,
             const std::string& value) {
  if (i >= restrictions.size() || restrictions[i].empty()) return true;
  return Upper(restrictions[i]) == Upper(value);
}

// Maps SQLite's extended result code and message onto the numbers the
// program acts on (SQL Server's native errors, ADO's error numbers).
EngineFailure Classify(int code, const std::string& message, const std::string& statement) {
  ProviderError e;
  e.source = kSource;
  e.description = message;
  EngineFailure f;
  const int primary = code & 0xff;
  switch (code) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_ROWID:
      f.number = err::kIntegrity;
      e.sqlState = "23000";
      e.nativeError = native::kDuplicateKey;
      e.description =
          "Violation of PRIMARY KEY or UNIQUE constraint. Cannot insert duplicate key (" + message +
          ").";
      break;
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      f.number = err::kIntegrity;
      e.sqlState = "23000";
      e.nativeError = native::kConstraintConflict;
      e.description = "The statement conflicted with a FOREIGN KEY constraint (" + message + ").";
      break;
    case SQLITE_CONSTRAINT_NOTNULL:
      f.number = err::kIntegrity;
      e.sqlState = "23000";
      e.nativeError = native::kConstraintConflict;
      e.description =
          "Cannot insert the value NULL into a column that does not allow nulls (" + message + ").";
      break;
    case SQLITE_CONSTRAINT_CHECK:
      // Text lengths are enforced by CHECK constraints named len_<column>.
      if (Contains(message, "failed: len_")) {
        f.number = err::kDataOverflow;
        e.sqlState = "22001";
        e.nativeError = native::kValueTooLong;
        e.description = "String or binary data would be truncated (" + message + ").";
      } else {
        f.number = err::kIntegrity;
        e.sqlState = "23000";
        e.nativeError = native::kConstraintConflict;
        e.description = "The statement conflicted with a CHECK constraint (" + message + ").";
      }
      break;
    case SQLITE_INTERRUPT:
      f.number = err::kTimeout;
      e.sqlState = "HYT00";
      e.description = "Query timeout expired";
      break;
    default:
      if (primary == SQLITE_CONSTRAINT) {
        f.number = err::kIntegrity;
        e.sqlState = "23000";
        e.nativeError = native::kConstraintConflict;
      } else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        f.number = err::kTimeout;
        e.sqlState = "HYT00";
        e.nativeError = 1222;  // lock request time-out
      } else if (primary == SQLITE_ERROR || primary == SQLITE_RANGE || primary == SQLITE_MISMATCH ||
                 primary == SQLITE_TOOBIG) {
        if (StartsWith(message, "no such table") || StartsWith(message, "no such view")) {
          f.number = err::kObjectNotFound;
          e.sqlState = "42S02";
          e.nativeError = 208;
        } else if (StartsWith(message, "no such column")) {
          f.number = err::kCommandText;
          e.sqlState = "42S22";
          e.nativeError = 207;
        } else if (Contains(message, "no transaction is active")) {
          f.number = err::kCommandText;
          e.sqlState = "25000";
          e.nativeError = 3902;
        } else if (primary == SQLITE_MISMATCH) {
          f.number = err::kCommandText;
          e.sqlState = "22018";
          e.nativeError = 245;
        } else {
          f.number = err::kCommandText;
          e.sqlState = "42000";
          e.nativeError = Contains(message, "syntax error") ? 102 : code;
        }
      } else {
        // File-level trouble: the database cannot be used any more as it is.
        f.number = err::kUnspecified;
        e.sqlState = "HY000";
        e.nativeError = code;
        f.connectionLost = primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN ||
                           primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
      }
  }
  if (!statement.empty() && f.number == err::kCommandText) {
    e.description += " [" + statement + "]";
  }
  e.number = f.number;
  f.diagnostics.push_back(std::move(e));
  return f;
}

std::string FirstWord(const char* sql) {
  std::string w;
  const char* p = sql;
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  while (*p && std::isalpha(static_cast<unsigned char>(*p))) w += *p++;
  return Upper(w);
}

class SqliteEngine final : public Engine {
 public:
  SqliteEngine(DbHandle db, std::string path) : db_(std::move(db)), path_(std::move(path)) {
    sqlite3_progress_handler(db_.get(), 1000, &SqliteEngine::Progress, this);
    defaultDatabase_ = std::filesystem::path(path_).stem().string();
  }

  std::string DbmsName() const override { return "SQLite"; }
  Dialect dialect() const override { return Dialect::Sqlite; }

  StatementResult Execute(const std::string& statement, int timeoutSeconds) override {
    StatementResult result;
    long affected = -1;
    const char* tail = statement.c_str();
    const char* end = tail + statement.size();
    Deadline guard(*this, timeoutSeconds);
    while (tail < end) {
      sqlite3_stmt* raw = nullptr;
      const char* next = nullptr;
      const int rc = sqlite3_prepare_v2(db_.get(), tail, static_cast<int>(end - tail), &raw, &next);
      StmtHandle stmt(raw);
      const std::string text(tail, next ? next : end);
      if (rc != SQLITE_OK) Fail(rc, text);
      tail = next ? next : end;
      if (!stmt) continue;  // blank or comment only
      StatementResult one = Step(stmt.get(), text);
      if (one.recordsAffected >= 0) affected = std::max(0L, affected) + one.recordsAffected;
      if (one.returnsRows) result = std::move(one);
    }
    result.recordsAffected = affected;
    return result;
  }

  void Begin() override { Simple("BEGIN"); }
  void Commit() override { Simple("COMMIT"); }
  void Rollback() override { Simple("ROLLBACK"); }
  bool InTransaction() const override { return sqlite3_get_autocommit(db_.get()) == 0; }

  void SetIsolationLevel(int adoLevel) override {
    // Only meaningful with a shared cache; accepted so the program's
    // read-uncommitted request works as it does on the server.
    Simple(adoLevel == 256 ? "PRAGMA read_uncommitted = 1" : "PRAGMA read_uncommitted = 0");
  }
  void SetDefaultDatabase(const std::string& name) override { defaultDatabase_ = name; }
  std::string DefaultDatabase() const override { return defaultDatabase_; }

  StatementResult Tables(const std::vector<std::string>& r) override {
    StatementResult out;
    out.returnsRows = true;
    out.columns = {Text("TABLE_CATALOG", 128), Text("TABLE_SCHEMA", 128), Text("TABLE_NAME", 128),
                   Text("TABLE_TYPE", 128)};
    for (const auto& [name, type] : SchemaObjects()) {
      if (!Matches(r, 0, defaultDatabase_) || !Matches(r, 1, "dbo") || !Matches(r, 2, name) ||
          !Matches(r, 3, type)) {
        continue;
      }
      out.rows.push_back({Value::Text(defaultDatabase_), Value::Text("dbo"), Value::Text(name),
                          Value::Text(type)});
    }
    return out;
  }

  StatementResult Columns(const std::vector<std::string>& r) override {
    StatementResult out;
    out.returnsRows = true;
    out.columns = {
        Text("TABLE_CATALOG", 128),      Text("TABLE_SCHEMA", 128), Text("TABLE_NAME", 128),
        Text("COLUMN_NAME", 128),        Int("ORDINAL_POSITION"),   Int("DATA_TYPE"),
        Int("CHARACTER_MAXIMUM_LENGTH"), Bool("IS_NULLABLE"),       Text("COLUMN_DEFAULT", 4000)};
    if (!Matches(r, 0, defaultDatabase_) || !Matches(r, 1, "dbo")) return out;
    for (const auto& [table, type] : SchemaObjects()) {
      if (!Matches(r, 2, table)) continue;
      StmtHandle stmt = Prepare(
          "SELECT cid, name, type, \"notnull\", dflt_value FROM "
          "pragma_table_info(?1)");
      sqlite3_bind_text(stmt.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
      int rc;
      while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const std::string column = ColumnText(stmt.get(), 1);
        if (!Matches(r, 3, column)) continue;
        const TypeInfo t = TypeFromDeclared(ColumnText(stmt.get(), 2));
        const bool isText = IsTextType(t.type);
        const char* dflt = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 4));
        out.rows.push_back({Value::Text(defaultDatabase_), Value::Text("dbo"), Value::Text(table),
                            Value::Text(column),
                            Value::Integer(sqlite3_column_int(stmt.get(), 0) + 1),
                            Value::Integer(t.type), isText ? Value::Integer(t.size) : Value(),
                            Value::Integer(sqlite3_column_int(stmt.get(), 3) ? 0 : 1),
                            dflt ? Value::Text(dflt) : Value()});
      }
      if (rc != SQLITE_DONE) Fail(rc, "");
    }
    return out;
  }

  bool IsDead() const override {
    std::error_code ec;
    return !std::filesystem::exists(path_, ec);
  }

 private:
  // Arms the progress handler with the statement's deadline for one Execute.
  class Deadline {
   public:
    Deadline(SqliteEngine& e, int seconds) : e_(e) {
      if (seconds > 0) {
        e_.deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
      }
    }
    ~Deadline() { e_.deadline_.reset(); }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

   private:
    SqliteEngine& e_;
  };

  static int Progress(void* self) {
    auto* e = static_cast<SqliteEngine*>(self);
    return e->deadline_ && std::chrono::steady_clock::now() > *e->deadline_ ? 1 : 0;
  }

  static ColumnInfo Text(const char* name, long size) {
    return ColumnInfo{name, type::kVarWChar, size, "", true};
  }
  static ColumnInfo Int(const char* name) { return ColumnInfo{name, type::kInteger, 4, "", true}; }
  static ColumnInfo Bool(const char* name) { return ColumnInfo{name, type::kBoolean, 2, "", true}; }

  static std::string ColumnText(sqlite3_stmt* s, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s, i))) : "";
  }

  [[noreturn]] void Fail(int rc, const std::string& statement) const {
    const int code = sqlite3_extended_errcode(db_.get());
    throw EngineError(Classify(code != 0 ? code : rc, sqlite3_errmsg(db_.get()), statement));
  }

  StmtHandle Prepare(const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db_.get(), sql.c_str(), -1, &raw, nullptr);
    StmtHandle stmt(raw);
    if (rc != SQLITE_OK) Fail(rc, sql);
    return stmt;
  }

  void Simple(const std::string& sql) {
    StmtHandle stmt = Prepare(sql);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) Fail(rc, sql);
  }

  std::vector<std::pair<std::string, std::string>> SchemaObjects() {
    std::vector<std::pair<std::string, std::string>> out;
    StmtHandle stmt = Prepare(
        "SELECT name, type FROM sqlite_schema WHERE type IN ('table','view') AND name NOT LIKE "
        "'sqlite\\_%' ESCAPE '\\' ORDER BY name");
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
      out.emplace_back(ColumnText(stmt.get(), 0),
                       ColumnText(stmt.get(), 1) == "view" ? "VIEW" : "TABLE");
    }
    if (rc != SQLITE_DONE) Fail(rc, "");
    return out;
  }

  StatementResult Step(sqlite3_stmt* stmt, const std::string& text) {
    StatementResult r;
    const int n = sqlite3_column_count(stmt);
    std::vector<TypeInfo> declared(static_cast<std::size_t>(n));
    if (n > 0) {
      r.returnsRows = true;
      for (int i = 0; i < n; ++i) {
        ColumnInfo c;
        c.name = sqlite3_column_name(stmt, i);
        const char* decl = sqlite3_column_decltype(stmt, i);
        const char* table = sqlite3_column_table_name(stmt, i);
        if (table) c.baseTable = table;
        if (decl) {
          declared[static_cast<std::size_t>(i)] = TypeFromDeclared(decl);
          c.type = declared[static_cast<std::size_t>(i)].type;
          c.definedSize = declared[static_cast<std::size_t>(i)].size;
        } else {
          c.type = 0;  // decided from the values below
        }
        r.columns.push_back(std::move(c));
      }
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      std::vector<Value> row;
      row.reserve(static_cast<std::size_t>(n));
      for (int i = 0; i < n; ++i) {
        row.push_back(Read(stmt, i, r.columns[static_cast<std::size_t>(i)].type));
      }
      r.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) Fail(rc, text);
    if (n > 0) {
      for (int i = 0; i < n; ++i) {
        ColumnInfo& c = r.columns[static_cast<std::size_t>(i)];
        if (c.type == 0) InferType(c, r.rows, static_cast<std::size_t>(i));
      }
    } else {
      const std::string w = FirstWord(sqlite3_sql(stmt));
      if (w == "INSERT" || w == "UPDATE" || w == "DELETE" || w == "REPLACE") {
        r.recordsAffected = sqlite3_changes(db_.get());
      }
    }
    return r;
  }

  static Value Read(sqlite3_stmt* s, int i, int adoType) {
    switch (sqlite3_column_type(s, i)) {
      case SQLITE_NULL:
        return {};
      case SQLITE_INTEGER:
        return Value::Integer(sqlite3_column_int64(s, i));
      case SQLITE_FLOAT:
        return Value::Real(sqlite3_column_double(s, i));
      default: {
        std::string text = ColumnText(s, i);
        if (adoType == type::kDBTimeStamp || adoType == type::kDate) {
          if (auto d = ParseStoredDate(text)) return Value::Date(*d);
        }
        return Value::Text(std::move(text));
      }
    }
  }

  DbHandle db_;
  std::string path_;
  std::string defaultDatabase_;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
};

}  // namespace

std::unique_ptr<Engine> OpenSqliteEngine(const std::string& path) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  DbHandle db(raw);
  const auto fail = [&](int code, std::string message) -> EngineError {
    EngineFailure f = Classify(code, message, "");
    f.number = err::kUnspecified;
    f.diagnostics.front().number = err::kUnspecified;
    f.diagnostics.front().description = std::move(message);
    return EngineError(std::move(f));
  };
  if (rc != SQLITE_OK) {
    throw fail(rc, "Cannot open the database file " + path + ": " +
                       (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc)));
  }
  sqlite3_extended_result_codes(db.get(), 1);
  sqlite3_busy_timeout(db.get(), 5000);
  // Reading the schema proves the file is a database before anything relies on it.
  char* message = nullptr;
  const int check =
      sqlite3_exec(db.get(), "PRAGMA foreign_keys = ON; SELECT count(*) FROM sqlite_schema;",
                   nullptr, nullptr, &message);
  if (check != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errstr(check);
    sqlite3_free(message);
    throw fail(sqlite3_extended_errcode(db.get()),
               "Cannot open the database file " + path + ": " + text);
  }
  return std::make_unique<SqliteEngine>(std::move(db), path);
}

}  // namespace ferolin::db::sqlite
