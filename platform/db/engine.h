#pragma once
// What an engine (embedded SQLite, ODBC) provides behind Connection. Engines
// receive text already adapted to their dialect, one statement at a time.

#include <memory>
#include <string>
#include <vector>

#include "platform/db/errors.h"
#include "platform/db/value.h"

namespace ferolin::db {

struct ColumnInfo {
  std::string name;
  int type = type::kVarChar;  // ADO type code
  long definedSize = 0;       // characters for text, bytes otherwise
  std::string baseTable;      // source table when the engine knows it, else ""
  bool nullable = true;
};

struct StatementResult {
  bool returnsRows = false;
  std::vector<ColumnInfo> columns;
  std::vector<std::vector<Value>> rows;
  long recordsAffected = -1;
};

// What went wrong in one statement, as the engine saw it. The engine maps its
// own codes onto SQL Server's native numbers (native::*) where they apply.
struct EngineFailure {
  long number = err::kUnspecified;  // ADO number to raise (err::*)
  std::vector<ProviderError> diagnostics;
  bool connectionLost = false;
};

class EngineError : public std::exception {
 public:
  explicit EngineError(EngineFailure f) : failure_(std::move(f)) {}
  const EngineFailure& failure() const { return failure_; }
  const char* what() const noexcept override {
    return failure_.diagnostics.empty() ? "database failure"
                                        : failure_.diagnostics.front().description.c_str();
  }

 private:
  EngineFailure failure_;
};

enum class Dialect { SqlServer, Sqlite, PostgreSql, Other };

class Engine {
 public:
  virtual ~Engine() = default;

  // Name of the DBMS as the engine reports it ("SQLite", "PostgreSQL",
  // "Microsoft SQL Server", ...) and the dialect the adapter must produce.
  virtual std::string DbmsName() const = 0;
  virtual Dialect dialect() const = 0;

  // Runs one statement. timeoutSeconds 0 means no limit. Throws EngineError.
  virtual StatementResult Execute(const std::string& statement, int timeoutSeconds) = 0;

  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool InTransaction() const = 0;

  // ADO isolation codes (256 read uncommitted, 4096 read committed, ...).
  virtual void SetIsolationLevel(int adoLevel) = 0;
  virtual void SetDefaultDatabase(const std::string& name) = 0;
  virtual std::string DefaultDatabase() const = 0;

  // Schema rowsets: tables (and views) with TABLE_CATALOG, TABLE_SCHEMA,
  // TABLE_NAME, TABLE_TYPE; columns with TABLE_CATALOG, TABLE_SCHEMA,
  // TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH.
  // Empty restriction strings match everything.
  virtual StatementResult Tables(const std::vector<std::string>& restrictions) = 0;
  virtual StatementResult Columns(const std::vector<std::string>& restrictions) = 0;

  // True when the link to the server is known to be gone.
  virtual bool IsDead() const = 0;
};

}  // namespace ferolin::db
