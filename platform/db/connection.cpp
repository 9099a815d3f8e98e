#include "platform/db/connection.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/db/connection_string.h"
#include "platform/db/engine.h"
#include "platform/db/odbc/odbc_engine.h"
#include "platform/db/recordset.h"
#include "platform/db/sqlite/sqlite_engine.h"
#include "platform/db/tsql_adapter.h"
#include "platform/os/environment.h"

namespace ferolin::db {

namespace {

constexpr const char* kSource = "Ferolin.Db";

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Key(const ConnectionKeys& keys, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (auto it = keys.find(n); it != keys.end()) return it->second;
  }
  return {};
}

// Local databases live in <program folder>/datos/ unless FEROLIN_DATOS names
// another folder.
std::filesystem::path DataFolder() {
  const std::string env = os::GetEnv("FEROLIN_DATOS");
  if (!env.empty()) return std::filesystem::path(env);
  return std::filesystem::path(os::ProgramFolder()) / "datos";
}

[[noreturn]] void Raise(long number, const std::string& description) {
  throw DbError(number, description, kSource);
}

}  // namespace

struct Connection::Impl {
  std::unique_ptr<Engine> engine;
  std::string connectionString;
  std::string defaultDatabase;
  int commandTimeout = 30;
  int cursorLocation = cursor_location::kServer;
  int isolationLevel = isolation::kReadCommitted;
  ProviderErrors errors;

  // Raises the engine's failure as the client's error, keeping its diagnostics.
  [[noreturn]] void Fail(const EngineFailure& f) {
    for (const ProviderError& e : f.diagnostics) errors.Add(e);
    const long number = f.connectionLost ? err::kUnspecified : f.number;
    std::string description =
        f.diagnostics.empty() ? "Unspecified error" : f.diagnostics.front().description;
    throw DbError(number, std::move(description),
                  f.diagnostics.empty() ? kSource : f.diagnostics.front().source);
  }

  // A connection-level failure found by the client itself (no engine yet).
  [[noreturn]] void FailOpen(const std::string& sqlState, long nativeError,
                             const std::string& description) {
    errors.Add(ProviderError{sqlState, err::kUnspecified, nativeError, description, kSource});
    Raise(err::kUnspecified, description);
  }

  std::unique_ptr<Engine> OpenEngine(const ConnectionKeys& keys, const std::string& user,
                                     const std::string& password) {
    const std::string provider = Upper(Key(keys, {"provider"}));
    if (provider == "SQLOLEDB" || provider == "SQLOLEDB.1") {
      const std::string server = Key(keys, {"server", "data source", "address"});
      if (Upper(server) != "SQLITE") return odbc::OpenOdbcEngine(keys, user, password);
      const std::string database = Key(keys, {"database", "initial catalog"});
      if (database.empty()) {
        FailOpen("42000", 4060, "Cannot open the database: the connection names no database.");
      }
      // A database name, not a path: it must not reach outside the data folder.
      if (database.find_first_of("/\\") != std::string::npos || database == "." ||
          database == "..") {
        FailOpen("42000", 4060, "Cannot open database \"" + database + "\": not a database name.");
      }
      const std::filesystem::path file = DataFolder() / (database + ".db");
      if (std::error_code ec; !std::filesystem::is_regular_file(file, ec)) {
        FailOpen("42000", 4060,
                 "Cannot open database \"" + database + "\": the file " + file.string() +
                     " does not exist.");
      }
      return sqlite::OpenSqliteEngine(file.string());
    }
    if (provider == "MICROSOFT.JET.OLEDB.4.0" || provider == "MICROSOFT.JET.OLEDB.3.51") {
      const std::string file = Key(keys, {"data source"});
      if (std::error_code ec; file.empty() || !std::filesystem::is_regular_file(file, ec)) {
        // 3024 is the local provider's "file not found": the caller browses again.
        FailOpen("3024", 0, "Could not find file '" + file + "'.");
      }
      return sqlite::OpenSqliteEngine(file);
    }
    if (provider.rfind("ORAOLEDB.ORACLE", 0) == 0 || provider.rfind("MSDASQL", 0) == 0) {
      return odbc::OpenOdbcEngine(keys, user, password);
    }
    Raise(err::kProviderNotFound, "Provider cannot be found. It may not be properly installed. (" +
                                      Key(keys, {"provider"}) + ")");
  }

  // Transactions. On the embedded engine they nest the way the server's do
  // (a counter like @@TRANCOUNT: only the outermost commit writes, any
  // rollback undoes everything), so a script's BEGIN TRANSACTION inside a
  // BeginTrans works as it does there. Other engines get one level.
  enum class Tx { Begin, Commit, Rollback };
  int tranCount = 0;

  bool Nests() const { return engine->dialect() == Dialect::Sqlite; }

  int Level() {
    const bool open = engine->InTransaction();
    if (!open) tranCount = 0;
    if (open && tranCount == 0) tranCount = 1;  // begun by a statement we did not see
    return tranCount;
  }

  // fromScript: the statement form (BEGIN TRANSACTION ... in a batch), which
  // fails as the server's statement does; otherwise the connection method.
  void Transaction(Tx tx, bool fromScript) {
    try {
      const int level = Level();
      if (tx == Tx::Begin) {
        if (level == 0) {
          engine->Begin();
        } else if (!Nests()) {
          Raise(err::kNotSupported, "A transaction is already running on this connection.");
        }
        tranCount = level + 1;
        return;
      }
      if (level == 0) {
        if (!fromScript) Raise(err::kNoTransaction, "No transaction is active.");
        const bool commit = tx == Tx::Commit;
        EngineFailure f;
        f.number = err::kCommandText;
        f.diagnostics.push_back(ProviderError{
            "25000", err::kCommandText, commit ? 3902 : 3903,
            commit ? "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."
                   : "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.",
            kSource});
        throw EngineError(std::move(f));
      }
      if (tx == Tx::Rollback) {
        tranCount = 0;
        engine->Rollback();
      } else if (level == 1) {
        engine->Commit();  // a failed commit leaves the transaction open
        tranCount = 0;
      } else {
        tranCount = level - 1;
      }
    } catch (const EngineError& e) {
      Fail(e.failure());
    }
  }

  // The adapted statement when it is a transaction statement the client runs itself.
  std::optional<Tx> TransactionStatement(const std::string& statement) const {
    if (!Nests()) return std::nullopt;
    if (statement == "BEGIN TRANSACTION") return Tx::Begin;
    if (statement == "COMMIT") return Tx::Commit;
    if (statement == "ROLLBACK") return Tx::Rollback;
    return std::nullopt;
  }

  Engine& Require(long closedNumber) {
    if (!engine) {
      Raise(closedNumber, closedNumber == err::kClosedObject
                              ? "Operation is not allowed when the object is closed."
                              : "The connection cannot be used to perform this operation. It "
                                "is either closed or invalid in this context.");
    }
    return *engine;
  }
};

Connection::Connection() : impl_(std::make_unique<Impl>()) {}

Connection::~Connection() {
  // An unfinished transaction is undone, never committed by accident.
  if (impl_->engine) {
    try {
      if (impl_->engine->InTransaction()) impl_->engine->Rollback();
    } catch (const EngineError&) {
      // The engine goes away below; its file keeps only committed work.
    }
  }
}

void Connection::Open(const std::string& connectionString, const std::string& user,
                      const std::string& password) {
  if (impl_->engine) Raise(err::kAlreadyOpen, "Operation is not allowed when the object is open.");
  impl_->errors.Clear();
  const ConnectionKeys keys = ParseConnectionString(connectionString);
  std::unique_ptr<Engine> engine;
  try {
    engine = impl_->OpenEngine(keys, user, password);
    if (impl_->isolationLevel != isolation::kReadCommitted) {
      engine->SetIsolationLevel(impl_->isolationLevel);
    }
    const std::string database = Key(keys, {"database", "initial catalog"});
    if (!database.empty()) engine->SetDefaultDatabase(database);
  } catch (const EngineError& e) {
    impl_->Fail(e.failure());
  }
  impl_->engine = std::move(engine);
  impl_->connectionString = connectionString;
  impl_->defaultDatabase = impl_->engine->DefaultDatabase();
}

void Connection::Close() {
  Engine& engine = impl_->Require(err::kClosedObject);
  try {
    if (engine.InTransaction()) engine.Rollback();
  } catch (const EngineError&) {
    // Closing must succeed; the database keeps only committed work either way.
  }
  impl_->engine.reset();
  impl_->tranCount = 0;
}

bool Connection::IsOpen() const {
  return impl_->engine != nullptr;
}

std::unique_ptr<Recordset> Connection::Execute(const std::string& sql, long* recordsAffected) {
  Engine& engine = impl_->Require(err::kConnectionUnusable);
  impl_->errors.Clear();
  auto rs = std::make_unique<Recordset>();
  long affected = -1;
  std::optional<StatementResult> rows;
  // The time-out covers the whole batch, as it covers one command on the server.
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& statement : AdaptBatch(sql, engine.dialect())) {
    int seconds = impl_->commandTimeout;
    if (seconds > 0) {
      const auto spent = std::chrono::duration_cast<std::chrono::seconds>(
          std::chrono::steady_clock::now() - start);
      seconds = std::max(1, seconds - static_cast<int>(spent.count()));
    }
    if (const auto tx = impl_->TransactionStatement(statement)) {
      if (recordsAffected) *recordsAffected = affected;
      impl_->Transaction(*tx, true);
      continue;
    }
    StatementResult r;
    try {
      r = engine.Execute(statement, seconds);
    } catch (const EngineError& e) {
      if (recordsAffected) *recordsAffected = affected;
      impl_->Fail(e.failure());
    }
    if (r.recordsAffected >= 0) affected = std::max(0L, affected) + r.recordsAffected;
    if (r.returnsRows) rows = std::move(r);
  }
  if (recordsAffected) *recordsAffected = affected;
  if (rows) rs->Attach(this, std::move(*rows), sql);
  return rs;
}

void Connection::BeginTrans() {
  impl_->Require(err::kConnectionUnusable);
  impl_->errors.Clear();
  impl_->Transaction(Impl::Tx::Begin, false);
}

void Connection::CommitTrans() {
  impl_->Require(err::kConnectionUnusable);
  impl_->errors.Clear();
  impl_->Transaction(Impl::Tx::Commit, false);
}

void Connection::RollbackTrans() {
  impl_->Require(err::kConnectionUnusable);
  impl_->errors.Clear();
  impl_->Transaction(Impl::Tx::Rollback, false);
}

int Connection::CommandTimeout() const {
  return impl_->commandTimeout;
}

void Connection::SetCommandTimeout(int seconds) {
  if (seconds < 0) {
    Raise(err::kInvalidArgument,
          "Arguments are of the wrong type, are out of acceptable range, or are in conflict with "
          "one another.");
  }
  impl_->commandTimeout = seconds;
}

std::string Connection::DefaultDatabase() const {
  return impl_->engine ? impl_->engine->DefaultDatabase() : impl_->defaultDatabase;
}

void Connection::SetDefaultDatabase(const std::string& name) {
  if (impl_->engine) {
    impl_->errors.Clear();
    try {
      impl_->engine->SetDefaultDatabase(name);
    } catch (const EngineError& e) {
      impl_->Fail(e.failure());
    }
  }
  impl_->defaultDatabase = name;
}

int Connection::CursorLocation() const {
  return impl_->cursorLocation;
}

void Connection::SetCursorLocation(int location) {
  if (location != cursor_location::kServer && location != cursor_location::kClient) {
    Raise(err::kInvalidArgument,
          "Arguments are of the wrong type, are out of acceptable range, or are in conflict with "
          "one another.");
  }
  // Every result set is fetched into memory; the value is kept for the program.
  impl_->cursorLocation = location;
}

int Connection::IsolationLevel() const {
  return impl_->isolationLevel;
}

void Connection::SetIsolationLevel(int level) {
  if (impl_->engine) {
    impl_->errors.Clear();
    try {
      impl_->engine->SetIsolationLevel(level);
    } catch (const EngineError& e) {
      impl_->Fail(e.failure());
    }
  }
  impl_->isolationLevel = level;
}

const std::string& Connection::ConnectionString() const {
  return impl_->connectionString;
}

std::unique_ptr<Recordset> Connection::OpenSchema(int schemaId,
                                                  const std::vector<std::string>& restrictions) {
  Engine& engine = impl_->Require(err::kConnectionUnusable);
  impl_->errors.Clear();
  if (schemaId != schema::kTables && schemaId != schema::kColumns) {
    Raise(err::kNotSupported,
          "Object or provider is not capable of performing requested operation.");
  }
  StatementResult r;
  try {
    r = schemaId == schema::kTables ? engine.Tables(restrictions) : engine.Columns(restrictions);
  } catch (const EngineError& e) {
    impl_->Fail(e.failure());
  }
  auto rs = std::make_unique<Recordset>();
  rs->Attach(this, std::move(r), "");
  return rs;
}

ProviderErrors& Connection::Errors() {
  return impl_->errors;
}
const ProviderErrors& Connection::Errors() const {
  return impl_->errors;
}

Engine& Connection::engine() {
  return impl_->Require(err::kConnectionUnusable);
}

std::string Connection::DbmsName() const {
  return impl_->engine ? impl_->engine->DbmsName() : std::string();
}

}  // namespace ferolin::db
