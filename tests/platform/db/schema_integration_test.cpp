// The client against the suite's own SQLite schema: the statements the
// program sends find the indexes and constraints the schema provides.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>

#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "platform/db/tsql_adapter.h"
#include "schema/esquema.h"
#include "tests/support/temp_folder.h"

namespace ferolin::db {
namespace {

class SchemaIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("FEROLIN_DATOS", folder.path().c_str(), 1);
    ferolin::schema::CrearBaseSqlite(folder.file("GESTION.db"), ferolin::schema::Base::Principal);
    cn.Open("PROVIDER=SQLOLEDB;Server=SQLITE;Database =GESTION;UId=sa;Pwd=;");
  }
  void TearDown() override { unsetenv("FEROLIN_DATOS"); }

  std::string Plan(const std::string& tsql) {
    const auto adapted = AdaptBatch(tsql, Dialect::Sqlite);
    EXPECT_EQ(adapted.size(), 1u);
    sqlite3* db = nullptr;
    sqlite3_open(folder.file("GESTION.db").c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    std::string plan;
    if (sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + adapted.at(0)).c_str(), -1, &stmt,
                           nullptr) == SQLITE_OK) {
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        plan += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
        plan += "\n";
      }
    } else {
      plan = sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return plan;
  }

  ferolin::testing::TempFolder folder;
  Connection cn;
};

TEST_F(SchemaIntegrationTest, CodeCheckUsesTheIndexAlsoThroughTheSynonym) {
  for (const char* table : {"MA_CUENTAS", "SS_MA_CUENTAS"}) {
    for (const std::string where : {"='1001'", " IN ('1001','1002')"}) {
      const std::string plan = Plan(std::string("SELECT TOP 1  * FROM ") + table +
                                    " with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) " + where);
      EXPECT_NE(plan.find("USING INDEX ix_ma_cuentas_codigo_trim"), std::string::npos)
          << table << where << "\n"
          << plan;
    }
  }
}

TEST_F(SchemaIntegrationTest, SaveStatementsAndTheirFailures) {
  cn.Execute("INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('  caja1 ', 'Caja')");
  Recordset check;
  check.Open("SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='CAJA1'",
             cn);
  EXPECT_FALSE(check.Eof());
  check.Close();

  cn.Execute("delete ta_configuracion where grupo = 'FEROLIN'");
  cn.Execute(
      "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1001 ','Rev 2')");
  EXPECT_TRUE(cn.Errors().Empty());
  EXPECT_THROW(cn.Execute("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) "
                          "VALUES('FEROLIN','FEROLIN_1001 ','otra')"),
               DbError);
  EXPECT_EQ(cn.Errors().Item(0).nativeError, native::kDuplicateKey);
  EXPECT_THROW(cn.Execute("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) "
                          "VALUES('FEROLIN','FEROLIN_2 ','" +
                          std::string(256, 'x') + "')"),
               DbError);
  EXPECT_EQ(cn.Errors().Item(0).nativeError, native::kValueTooLong);

  Recordset list;
  list.Open("SELECT * FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN' ORDER BY CLAVE", cn);
  ASSERT_EQ(list.RecordCount(), 1);
  EXPECT_EQ(list.Fields("CLAVE").Text(), "FEROLIN_1001 ");
  EXPECT_EQ(list.Fields("VALOR").Text(), "Rev 2");
}

TEST_F(SchemaIntegrationTest, AccessLogRowAndItsExit) {
  Recordset rs;
  rs.Open("Select TOP 1 * from Control_Acceso  with(nolock) ", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  rs.AddNew();
  rs.SetField("Maquina", Value::Text("PC1"));
  rs.SetField("Ingreso", Value::Text("01/02/24 10:00"));
  rs.Update();
  const long id = static_cast<long>(rs.Fields("ID").value().ToNumber());
  rs.Close();
  ASSERT_GT(id, 0);
  long affected = 0;
  cn.Execute(
      "UPDATE CONTROL_ACCESO  SET EGRESO = '01/02/24 11:00' WHERE EGRESO IS NULL AND  ID = " +
          std::to_string(id),
      &affected);
  EXPECT_EQ(affected, 1);
}

}  // namespace
}  // namespace ferolin::db
