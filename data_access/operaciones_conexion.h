#pragma once
// The connection operations DB_Dll opens and runs statements through. The
// default forwards to the object's own connection; a test puts a recording or
// failing implementation in its place (there is no Oracle server or Jet file
// to make those paths happen for real).

#include <memory>
#include <string>
#include <vector>

#include "platform/db/connection.h"
#include "platform/db/recordset.h"

namespace ferolin {

class OperacionesConexion {
 public:
  virtual ~OperacionesConexion() = default;
  virtual void Open(const std::string& connectionString, const std::string& user,
                    const std::string& password) = 0;
  virtual void Close() = 0;
  virtual std::unique_ptr<db::Recordset> Execute(const std::string& sql, long* recordsAffected) = 0;
  virtual void BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;
  virtual std::string ConnectionString() const = 0;
  virtual db::ProviderErrors& Errors() = 0;
  virtual void OpenRecordset(db::Recordset& rs, const std::string& source, db::Connection& on,
                             int cursorType, int lockType, int options) = 0;
  virtual std::unique_ptr<db::Recordset> OpenSchema(
      int schemaId, const std::vector<std::string>& restrictions) = 0;
};

class ConexionDirecta : public OperacionesConexion {
 public:
  explicit ConexionDirecta(db::Connection& cnn) : cnn_(cnn) {}
  void Open(const std::string& connectionString, const std::string& user,
            const std::string& password) override {
    cnn_.Open(connectionString, user, password);
  }
  void Close() override { cnn_.Close(); }
  std::unique_ptr<db::Recordset> Execute(const std::string& sql, long* recordsAffected) override {
    return cnn_.Execute(sql, recordsAffected);
  }
  void BeginTrans() override { cnn_.BeginTrans(); }
  void CommitTrans() override { cnn_.CommitTrans(); }
  void RollbackTrans() override { cnn_.RollbackTrans(); }
  std::string ConnectionString() const override { return cnn_.ConnectionString(); }
  db::ProviderErrors& Errors() override { return cnn_.Errors(); }
  void OpenRecordset(db::Recordset& rs, const std::string& source, db::Connection& on,
                     int cursorType, int lockType, int options) override {
    rs.Open(source, on, cursorType, lockType, options);
  }
  std::unique_ptr<db::Recordset> OpenSchema(int schemaId,
                                            const std::vector<std::string>& restrictions) override {
    return cnn_.OpenSchema(schemaId, restrictions);
  }

 protected:
  db::Connection& conexion() { return cnn_; }

 private:
  db::Connection& cnn_;
};

}  // namespace ferolin
