#pragma once
// A temporary data folder with a small SQLite database of our own DDL, and a
// connection string that reaches it through the embedded engine.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/db/connection.h"
#include "tests/support/temp_folder.h"

namespace ferolin::db::dbtest {

// Runs DDL/DML on a file directly, creating it when missing.
inline void RunOnFile(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot create " + path);
  }
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  std::string text = message ? message : "";
  sqlite3_free(message);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error("setup failed: " + text);
}

inline const char* kFixtureDdl = R"sql(
CREATE TABLE TA_CONFIGURACION (
  GRUPO VARCHAR(50), CLAVE VARCHAR(100) NOT NULL, VALOR VARCHAR(250), ValorAux VARCHAR(250),
  PoliticaNegocio BIT DEFAULT 0,
  CONSTRAINT len_CLAVE CHECK (length(CLAVE) <= 100),
  CONSTRAINT len_VALOR CHECK (length(VALOR) <= 250),
  CONSTRAINT PK_TA_CONFIGURACION PRIMARY KEY (CLAVE));
CREATE TABLE MA_CUENTAS (CODIGO CHAR(20) NOT NULL PRIMARY KEY, DESCRIPCION VARCHAR(50),
  SALDO MONEY, ALTA DATETIME, CONSTRAINT len_DESCRIPCION CHECK (length(DESCRIPCION) <= 50));
CREATE INDEX IX_MA_CUENTAS_CODIGO ON MA_CUENTAS(LTRIM(RTRIM(CODIGO)) COLLATE NOCASE);
CREATE TABLE Control_Acceso (ID INTEGER PRIMARY KEY AUTOINCREMENT, Maquina VARCHAR(50),
  Usuario VARCHAR(50), Formulario VARCHAR(50), Tarea VARCHAR(50), Ingreso VARCHAR(20),
  NombreUsuario VARCHAR(50), EGRESO VARCHAR(20));
CREATE TABLE MOVIMIENTOS (ID INTEGER PRIMARY KEY, CUENTA CHAR(20) NOT NULL
  REFERENCES MA_CUENTAS(CODIGO), IMPORTE REAL CHECK (IMPORTE <> 0));
CREATE VIEW V_CUENTAS AS SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS;
INSERT INTO MA_CUENTAS VALUES ('1001', 'Caja', 10.5, '2024-03-01 08:30:00');
INSERT INTO MA_CUENTAS VALUES ('  2002  ', 'Banco', NULL, NULL);
INSERT INTO MA_CUENTAS VALUES ('abc', 'Minusculas', 0, NULL);
)sql";

// A data folder (FEROLIN_DATOS) holding TEST.db with the fixture tables.
class DbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("FEROLIN_DATOS", folder.path().c_str(), 1);
    RunOnFile(DbPath(), kFixtureDdl);
  }
  void TearDown() override { unsetenv("FEROLIN_DATOS"); }

  std::string DbPath() const { return folder.file("TEST.db").string(); }
  static std::string LocalString(const std::string& database = "TEST") {
    return "PROVIDER=SQLOLEDB;Server=SQLITE;Database =" + database + ";UId=sa;Pwd=;";
  }
  void OpenTest() { cn.Open(LocalString()); }

  ferolin::testing::TempFolder folder;
  Connection cn;
};

}  // namespace ferolin::db::dbtest
