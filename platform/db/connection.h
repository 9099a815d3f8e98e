#pragma once
// The connection the rest of the program talks to. It understands the suite's
// provider strings, picks the engine, passes SQL Server's dialect through the
// adapter for the engine, and keeps the provider error collection.

#include <memory>
#include <string>
#include <vector>

#include "platform/db/errors.h"

namespace ferolin::db {

class Engine;
class Recordset;

// ADO codes used by the program.
namespace cursor_location {
inline constexpr int kServer = 2;
inline constexpr int kClient = 3;
}  // namespace cursor_location
namespace isolation {
inline constexpr int kReadUncommitted = 256;
inline constexpr int kReadCommitted = 4096;
inline constexpr int kRepeatableRead = 65536;
inline constexpr int kSerializable = 1048576;
}  // namespace isolation
namespace schema {
inline constexpr int kColumns = 4;
inline constexpr int kTables = 20;
}  // namespace schema

class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Raises DbError: err::kAlreadyOpen when open, or the provider failure
  // (its diagnostics added to Errors()).
  void Open(const std::string& connectionString, const std::string& user = "",
            const std::string& password = "");
  // Raises err::kClosedObject when already closed.
  void Close();
  bool IsOpen() const;

  // Runs a statement or a batch (split and adapted to the engine's dialect).
  // When the last statement that returns rows does, the result is an open
  // Recordset, otherwise a closed one. recordsAffected: rows changed by the
  // batch's INSERT/UPDATE/DELETE statements, -1 when it had none. The first
  // failing statement stops the batch (what ran before it stays, as on the
  // server) and raises with its diagnostics in Errors(); err::kClosedObject
  // is never raised here: a closed connection gives err::kConnectionUnusable.
  std::unique_ptr<Recordset> Execute(const std::string& sql, long* recordsAffected = nullptr);

  // CommitTrans/RollbackTrans without a transaction raise err::kNoTransaction.
  // On the embedded engine transactions nest as on the server (BeginTrans and
  // a script's BEGIN TRANSACTION count alike; only the outermost commit
  // writes; a rollback undoes all); on other engines a BeginTrans inside a
  // transaction raises err::kNotSupported. Close and destruction roll back
  // what is pending.
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  int CommandTimeout() const;  // seconds, default 30; 0 = no limit
  void SetCommandTimeout(int seconds);
  std::string DefaultDatabase() const;
  void SetDefaultDatabase(const std::string& name);
  int CursorLocation() const;
  void SetCursorLocation(int location);
  int IsolationLevel() const;
  void SetIsolationLevel(int level);
  const std::string& ConnectionString() const;

  // schema::kTables or schema::kColumns; restrictions as in ADO.
  std::unique_ptr<Recordset> OpenSchema(int schemaId,
                                        const std::vector<std::string>& restrictions = {});

  ProviderErrors& Errors();
  const ProviderErrors& Errors() const;

  // The engine behind an open connection; for Recordset and tests.
  Engine& engine();
  std::string DbmsName() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace ferolin::db
