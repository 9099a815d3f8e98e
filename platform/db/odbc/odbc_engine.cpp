#include "platform/db/odbc/odbc_engine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>

#include "platform/db/odbc/odbc_errors.h"
#include "platform/db/odbc/odbc_handles.h"
#include "platform/db/odbc/odbc_types.h"
#include "platform/os/environment.h"

namespace ferolin::db::odbc {
namespace {

constexpr const char* kDefaultDriver = "ODBC Driver 18 for SQL Server";
constexpr SQLULEN kMaxBoundChars = 4000;        // longer text is read with SQLGetData
constexpr std::size_t kRowsetBytes = 4u << 20;  // memory for one block of rows
constexpr SQLULEN kMaxRowset = 1024;
constexpr SQLULEN kFirstRowset = 16;  // rows of the first block when the count is unknown
constexpr SQLULEN kRowsetGrowth = 8;
constexpr std::size_t kGetDataPiece = 16384;  // bytes read per SQLGetData call

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

bool SameText(const std::string& a, const std::string& b) {
  return Lower(a) == Lower(b);
}

std::string Key(const ConnectionKeys& keys, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (auto it = keys.find(n); it != keys.end()) return it->second;
  }
  return {};
}

// An attribute value of an ODBC connection string; braces keep ";" and
// blanks inside it.
std::string Attr(const std::string& value) {
  if (value.find_first_of(";{}=") == std::string::npos &&
      (value.empty() || (value.front() != ' ' && value.back() != ' '))) {
    return value;
  }
  std::string out = "{";
  for (char c : value) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

[[noreturn]] void Throw(EngineFailure f) {
  throw EngineError(std::move(f));
}

EngineFailure Failure(long number, const std::string& sqlState, const std::string& message) {
  EngineFailure f;
  f.number = number;
  f.diagnostics.push_back(ProviderError{sqlState, number, 0, message, kSource});
  return f;
}

// How one result column is fetched.
enum class Fetch { Text, Integer, Real, Decimal, Timestamp, Date, Time, Binary };

struct Column {
  ColumnInfo info;
  Fetch fetch = Fetch::Text;
  SQLSMALLINT cType = SQL_C_WCHAR;
  SQLSMALLINT decimals = 0;
  SQLLEN elementBytes = 0;  // 0: not bindable
  // Not zero-filled: the driver writes every cell it reports.
  std::unique_ptr<unsigned char[]> buffer;
  std::size_t bufferBytes = 0;
  std::vector<SQLLEN> indicator;
};

Fetch FetchFor(int ado) {
  switch (ado) {
    case type::kBoolean:
    case type::kTinyInt:
    case type::kSmallInt:
    case type::kInteger:
    case type::kBigInt:
      return Fetch::Integer;
    case type::kSingle:
    case type::kDouble:
      return Fetch::Real;
    case type::kNumeric:
    case type::kCurrency:
      return Fetch::Decimal;
    case type::kDBTimeStamp:
      return Fetch::Timestamp;
    case type::kDBDate:
      return Fetch::Date;
    case type::kDBTime:
      return Fetch::Time;
    case type::kVarBinary:
      return Fetch::Binary;
    default:
      return Fetch::Text;
  }
}

void PrepareColumn(Column& c, SQLULEN columnSize) {
  c.fetch = FetchFor(c.info.type);
  switch (c.fetch) {
    case Fetch::Integer:
      c.cType = SQL_C_SBIGINT;
      c.elementBytes = sizeof(SQLBIGINT);
      break;
    case Fetch::Real:
      c.cType = SQL_C_DOUBLE;
      c.elementBytes = sizeof(SQLDOUBLE);
      break;
    case Fetch::Decimal:
      c.cType = SQL_C_WCHAR;  // exact digits, converted here
      c.elementBytes = 80 * sizeof(SQLWCHAR);
      break;
    case Fetch::Timestamp:
      c.cType = SQL_C_TYPE_TIMESTAMP;
      c.elementBytes = sizeof(SQL_TIMESTAMP_STRUCT);
      break;
    case Fetch::Date:
      c.cType = SQL_C_TYPE_DATE;
      c.elementBytes = sizeof(SQL_DATE_STRUCT);
      break;
    case Fetch::Time:
      c.cType = SQL_C_TYPE_TIME;
      c.elementBytes = sizeof(SQL_TIME_STRUCT);
      break;
    case Fetch::Binary:
      c.cType = SQL_C_BINARY;
      c.elementBytes = columnSize > 0 && columnSize <= 8000 ? static_cast<SQLLEN>(columnSize) : 0;
      break;
    case Fetch::Text:
      c.cType = SQL_C_WCHAR;
      c.elementBytes = columnSize > 0 && columnSize <= kMaxBoundChars
                           ? static_cast<SQLLEN>((columnSize + 1) * sizeof(SQLWCHAR))
                           : 0;
      break;
  }
}

Value DecimalValue(const std::string& text, SQLSMALLINT decimals) {
  const char* b = text.data();
  const char* e = b + text.size();
  if (decimals == 0 && text.find_first_of(".eE") == std::string::npos) {
    std::int64_t n = 0;
    if (auto [p, ec] = std::from_chars(b, e, n); ec == std::errc() && p == e) {
      return Value::Integer(n);
    }
  }
  double d = 0;
  if (auto [p, ec] = std::from_chars(b, e, d); ec == std::errc()) return Value::Real(d);
  return Value::Text(text);
}

// Converts one fetched cell (`data` of `length` bytes) to a value.
Value CellValue(const Column& c, const unsigned char* data, SQLLEN length) {
  if (length == SQL_NULL_DATA) return Value();
  switch (c.fetch) {
    case Fetch::Integer: {
      SQLBIGINT v;
      std::memcpy(&v, data, sizeof v);
      return Value::Integer(v);
    }
    case Fetch::Real: {
      SQLDOUBLE v;
      std::memcpy(&v, data, sizeof v);
      return Value::Real(v);
    }
    case Fetch::Timestamp: {
      SQL_TIMESTAMP_STRUCT t;
      std::memcpy(&t, data, sizeof t);
      return Value::Date(DateTime{t.year, t.month, t.day, t.hour, t.minute, t.second});
    }
    case Fetch::Date: {
      SQL_DATE_STRUCT t;
      std::memcpy(&t, data, sizeof t);
      return Value::Date(DateTime{t.year, t.month, t.day, 0, 0, 0});
    }
    case Fetch::Time: {
      SQL_TIME_STRUCT t;
      std::memcpy(&t, data, sizeof t);
      // The zero date of the suite's platform carries a time of day alone.
      return Value::Date(DateTime{1899, 12, 30, t.hour, t.minute, t.second});
    }
    case Fetch::Binary:
      return Value::Text(
          std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length)));
    case Fetch::Decimal:
    case Fetch::Text: {
      std::size_t chars = static_cast<std::size_t>(length) / sizeof(SQLWCHAR);
      std::string text = FromWide(reinterpret_cast<const SQLWCHAR*>(data), chars);
      return c.fetch == Fetch::Decimal ? DecimalValue(text, c.decimals) : Value::Text(text);
    }
  }
  return Value();
}

}  // namespace

// psqlODBC writes its settings into the completed connection string; the
// rollback level follows the protocol ("Protocol=7.4-2").
bool StatementRollback(const std::string& completed) {
  const std::string s = Lower(completed);
  std::size_t at = 0;
  while ((at = s.find("protocol=", at)) != std::string::npos) {
    if (at == 0 || s[at - 1] == ';') {
      const std::size_t end = s.find(';', at);
      const std::string value = s.substr(at + 9, end == std::string::npos ? end : end - at - 9);
      return value.size() >= 2 && value.compare(value.size() - 2, 2, "-2") == 0;
    }
    at += 9;
  }
  return false;
}

namespace {

class OdbcEngine final : public Engine {
 public:
  OdbcEngine(const ConnectionKeys& keys, const std::string& user, const std::string& password);

  std::string DbmsName() const override { return dbms_; }
  Dialect dialect() const override { return dialect_; }
  StatementResult Execute(const std::string& statement, int timeoutSeconds) override;
  void Begin() override;
  void Commit() override;
  void Rollback() override;
  bool InTransaction() const override { return inTransaction_; }
  void SetIsolationLevel(int adoLevel) override;
  void SetDefaultDatabase(const std::string& name) override;
  std::string DefaultDatabase() const override { return database_; }
  StatementResult Tables(const std::vector<std::string>& restrictions) override;
  StatementResult Columns(const std::vector<std::string>& restrictions) override;
  bool IsDead() const override;

 private:
  [[noreturn]] void Fail(SQLSMALLINT handleType, SQLHANDLE handle, long fallback);
  // Connects with `text`; returns the completed connection string.
  std::string Connect(const std::string& text);
  void Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, long fallback) {
    if (!Succeeded(rc) && rc != SQL_NO_DATA) Fail(handleType, handle, fallback);
  }
  Handle NewStatement(int timeoutSeconds);
  SQLHSTMT ReusedStatement(int timeoutSeconds);
  // True when a data source of that name exists; `driver` takes its driver's name.
  bool DataSourceExists(const std::string& name, std::string& driver);
  // True when the driver of that name is psqlODBC, by its library.
  bool IsPsqlOdbc(const std::string& driver);
  std::string InfoText(SQLUSMALLINT what);
  StatementResult ReadResult(SQLHSTMT stmt);
  std::vector<Column> Describe(SQLHSTMT stmt, SQLSMALLINT count);
  void FetchBlocks(SQLHSTMT stmt, std::vector<Column>& cols, StatementResult& out);
  void FetchRows(SQLHSTMT stmt, std::vector<Column>& cols, StatementResult& out);
  // `piece` is the caller's buffer for the parts of long values, reused
  // from cell to cell.
  Value GetData(SQLHSTMT stmt, SQLUSMALLINT index, const Column& c,
                std::vector<unsigned char>& piece);
  void SetAutocommit(bool on);
  std::string Escape(const std::string& pattern);

  Handle env_;
  Handle dbc_;
  std::string dbms_;
  Dialect dialect_ = Dialect::Other;
  std::string database_;
  Handle statement_;  // freed before the connection: declared after it
  int statementTimeout_ = 0;
  bool inTransaction_ = false;
  bool blockGetData_ = false;
  mutable bool dead_ = false;
};

OdbcEngine::OdbcEngine(const ConnectionKeys& keys, const std::string& user,
                       const std::string& password) {
  try {
    env_ = Handle(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  } catch (const std::runtime_error& e) {
    Throw(Failure(err::kUnspecified, "IM004", e.what()));
  }
  SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!Succeeded(Handle::Allocate(SQL_HANDLE_DBC, env_.get(), dbc_))) {
    Fail(SQL_HANDLE_ENV, env_.get(), err::kUnspecified);
  }

  const std::string provider = Lower(Key(keys, {"provider"}));
  const bool oracle = provider.rfind("oraoledb", 0) == 0;
  const std::string server = oracle ? Key(keys, {"data source", "server"})
                                    : Key(keys, {"server", "data source", "address"});
  const std::string database = Key(keys, {"database", "initial catalog"});
  // Arguments of Open take the place of the string's own log-in.
  const std::string uid = !user.empty() ? user : Key(keys, {"uid", "user id", "user"});
  const std::string pwd =
      !user.empty() || !password.empty() ? password : Key(keys, {"pwd", "password"});

  std::string text;
  std::string driver;
  if (oracle || DataSourceExists(server, driver)) {
    text = "DSN=" + Attr(server) + ";";
  } else {
    driver = os::GetEnv("FEROLIN_ODBC_DRIVER");
    if (driver.empty()) driver = kDefaultDriver;
    text = "DRIVER={" + driver + "};SERVER=" + Attr(server) + ";";
  }
  // psqlODBC undoes only a refused statement inside a transaction at rollback
  // level 2; a data source may set another level, so it is asked for.
  if (IsPsqlOdbc(driver)) text += "Protocol=7.4-2;";
  if (!database.empty() && !oracle) text += "DATABASE=" + Attr(database) + ";";
  text += "UID=" + Attr(uid) + ";PWD=" + Attr(pwd) + ";";

  int loginTimeout = 15;
  if (std::string t = Key(keys, {"connect timeout"}); !t.empty()) {
    std::from_chars(t.data(), t.data() + t.size(), loginTimeout);
  }
  SQLSetConnectAttr(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                    reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(loginTimeout)), 0);

  std::string completed = Connect(text);

  // What the engine talks to is what the driver says, not what the string says.
  dbms_ = InfoText(SQL_DBMS_NAME);
  const std::string name = Lower(dbms_);
  if (name.find("sql server") != std::string::npos) {
    dialect_ = Dialect::SqlServer;
  } else if (name.find("postgres") != std::string::npos) {
    dialect_ = Dialect::PostgreSql;
  } else if (name.find("sqlite") != std::string::npos) {
    dialect_ = Dialect::Sqlite;
  }
  // PostgreSQL ends the whole transaction on a refused statement. A driver
  // not recognised above is connected again with the level when it turns
  // out to be psqlODBC.
  if (dialect_ == Dialect::PostgreSql && Lower(InfoText(SQL_DRIVER_NAME)).find("psqlodbc") == 0 &&
      !StatementRollback(completed)) {
    SQLDisconnect(dbc_.get());
    completed = Connect(text + "Protocol=7.4-2;");
  }
  SQLUINTEGER extensions = 0;
  if (Succeeded(SQLGetInfoW(dbc_.get(), SQL_GETDATA_EXTENSIONS, &extensions, sizeof extensions,
                            nullptr))) {
    blockGetData_ = (extensions & SQL_GD_BLOCK) != 0 && (extensions & SQL_GD_BOUND) != 0;
  }
  database_ = InfoText(SQL_DATABASE_NAME);
}

std::string OdbcEngine::Connect(const std::string& text) {
  WideString in = ToWide(text);
  SQLWCHAR out[4096];
  SQLSMALLINT outLength = 0;
  SQLRETURN rc =
      SQLDriverConnectW(dbc_.get(), nullptr, in.data(), static_cast<SQLSMALLINT>(in.size()), out,
                        4096, &outLength, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
  return FromWide(out, std::min<std::size_t>(
                           static_cast<std::size_t>(std::max<SQLSMALLINT>(outLength, 0)), 4095));
}

void OdbcEngine::Fail(SQLSMALLINT handleType, SQLHANDLE handle, long fallback) {
  EngineFailure f = Classify(ReadDiagnostics(handleType, handle), dialect_, fallback);
  if (f.connectionLost) dead_ = true;
  Throw(std::move(f));
}

std::string OdbcEngine::InfoText(SQLUSMALLINT what) {
  SQLWCHAR buffer[512] = {};
  SQLSMALLINT bytes = 0;
  if (!Succeeded(SQLGetInfoW(dbc_.get(), what, buffer, sizeof buffer, &bytes))) return {};
  std::size_t chars =
      std::min<std::size_t>(static_cast<std::size_t>(bytes) / sizeof(SQLWCHAR), 511);
  return FromWide(buffer, chars);
}

bool OdbcEngine::DataSourceExists(const std::string& name, std::string& driver) {
  if (name.empty()) return false;
  SQLWCHAR dsn[SQL_MAX_DSN_LENGTH + 1];
  SQLWCHAR description[512];
  SQLSMALLINT dsnLength = 0;
  SQLSMALLINT descriptionLength = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (Succeeded(SQLDataSourcesW(env_.get(), direction, dsn, SQL_MAX_DSN_LENGTH + 1, &dsnLength,
                                   description, 512, &descriptionLength))) {
    direction = SQL_FETCH_NEXT;
    std::size_t chars =
        std::min<std::size_t>(static_cast<std::size_t>(dsnLength), SQL_MAX_DSN_LENGTH);
    if (SameText(FromWide(dsn, chars), name)) {
      // The description of a data source is the name of its driver.
      driver = FromWide(description,
                        std::min<std::size_t>(static_cast<std::size_t>(descriptionLength), 511));
      return true;
    }
  }
  return false;
}

bool OdbcEngine::IsPsqlOdbc(const std::string& driver) {
  if (driver.empty()) return false;
  SQLWCHAR name[256];
  SQLWCHAR attributes[2048];
  SQLSMALLINT nameLength = 0;
  SQLSMALLINT attributesLength = 0;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  while (Succeeded(SQLDriversW(env_.get(), direction, name, 256, &nameLength, attributes, 2048,
                               &attributesLength))) {
    direction = SQL_FETCH_NEXT;
    if (!SameText(FromWide(name, std::min<std::size_t>(static_cast<std::size_t>(nameLength), 255)),
                  driver)) {
      continue;
    }
    // Attributes are "key=value" texts each ended by a null character.
    const std::size_t chars =
        std::min<std::size_t>(static_cast<std::size_t>(attributesLength), 2047);
    const std::string all = Lower(FromWide(attributes, chars));
    return all.find("psqlodbc") != std::string::npos;
  }
  return Lower(driver).find("psqlodbc") != std::string::npos;
}

Handle OdbcEngine::NewStatement(int timeoutSeconds) {
  Handle stmt;
  if (!Succeeded(Handle::Allocate(SQL_HANDLE_STMT, dbc_.get(), stmt))) {
    Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
  }
  if (timeoutSeconds > 0) {
    SQLSetStmtAttr(stmt.get(), SQL_ATTR_QUERY_TIMEOUT,
                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeoutSeconds)), 0);
  }
  return stmt;
}

SQLHSTMT OdbcEngine::ReusedStatement(int timeoutSeconds) {
  // Allocating a statement costs psqlODBC more than a short lookup does; one
  // handle serves every statement, reset to its defaults in between.
  if (!statement_) {
    statement_ = NewStatement(0);
  } else {
    SQLFreeStmt(statement_.get(), SQL_CLOSE);
    SQLFreeStmt(statement_.get(), SQL_UNBIND);
  }
  SQLHSTMT stmt = statement_.get();
  SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{1}), 0);
  SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
  SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
  if (timeoutSeconds != statementTimeout_) {
    SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT,
                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(std::max(timeoutSeconds, 0))),
                   0);
    statementTimeout_ = timeoutSeconds;
  }
  return stmt;
}

StatementResult OdbcEngine::Execute(const std::string& statement, int timeoutSeconds) {
  SQLHSTMT stmt = ReusedStatement(timeoutSeconds);
  WideString text = ToWide(statement);
  SQLRETURN rc = SQLExecDirectW(stmt, text.data(), static_cast<SQLINTEGER>(text.size()));
  Check(rc, SQL_HANDLE_STMT, stmt, err::kCommandText);
  if (rc == SQL_NO_DATA) {  // a search that touched no row
    StatementResult r;
    r.recordsAffected = 0;
    return r;
  }
  StatementResult r = ReadResult(stmt);
  SQLFreeStmt(stmt, SQL_CLOSE);
  return r;
}

StatementResult OdbcEngine::ReadResult(SQLHSTMT stmt) {
  StatementResult out;
  for (;;) {
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(stmt, &count), SQL_HANDLE_STMT, stmt, err::kUnspecified);
    if (count > 0) {
      std::vector<Column> cols = Describe(stmt, count);
      out.returnsRows = true;
      for (const Column& c : cols) out.columns.push_back(c.info);
      const bool bindable =
          std::all_of(cols.begin(), cols.end(), [](const Column& c) { return c.elementBytes > 0; });
      if (bindable) {
        FetchBlocks(stmt, cols, out);
      } else {
        FetchRows(stmt, cols, out);
      }
      out.recordsAffected = -1;
      return out;
    }
    SQLLEN affected = -1;
    if (Succeeded(SQLRowCount(stmt, &affected)) && affected >= 0) {
      out.recordsAffected = std::max<long>(0, out.recordsAffected) + static_cast<long>(affected);
    }
    SQLRETURN rc = SQLMoreResults(stmt);
    if (rc == SQL_NO_DATA) return out;
    Check(rc, SQL_HANDLE_STMT, stmt, err::kCommandText);
  }
}

std::vector<Column> OdbcEngine::Describe(SQLHSTMT stmt, SQLSMALLINT count) {
  std::vector<Column> cols(static_cast<std::size_t>(count));
  for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
    Column& c = cols[i - 1];
    SQLWCHAR name[512];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    Check(SQLDescribeColW(stmt, i, name, 512, &nameLength, &sqlType, &size, &c.decimals, &nullable),
          SQL_HANDLE_STMT, stmt, err::kUnspecified);
    c.info.name = FromWide(name, std::min<std::size_t>(static_cast<std::size_t>(nameLength), 511));
    SQLWCHAR text[256];
    SQLSMALLINT bytes = 0;
    std::string typeName;
    // The name tells only money from other exact numbers; asked for those
    // alone, as every call is work for the driver on every statement.
    if ((sqlType == SQL_DECIMAL || sqlType == SQL_NUMERIC) &&
        Succeeded(
            SQLColAttributeW(stmt, i, SQL_DESC_TYPE_NAME, text, sizeof text, &bytes, nullptr))) {
      typeName = FromWide(text, std::min<std::size_t>(bytes / sizeof(SQLWCHAR), 255));
    }
    bytes = 0;
    if (Succeeded(SQLColAttributeW(stmt, i, SQL_DESC_BASE_TABLE_NAME, text, sizeof text, &bytes,
                                   nullptr))) {
      c.info.baseTable = FromWide(text, std::min<std::size_t>(bytes / sizeof(SQLWCHAR), 255));
    }
    c.info.type = AdoType(sqlType, typeName);
    c.info.definedSize = DefinedSize(c.info.type, size);
    c.info.nullable = nullable != SQL_NO_NULLS;
    PrepareColumn(c, size);
  }
  return cols;
}

void OdbcEngine::FetchBlocks(SQLHSTMT stmt, std::vector<Column>& cols, StatementResult& out) {
  std::size_t rowBytes = 0;
  for (const Column& c : cols)
    rowBytes += static_cast<std::size_t>(c.elementBytes) + sizeof(SQLLEN);
  const SQLULEN limit =
      blockGetData_
          ? std::clamp<SQLULEN>(kRowsetBytes / std::max<std::size_t>(rowBytes, 1), 1, kMaxRowset)
          : 1;
  // Most statements are lookups of a row or a few: a block as large as the
  // limit would cost more to allocate than the round trip. The block takes
  // the size of the result when the driver knows it (psqlODBC does), and
  // otherwise starts small and grows while the rows keep coming.
  SQLLEN expected = -1;
  if (!Succeeded(SQLRowCount(stmt, &expected))) expected = -1;
  SQLULEN rowset = expected >= 0 ? std::clamp<SQLULEN>(static_cast<SQLULEN>(expected), 1, limit)
                                 : std::min(kFirstRowset, limit);
  if (expected > 0) out.rows.reserve(static_cast<std::size_t>(expected));

  SQLULEN fetched = 0;
  std::vector<SQLUSMALLINT> status;
  std::vector<unsigned char> piece;
  SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
  SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
  // Buffers are (re)bound for each block size; ODBC allows both between fetches.
  auto bind = [&](SQLULEN size) {
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(size), 0);
    // A driver may lower the block size (01S02); use what it took.
    SQLULEN granted = 1;
    if (!Succeeded(SQLGetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, &granted, 0, nullptr)) ||
        granted < 1) {
      granted = 1;
    }
    status.resize(granted);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status.data(), 0);
    for (std::size_t k = 0; k < cols.size(); ++k) {
      Column& c = cols[k];
      const std::size_t bytes = static_cast<std::size_t>(c.elementBytes) * granted;
      if (bytes > c.bufferBytes) {
        c.buffer = std::make_unique_for_overwrite<unsigned char[]>(bytes);
        c.bufferBytes = bytes;
      }
      c.indicator.resize(granted);
      Check(SQLBindCol(stmt, static_cast<SQLUSMALLINT>(k + 1), c.cType, c.buffer.get(),
                       c.elementBytes, c.indicator.data()),
            SQL_HANDLE_STMT, stmt, err::kUnspecified);
    }
    return granted;
  };
  rowset = bind(rowset);
  for (;;) {
    SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA) break;
    Check(rc, SQL_HANDLE_STMT, stmt, err::kUnspecified);
    for (SQLULEN r = 0; r < fetched; ++r) {
      if (status[r] == SQL_ROW_ERROR) Fail(SQL_HANDLE_STMT, stmt, err::kUnspecified);
      std::vector<Value> row;
      row.reserve(cols.size());
      for (std::size_t k = 0; k < cols.size(); ++k) {
        const Column& c = cols[k];
        const SQLLEN length = c.indicator[r];
        const bool text = c.cType == SQL_C_WCHAR || c.cType == SQL_C_BINARY;
        const SQLLEN room =
            c.cType == SQL_C_WCHAR ? c.elementBytes - SQLLEN(sizeof(SQLWCHAR)) : c.elementBytes;
        if (text && length != SQL_NULL_DATA && (length == SQL_NO_TOTAL || length > room)) {
          // Longer than the driver described it: read that cell again whole
          // rather than keep a cut value.
          if (!Succeeded(SQLSetPos(stmt, static_cast<SQLSETPOSIROW>(r + 1), SQL_POSITION,
                                   SQL_LOCK_NO_CHANGE))) {
            Fail(SQL_HANDLE_STMT, stmt, err::kUnspecified);
          }
          row.push_back(GetData(stmt, static_cast<SQLUSMALLINT>(k + 1), c, piece));
          continue;
        }
        row.push_back(
            CellValue(c, c.buffer.get() + static_cast<std::size_t>(c.elementBytes) * r, length));
      }
      out.rows.push_back(std::move(row));
    }
    if (fetched == rowset && rowset < limit) {
      rowset = bind(std::min(rowset * kRowsetGrowth, limit));
    }
  }
  SQLFreeStmt(stmt, SQL_UNBIND);
}

void OdbcEngine::FetchRows(SQLHSTMT stmt, std::vector<Column>& cols, StatementResult& out) {
  std::vector<unsigned char> piece;
  for (;;) {
    SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA) break;
    Check(rc, SQL_HANDLE_STMT, stmt, err::kUnspecified);
    std::vector<Value> row;
    row.reserve(cols.size());
    for (std::size_t k = 0; k < cols.size(); ++k) {
      row.push_back(GetData(stmt, static_cast<SQLUSMALLINT>(k + 1), cols[k], piece));
    }
    out.rows.push_back(std::move(row));
  }
}

Value OdbcEngine::GetData(SQLHSTMT stmt, SQLUSMALLINT index, const Column& c,
                          std::vector<unsigned char>& piece) {
  if (c.cType == SQL_C_WCHAR || c.cType == SQL_C_BINARY) {
    // Piece by piece: each call returns the next part of a long value. A
    // value that fits the first piece is converted from it directly.
    const bool wide = c.cType == SQL_C_WCHAR;
    if (piece.size() < kGetDataPiece) piece.resize(kGetDataPiece);
    std::vector<unsigned char> all;
    for (;;) {
      SQLLEN length = 0;
      SQLRETURN rc = SQLGetData(stmt, index, c.cType, piece.data(),
                                static_cast<SQLLEN>(piece.size()), &length);
      if (rc == SQL_NO_DATA) break;
      Check(rc, SQL_HANDLE_STMT, stmt, err::kUnspecified);
      if (length == SQL_NULL_DATA) return Value();
      const std::size_t room = piece.size() - (wide ? sizeof(SQLWCHAR) : 0);
      const std::size_t got = (length == SQL_NO_TOTAL || static_cast<std::size_t>(length) > room)
                                  ? room
                                  : static_cast<std::size_t>(length);
      if (rc == SQL_SUCCESS && all.empty()) {
        return CellValue(c, piece.data(), static_cast<SQLLEN>(got));
      }
      all.insert(all.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
      if (rc == SQL_SUCCESS) break;
    }
    return CellValue(c, all.data(), static_cast<SQLLEN>(all.size()));
  }
  unsigned char buffer[64] = {};
  SQLLEN length = 0;
  Check(SQLGetData(stmt, index, c.cType, buffer, sizeof buffer, &length), SQL_HANDLE_STMT, stmt,
        err::kUnspecified);
  return CellValue(c, buffer, length);
}

void OdbcEngine::SetAutocommit(bool on) {
  SQLRETURN rc = SQLSetConnectAttr(dbc_.get(), SQL_ATTR_AUTOCOMMIT,
                                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(
                                       on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                                   0);
  if (!Succeeded(rc)) Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
}

void OdbcEngine::Begin() {
  SetAutocommit(false);
  inTransaction_ = true;
}

void OdbcEngine::Commit() {
  if (!Succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_COMMIT))) {
    Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
  }
  inTransaction_ = false;
  SetAutocommit(true);
}

void OdbcEngine::Rollback() {
  // Whatever the answer, the transaction is over: a server that cannot be
  // reached has undone it already.
  inTransaction_ = false;
  if (!Succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK))) {
    Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
  }
  SetAutocommit(true);
}

void OdbcEngine::SetIsolationLevel(int adoLevel) {
  SQLULEN level;
  switch (adoLevel) {
    case 256:  // read uncommitted (browse)
      level = SQL_TXN_READ_UNCOMMITTED;
      break;
    case 4096:  // read committed (cursor stability)
      level = SQL_TXN_READ_COMMITTED;
      break;
    case 65536:  // repeatable read
      level = SQL_TXN_REPEATABLE_READ;
      break;
    case 1048576:  // serializable (isolated)
      level = SQL_TXN_SERIALIZABLE;
      break;
    case -1:  // unspecified: leave the server's own
      return;
    default:
      Throw(Failure(err::kInvalidArgument, "HY024",
                    "Isolation level " + std::to_string(adoLevel) + " is not supported."));
  }
  SQLRETURN rc =
      SQLSetConnectAttr(dbc_.get(), SQL_ATTR_TXN_ISOLATION, reinterpret_cast<SQLPOINTER>(level), 0);
  if (!Succeeded(rc)) Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
}

void OdbcEngine::SetDefaultDatabase(const std::string& name) {
  if (SameText(name, database_)) return;
  WideString wide = ToWide(name);
  SQLRETURN rc = SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_CURRENT_CATALOG, wide.data(),
                                    static_cast<SQLINTEGER>(wide.size() * sizeof(SQLWCHAR)));
  if (!Succeeded(rc)) Fail(SQL_HANDLE_DBC, dbc_.get(), err::kUnspecified);
  database_ = InfoText(SQL_DATABASE_NAME);
  if (database_.empty()) database_ = name;
}

bool OdbcEngine::IsDead() const {
  if (dead_) return true;
  SQLUINTEGER state = SQL_CD_FALSE;
  if (Succeeded(SQLGetConnectAttr(dbc_.get(), SQL_ATTR_CONNECTION_DEAD, &state, 0, nullptr)) &&
      state == SQL_CD_TRUE) {
    dead_ = true;
  }
  return dead_;
}

std::string OdbcEngine::Escape(const std::string& pattern) {
  std::string escape = InfoText(SQL_SEARCH_PATTERN_ESCAPE);
  if (escape.empty()) return pattern;
  std::string out;
  for (char c : pattern) {
    if (c == '_' || c == '%' || escape.find(c) != std::string::npos) out += escape;
    out += c;
  }
  return out;
}

// Restrictions match whole names without regard to case, as the suite's
// server compares them; "" matches everything.
bool Matches(const std::vector<std::string>& restrictions, std::size_t i, const Value& v) {
  return i >= restrictions.size() || restrictions[i].empty() ||
         SameText(restrictions[i], v.ToText());
}

StatementResult OdbcEngine::Tables(const std::vector<std::string>& restrictions) {
  Handle stmt = NewStatement(0);
  Check(SQLTablesW(stmt.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), SQL_HANDLE_STMT,
        stmt.get(), err::kUnspecified);
  StatementResult all = ReadResult(stmt.get());
  StatementResult out;
  out.returnsRows = true;
  const char* names[] = {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE",
                         "DESCRIPTION"};
  for (std::size_t i = 0; i < 5 && i < all.columns.size(); ++i) {
    ColumnInfo c = all.columns[i];
    c.name = names[i];
    out.columns.push_back(c);
  }
  for (auto& row : all.rows) {
    if (row.size() < 4) continue;
    bool keep = true;
    for (std::size_t i = 0; i < 4; ++i) keep = keep && Matches(restrictions, i, row[i]);
    if (!keep) continue;
    row.resize(out.columns.size());
    out.rows.push_back(std::move(row));
  }
  return out;
}

StatementResult OdbcEngine::Columns(const std::vector<std::string>& restrictions) {
  const std::string table = restrictions.size() > 2 ? restrictions[2] : "";
  // The name as given, then as PostgreSQL folds it, then every table.
  std::vector<std::string> attempts;
  if (!table.empty()) {
    attempts.push_back(table);
    if (Lower(table) != table) attempts.push_back(Lower(table));
  }
  attempts.push_back("");
  StatementResult all;
  for (const std::string& name : attempts) {
    Handle stmt = NewStatement(0);
    WideString pattern = ToWide(Escape(name));
    SQLRETURN rc = name.empty()
                       ? SQLColumnsW(stmt.get(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0)
                       : SQLColumnsW(stmt.get(), nullptr, 0, nullptr, 0, pattern.data(),
                                     static_cast<SQLSMALLINT>(pattern.size()), nullptr, 0);
    Check(rc, SQL_HANDLE_STMT, stmt.get(), err::kUnspecified);
    all = ReadResult(stmt.get());
    if (!all.rows.empty()) break;
  }
  StatementResult out;
  out.returnsRows = true;
  auto column = [](const char* name, int type, long size) {
    ColumnInfo c;
    c.name = name;
    c.type = type;
    c.definedSize = size;
    return c;
  };
  out.columns = {column("TABLE_CATALOG", type::kVarWChar, 128),
                 column("TABLE_SCHEMA", type::kVarWChar, 128),
                 column("TABLE_NAME", type::kVarWChar, 128),
                 column("COLUMN_NAME", type::kVarWChar, 128),
                 column("ORDINAL_POSITION", type::kInteger, 4),
                 column("DATA_TYPE", type::kSmallInt, 2),
                 column("CHARACTER_MAXIMUM_LENGTH", type::kInteger, 4),
                 column("IS_NULLABLE", type::kBoolean, 2)};
  // SQLColumns: 1 catalog, 2 schema, 3 table, 4 column, 5 SQL type, 6 type
  // name, 7 column size, 11 nullable, 17 ordinal position.
  for (const auto& row : all.rows) {
    if (row.size() < 17) continue;
    if (!Matches(restrictions, 0, row[0]) || !Matches(restrictions, 1, row[1]) ||
        !Matches(restrictions, 2, row[2]) || !Matches(restrictions, 3, row[3])) {
      continue;
    }
    const int ado = AdoType(static_cast<SQLSMALLINT>(row[4].ToNumber()), row[5].ToText());
    std::vector<Value> r = {row[0],
                            row[1],
                            row[2],
                            row[3],
                            Value::Integer(std::int64_t(row[16].ToNumber())),
                            Value::Integer(ado),
                            IsText(ado) ? Value::Integer(std::int64_t(row[6].ToNumber())) : Value(),
                            Value::Integer(row[10].ToNumber() != SQL_NO_NULLS ? 1 : 0)};
    out.rows.push_back(std::move(r));
  }
  return out;
}

}  // namespace

std::unique_ptr<Engine> OpenOdbcEngine(const ConnectionKeys& keys, const std::string& user,
                                       const std::string& password) {
  return std::make_unique<OdbcEngine>(keys, user, password);
}

}  // namespace ferolin::db::odbc
