#include "platform/db/connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/os/environment.h"
#include "tests/platform/db/db_fixture.h"

namespace ferolin::db {
namespace {

using dbtest::DbTest;

long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const DbError& e) {
    return e.number();
  }
  return 0;
}

long CountOf(Connection& cn, const std::string& sql) {
  Recordset rs;
  rs.Open(sql, cn);
  return static_cast<long>(rs.Fields(0).value().ToNumber());
}

class ConnectionTest : public DbTest {};

TEST_F(ConnectionTest, OpenAndCloseFollowTheObjectState) {
  EXPECT_FALSE(cn.IsOpen());
  EXPECT_EQ(ErrorOf([&] { cn.Close(); }), err::kClosedObject);
  EXPECT_EQ(ErrorOf([&] { cn.Execute("SELECT 1"); }), err::kConnectionUnusable);
  EXPECT_EQ(ErrorOf([&] { cn.BeginTrans(); }), err::kConnectionUnusable);
  EXPECT_EQ(ErrorOf([&] { cn.OpenSchema(schema::kTables); }), err::kConnectionUnusable);
  EXPECT_EQ(ErrorOf([&] { cn.engine(); }), err::kConnectionUnusable);

  OpenTest();
  EXPECT_TRUE(cn.IsOpen());
  EXPECT_EQ(cn.DbmsName(), "SQLite");
  EXPECT_EQ(cn.ConnectionString(), LocalString());
  EXPECT_EQ(cn.DefaultDatabase(), "TEST");
  EXPECT_EQ(ErrorOf([&] { cn.Open(LocalString()); }), err::kAlreadyOpen);
  EXPECT_TRUE(cn.IsOpen());
  cn.Close();
  EXPECT_FALSE(cn.IsOpen());
  OpenTest();  // a closed connection opens again
  EXPECT_TRUE(cn.IsOpen());
}

TEST_F(ConnectionTest, ProviderStringsReachTheirFiles) {
  const std::string jet = "Data Source =" + DbPath() + ";User Id=admin;Password=;";
  const std::string strings[] = {
      "PROVIDER=SQLOLEDB;Server=sqlite;Database =TEST;UId=sa;Pwd=;",
      "Provider=sqloledb;server= SQLite ;database=TEST",
      "PROVIDER=Microsoft.Jet.OLEDB.4.0;" + jet,
      "PROVIDER=Microsoft.Jet.OLEDB.3.51;" + jet,
  };
  for (const std::string& s : strings) {
    Connection c;
    c.Open(s);
    EXPECT_EQ(CountOf(c, "SELECT COUNT(*) FROM MA_CUENTAS"), 3) << s;
  }
}

TEST_F(ConnectionTest, DataFolderDefaultsToDatosInTheProgramFolder) {
  unsetenv("FEROLIN_DATOS");
  ferolin::testing::TempFolder program;
  std::filesystem::create_directory(program.file("datos"));
  dbtest::RunOnFile(program.file("datos/DEMO.db").string(), "CREATE TABLE T (A INT);");
  os::SetProgramFolder(program.withSlash());
  Connection c;
  c.Open(LocalString("DEMO"));
  os::SetProgramFolder("");
  EXPECT_EQ(CountOf(c, "SELECT COUNT(*) FROM T"), 0);
}

struct OpenFailure {
  std::string connectionString;
  long number;
  std::string sqlState;
  std::string mentions;
};

TEST_F(ConnectionTest, FailedOpensReportAndCreateNothing) {
  std::ofstream(folder.file("ROTO.db")) << "this is not a database file at all, not even close";
  const OpenFailure cases[] = {
      {LocalString("NOPE"), err::kUnspecified, "42000", "NOPE.db"},
      {"PROVIDER=SQLOLEDB;Server=SQLITE;", err::kUnspecified, "42000", "no database"},
      {"PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =" + folder.file("x.mdb").string() + ";",
       err::kUnspecified, "3024", "x.mdb"},
      {LocalString("ROTO"), err::kUnspecified, "HY000", "ROTO.db"},
      {LocalString("../" + folder.path().filename().string() + "/TEST"), err::kUnspecified, "42000",
       "not a database name"},
  };
  for (const OpenFailure& c : cases) {
    Connection con;
    try {
      con.Open(c.connectionString);
      ADD_FAILURE() << "opened " << c.connectionString;
    } catch (const DbError& e) {
      EXPECT_EQ(e.number(), c.number) << c.connectionString;
      ASSERT_EQ(con.Errors().Count(), 1u) << c.connectionString;
      EXPECT_EQ(con.Errors().Item(0).sqlState, c.sqlState);
      EXPECT_NE(con.Errors().Item(0).description.find(c.mentions), std::string::npos)
          << con.Errors().Item(0).description;
    }
    EXPECT_FALSE(con.IsOpen());
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("NOPE.db")));
  EXPECT_FALSE(std::filesystem::exists(folder.file("x.mdb")));

  Connection unknown;
  EXPECT_EQ(ErrorOf([&] { unknown.Open("PROVIDER=Nada.1;Data Source=x;"); }),
            err::kProviderNotFound);
}

struct StatementFailure {
  const char* sql;
  long number;
  long nativeError;
  const char* sqlState;
};

TEST_F(ConnectionTest, FailedStatementsFillTheErrorCollection) {
  OpenTest();
  const std::string longValue(251, 'x');
  const std::string tooLong =
      "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('G','K','" + longValue + "')";
  const StatementFailure cases[] = {
      {"INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1001')", err::kIntegrity, native::kDuplicateKey,
       "23000"},
      {"INSERT INTO MOVIMIENTOS (CUENTA, IMPORTE) VALUES ('zzz', 1)", err::kIntegrity,
       native::kConstraintConflict, "23000"},
      {"INSERT INTO MOVIMIENTOS (CUENTA, IMPORTE) VALUES ('1001', 0)", err::kIntegrity,
       native::kConstraintConflict, "23000"},
      {"INSERT INTO TA_CONFIGURACION (GRUPO) VALUES ('G')", err::kIntegrity,
       native::kConstraintConflict, "23000"},
      {tooLong.c_str(), err::kDataOverflow, native::kValueTooLong, "22001"},
      {"SELECT * FROM NO_EXISTE", err::kObjectNotFound, 208, "42S02"},
      {"SELEC 1", err::kCommandText, 102, "42000"},
      {"COMMIT TRANSACTION", err::kCommandText, 3902, "25000"},
  };
  for (const StatementFailure& c : cases) {
    EXPECT_EQ(ErrorOf([&] { cn.Execute(c.sql); }), c.number) << c.sql;
    ASSERT_EQ(cn.Errors().Count(), 1u) << c.sql;
    EXPECT_EQ(cn.Errors().Item(0).nativeError, c.nativeError) << c.sql;
    EXPECT_EQ(cn.Errors().Item(0).sqlState, c.sqlState) << c.sql;
    EXPECT_EQ(cn.Errors().Item(0).number, c.number) << c.sql;
    EXPECT_FALSE(cn.Errors().Item(0).description.empty());
    // The next statement that works leaves no error behind.
    cn.Execute("SELECT 1");
    EXPECT_TRUE(cn.Errors().Empty());
  }
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM TA_CONFIGURACION"), 0);
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MOVIMIENTOS"), 0);
}

// A database that stops being usable under an open connection is reported as
// the server's lost link is: unspecified failure with the provider error.
TEST_F(ConnectionTest, UnusableDatabaseLooksLikeALostConnection) {
  OpenTest();
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MA_CUENTAS"), 3);
  {
    std::ofstream wreck(DbPath(), std::ios::binary | std::ios::trunc);
    wreck << std::string(8192, 'x');
  }
  EXPECT_EQ(ErrorOf([&] { cn.Execute("SELECT COUNT(*) FROM MA_CUENTAS"); }), err::kUnspecified);
  ASSERT_EQ(cn.Errors().Count(), 1u);
  EXPECT_NE(cn.Errors().Item(0).nativeError, 0);
  cn.Close();  // and the connection can still be closed and reopened
  EXPECT_EQ(ErrorOf([&] { OpenTest(); }), err::kUnspecified);
}

TEST_F(ConnectionTest, LongStatementIsInterruptedAtTheCommandTimeout) {
  OpenTest();
  EXPECT_EQ(cn.CommandTimeout(), 30);
  cn.SetCommandTimeout(1);
  const auto start = std::chrono::steady_clock::now();
  const long number = ErrorOf([&] {
    cn.Execute(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000000) "
        "SELECT COUNT(*) FROM n");
  });
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
  EXPECT_EQ(number, err::kTimeout);
  EXPECT_LT(seconds.count(), 10);
  ASSERT_EQ(cn.Errors().Count(), 1u);
  EXPECT_EQ(cn.Errors().Item(0).sqlState, "HYT00");
  // The connection is still good, and 0 means no limit.
  cn.SetCommandTimeout(0);
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MA_CUENTAS"), 3);
  EXPECT_EQ(ErrorOf([&] { cn.SetCommandTimeout(-1); }), err::kInvalidArgument);
}

TEST_F(ConnectionTest, TransactionsCommitAndRollBack) {
  OpenTest();
  const char* insert = "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('G','A','1')";
  cn.BeginTrans();
  cn.Execute(insert);
  cn.BeginTrans();  // nests as on the server: the inner commit writes nothing
  cn.CommitTrans();
  cn.RollbackTrans();
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM TA_CONFIGURACION"), 0);

  cn.BeginTrans();
  cn.Execute(insert);
  cn.CommitTrans();
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM TA_CONFIGURACION"), 1);

  EXPECT_EQ(ErrorOf([&] { cn.CommitTrans(); }), err::kNoTransaction);
  EXPECT_EQ(ErrorOf([&] { cn.RollbackTrans(); }), err::kNoTransaction);

  // An unfinished transaction dies with its connection.
  {
    Connection other;
    other.Open(LocalString());
    other.BeginTrans();
    other.Execute("DELETE FROM TA_CONFIGURACION");
  }
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM TA_CONFIGURACION"), 1);
}

TEST_F(ConnectionTest, ScriptTransactionsAsStatements) {
  OpenTest();
  // A script that works is committed by a later statement.
  cn.Execute(
      "BEGIN TRANSACTION \r\r\rINSERT INTO Control_Acceso (Maquina,Usuario) VALUES ('PC1','ANA')"
      "\r\rINSERT INTO Control_Acceso (Maquina,Usuario) VALUES ('PC1','BEA')\r");
  EXPECT_TRUE(cn.engine().InTransaction());
  cn.Execute("COMMIT TRANSACTION");
  EXPECT_FALSE(cn.engine().InTransaction());
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM Control_Acceso"), 2);

  // A script whose second statement fails leaves the transaction open, with
  // the failure in the collection, until the rollback is sent.
  EXPECT_EQ(ErrorOf([&] {
              cn.Execute(
                  "BEGIN TRANSACTION \r\r\rINSERT INTO MA_CUENTAS (CODIGO) VALUES ('N1')\r"
                  "\rINSERT INTO MA_CUENTAS (CODIGO) VALUES ('1001')\r");
            }),
            err::kIntegrity);
  EXPECT_EQ(cn.Errors().Item(0).nativeError, native::kDuplicateKey);
  EXPECT_TRUE(cn.engine().InTransaction());
  cn.Execute("ROLLBACK TRANSACTION");
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MA_CUENTAS"), 3);

  // The same scripts inside a connection transaction: their COMMIT only
  // closes their own level, and the outer rollback undoes them.
  const char* script =
      "BEGIN TRAN\r\rINSERT INTO MA_CUENTAS (CODIGO) VALUES ('N2')\rCOMMIT TRANSACTION";
  cn.BeginTrans();
  cn.Execute(script);
  EXPECT_TRUE(cn.engine().InTransaction());
  cn.RollbackTrans();
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MA_CUENTAS"), 3);
  cn.BeginTrans();
  cn.Execute(script);
  cn.CommitTrans();
  EXPECT_FALSE(cn.engine().InTransaction());
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MA_CUENTAS"), 4);
  EXPECT_EQ(ErrorOf([&] { cn.Execute("ROLLBACK TRANSACTION"); }), err::kCommandText);
  EXPECT_EQ(cn.Errors().Item(0).nativeError, 3903);
}

TEST_F(ConnectionTest, BatchesSumRowsAndReturnTheLastResult) {
  OpenTest();
  long affected = 0;
  auto rs = cn.Execute(
      "UPDATE MA_CUENTAS SET SALDO = 1\nDELETE MA_CUENTAS WHERE CODIGO = 'abc'\n"
      "SELECT COUNT(*) AS N FROM MA_CUENTAS",
      &affected);
  EXPECT_EQ(affected, 4);
  ASSERT_EQ(rs->State(), state::kOpen);
  EXPECT_EQ(rs->Fields("n").Text(), "2");

  auto none = cn.Execute("UPDATE MA_CUENTAS SET SALDO = 2 WHERE 1 = 0", &affected);
  EXPECT_EQ(affected, 0);
  EXPECT_EQ(none->State(), state::kClosed);
  cn.Execute("CREATE TABLE NUEVA (A INT)", &affected);
  EXPECT_EQ(affected, -1);
}

TEST_F(ConnectionTest, SchemaRowsets) {
  OpenTest();
  auto names = [](Recordset& rs, const char* field) {
    std::vector<std::string> out;
    for (; !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields(field).Text());
    return out;
  };
  auto tables = cn.OpenSchema(schema::kTables);
  const auto all = names(*tables, "TABLE_NAME");
  EXPECT_EQ(all, (std::vector<std::string>{"Control_Acceso", "MA_CUENTAS", "MOVIMIENTOS",
                                           "TA_CONFIGURACION", "V_CUENTAS"}));
  auto views = cn.OpenSchema(schema::kTables, {"", "", "", "VIEW"});
  EXPECT_EQ(names(*views, "TABLE_NAME"), std::vector<std::string>{"V_CUENTAS"});

  auto columns = cn.OpenSchema(schema::kColumns, {"TEST", "", "ma_cuentas", ""});
  ASSERT_FALSE(columns->Eof());
  EXPECT_EQ(columns->Fields("DATA_TYPE").Text(), "129");
  EXPECT_EQ(columns->Fields("CHARACTER_MAXIMUM_LENGTH").Text(), "20");
  EXPECT_EQ(names(*columns, "COLUMN_NAME"),
            (std::vector<std::string>{"CODIGO", "DESCRIPCION", "SALDO", "ALTA"}));
  auto one = cn.OpenSchema(schema::kColumns, {"", "", "MA_CUENTAS", "saldo"});
  EXPECT_EQ(names(*one, "ORDINAL_POSITION"), std::vector<std::string>{"3"});
  auto otherCatalog = cn.OpenSchema(schema::kColumns, {"OTRA", "", "MA_CUENTAS", ""});
  EXPECT_TRUE(otherCatalog->Eof() && otherCatalog->Bof());
  EXPECT_EQ(ErrorOf([&] { cn.OpenSchema(99); }), err::kNotSupported);
}

TEST_F(ConnectionTest, PropertiesTheProgramSets) {
  OpenTest();
  cn.SetIsolationLevel(isolation::kReadUncommitted);
  EXPECT_EQ(cn.IsolationLevel(), isolation::kReadUncommitted);
  cn.SetCursorLocation(cursor_location::kClient);
  EXPECT_EQ(cn.CursorLocation(), cursor_location::kClient);
  EXPECT_EQ(ErrorOf([&] { cn.SetCursorLocation(7); }), err::kInvalidArgument);
  cn.SetDefaultDatabase("GESTION");
  EXPECT_EQ(cn.DefaultDatabase(), "GESTION");
  EXPECT_EQ(CountOf(cn, "SELECT COUNT(*) FROM MA_CUENTAS"), 3);
}

}  // namespace
}  // namespace ferolin::db
