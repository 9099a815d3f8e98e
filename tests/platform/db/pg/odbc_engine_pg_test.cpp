// The ODBC engine against a real PostgreSQL server through psqlODBC, reached
// the way the program reaches SQL Server: through db::Connection.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/connection.h"
#include "platform/db/engine.h"
#include "platform/db/errors.h"
#include "platform/db/odbc/odbc_engine.h"
#include "platform/db/recordset.h"
#include "tests/support/pg_fixture.h"

namespace ferolin::db {
namespace {

using testing::PgBase;
using testing::PgConnectionString;
using testing::PgExec;
using testing::ReadPgServer;

class PgOdbc : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ResetPgDatabases();
    cn.Open(PgConnectionString());
  }

  // First column of the first row as text.
  std::string Scalar(const std::string& sql) {
    auto rs = cn.Execute(sql);
    EXPECT_EQ(rs->State(), state::kOpen) << sql;
    if (rs->State() != state::kOpen || rs->Eof()) return "<no row>";
    return rs->Fields(std::size_t{0}).Text();
  }

  // The error a statement raises; fails the test when it succeeds.
  DbError Refused(const std::string& sql) {
    try {
      cn.Execute(sql);
    } catch (const DbError& e) {
      return e;
    }
    ADD_FAILURE() << "accepted: " << sql;
    return DbError(0, "");
  }

  Connection cn;
};

// Only level 2 undoes a refused statement alone; a string without the level
// leaves it to the driver, which the engine then connects again with it.
TEST(PsqlOdbcRollbackLevel, ReadFromTheCompletedString) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"DSN=X;DATABASE=d;Protocol=7.4-2;UID=u", true},
      {"DSN=X;protocol=7.4-2", true},
      {"DSN=X;Protocol=7.4-1;UID=u", false},
      {"DSN=X;Protocol=7.4-0", false},
      {"DSN=X;Protocol=7.4;UID=u", false},
      {"DSN=X;UID=u", false},
      {"DSN=X;PWD=Protocol=7.4-2;Protocol=7.4-1", false},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(odbc::StatementRollback(text), expected) << text;
  }
}

TEST_F(PgOdbc, LearnsTheServerFromTheDriver) {
  EXPECT_EQ(cn.DbmsName(), "PostgreSQL");
  EXPECT_EQ(cn.engine().dialect(), Dialect::PostgreSql);
  EXPECT_EQ(cn.DefaultDatabase(), ReadPgServer().database);
  EXPECT_FALSE(cn.engine().IsDead());
}

TEST_F(PgOdbc, OpensByDataSourceNameInAnyCaseAndWithArgumentsOverTheString) {
  const auto s = ReadPgServer();
  std::string lowered = s.dsn;
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  Connection other;
  other.Open(
      "PROVIDER=SQLOLEDB;Server=" + lowered + ";Database=" + s.database + ";UId=nadie;Pwd=malo;",
      s.user, s.password);
  EXPECT_TRUE(other.IsOpen());
  auto rs = other.Execute("SELECT current_user");
  EXPECT_EQ(rs->Fields(std::size_t{0}).Text(), s.user);
}

TEST_F(PgOdbc, RefusedLogInsRaiseTheUnspecifiedFailureWithTheServersReason) {
  const auto s = ReadPgServer();
  struct Case {
    std::string connectionString, reason;
  };
  const Case cases[] = {
      // Wrong password on the data source.
      {"PROVIDER=SQLOLEDB;Server=" + s.dsn + ";Database=" + s.database + ";UId=" + s.user +
           ";Pwd=incorrecta;",
       "password authentication failed"},
      // No data source of that name: the configured driver on the default port, where no
      // server listens.
      {"PROVIDER=SQLOLEDB;Server=127.0.0.1;Database=" + s.database + ";UId=" + s.user +
           ";Pwd=" + s.password + ";",
       "port 5432"},
  };
  for (const Case& c : cases) {
    Connection bad;
    try {
      bad.Open(c.connectionString);
      ADD_FAILURE() << "opened: " << c.connectionString;
    } catch (const DbError& e) {
      EXPECT_EQ(e.number(), err::kUnspecified);
      ASSERT_GE(bad.Errors().Count(), 1u);
      EXPECT_EQ(bad.Errors().Item(0).sqlState.substr(0, 2), "08");
      EXPECT_NE(bad.Errors().Item(0).description.find(c.reason), std::string::npos)
          << bad.Errors().Item(0).description;
    }
    EXPECT_FALSE(bad.IsOpen());
  }
}

TEST_F(PgOdbc, ReadsEveryColumnTypeWithNullsAndDefinedSizes) {
  cn.Execute(
      "CREATE TEMP TABLE tipos (t VARCHAR(30), c CHAR(4), i INTEGER, s SMALLINT, b BIGINT, "
      "n NUMERIC(18,4), d DOUBLE PRECISION, f DATE, h TIMESTAMP, x TEXT, k CITEXT)");
  cn.Execute(
      "INSERT INTO tipos VALUES ('Ñandú café €', 'ab', 2147483647, -5, 9000000000, 1234.5678, "
      "0.25, '2019-12-31', '2020-01-02 03:04:05', 'largo', 'Clave')");
  cn.Execute(
      "INSERT INTO tipos VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
      "NULL, NULL)");
  auto rs = cn.Execute("SELECT t, c, i, s, b, n, d, f, h, x, k FROM tipos ORDER BY i");
  struct Col {
    const char* name;
    int type;
    long size;  // 0: not checked
    Value value;
  };
  const Col cols[] = {
      {"t", type::kVarWChar, 30, Value::Text("Ñandú café €")},
      {"c", type::kWChar, 4, Value::Text("ab  ")},
      {"i", type::kInteger, 4, Value::Integer(2147483647)},
      {"s", type::kSmallInt, 2, Value::Integer(-5)},
      {"b", type::kBigInt, 8, Value::Integer(9000000000)},
      {"n", type::kNumeric, 19, Value::Real(1234.5678)},
      {"d", type::kDouble, 8, Value::Real(0.25)},
      {"f", type::kDBDate, 16, Value::Date(DateTime{2019, 12, 31, 0, 0, 0})},
      {"h", type::kDBTimeStamp, 16, Value::Date(DateTime{2020, 1, 2, 3, 4, 5})},
      {"x", 0, 0, Value::Text("largo")},
      {"k", 0, 0, Value::Text("Clave")},
  };
  ASSERT_FALSE(rs->Eof());
  for (const Col& c : cols) {
    Field f = rs->Fields(c.name);
    if (c.type != 0) {
      EXPECT_EQ(f.Type(), c.type) << c.name;
    }
    if (c.size != 0) {
      EXPECT_EQ(f.DefinedSize(), c.size) << c.name;
    }
    EXPECT_EQ(f.value(), c.value) << c.name << ": " << f.Text();
  }
  rs->MoveNext();
  ASSERT_FALSE(rs->Eof());
  for (const Col& c : cols) EXPECT_TRUE(rs->Fields(c.name).IsNull()) << c.name;
}

TEST_F(PgOdbc, ReadsTextLongerThanTheDriverDescribesWhole) {
  const std::string big(5000, 'q');
  // Longer than one piece of the cell-by-cell read, with characters outside ASCII.
  std::string huge;
  for (int i = 0; i < 12000; ++i) huge += i % 3 == 0 ? "ñ" : "€a";
  cn.Execute("INSERT INTO AUX_ERR (Proceso, sql) VALUES ('FEROLIN', '" + big + "')");
  cn.Execute("INSERT INTO AUX_ERR (Proceso, sql) VALUES ('FEROLIN', 'corto')");
  cn.Execute("INSERT INTO AUX_ERR (Proceso, sql) VALUES ('FEROLIN', '" + huge + "')");
  auto rs = cn.Execute("SELECT sql, Proceso FROM AUX_ERR ORDER BY ID");
  EXPECT_EQ(rs->Fields("sql").Text(), big);
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("sql").Text(), "corto");
  rs->MoveNext();
  EXPECT_EQ(rs->Fields("sql").Text(), huge);
  // Computed text has no declared length and is read cell by cell.
  rs = cn.Execute("SELECT sql || '!' AS t FROM AUX_ERR ORDER BY ID");
  std::vector<std::string> read;
  for (; !rs->Eof(); rs->MoveNext()) read.push_back(rs->Fields("t").Text());
  EXPECT_EQ(read, (std::vector<std::string>{big + "!", "corto!", huge + "!"}));
}

// Rows come in blocks sized by the result: none, one, a few, and more than
// the largest block; through a data source that streams them through a
// cursor the driver cannot tell the size and the blocks grow. A cell longer
// than its column was described comes whole from any block.
TEST_F(PgOdbc, ReadsEveryRowInOrderWhateverTheBlockSize) {
  const auto s = ReadPgServer();
  for (const std::string& dsn : {s.dsn, s.cursorDsn}) {
    Connection c;
    c.Open("PROVIDER=SQLOLEDB;Server=" + dsn + ";Database=" + s.database + ";UId=" + s.user +
           ";Pwd=" + s.password + ";");
    for (int n : {0, 1, 17, 3000}) {
      auto rs = c.Execute(
          "SELECT g, ('fila ' || g)::varchar(20) AS t, "
          "(CASE WHEN g % 997 = 0 THEN repeat('z', 3000) END)::citext AS largo "
          "FROM generate_series(1, " +
          std::to_string(n) + ") g ORDER BY g");
      EXPECT_EQ(rs->RecordCount(), n) << dsn;
      int expected = 1;
      for (; !rs->Eof(); rs->MoveNext(), ++expected) {
        ASSERT_EQ(rs->Fields("g").value(), Value::Integer(expected)) << dsn << " of " << n;
        ASSERT_EQ(rs->Fields("t").Text(), "fila " + std::to_string(expected)) << dsn;
        if (expected % 997 == 0) {
          ASSERT_EQ(rs->Fields("largo").Text(), std::string(3000, 'z'))
              << dsn << " row " << expected;
        } else {
          ASSERT_TRUE(rs->Fields("largo").IsNull()) << dsn << " row " << expected;
        }
      }
      EXPECT_EQ(expected, n + 1) << dsn;
    }
  }
}

TEST_F(PgOdbc, ServerRefusalsCarrySqlServersNumbers) {
  cn.Execute("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1 ','a')");
  cn.Execute("CREATE TEMP TABLE padre (id INTEGER PRIMARY KEY)");
  cn.Execute("CREATE TEMP TABLE hijo (id INTEGER REFERENCES padre(id))");
  struct Case {
    std::string sql, sqlState;
    long native, number;
  };
  const Case cases[] = {
      // The key compares without case, as on the suite's server.
      {"INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('ferolin','FEROLIN_1 ','b')",
       "23505", native::kDuplicateKey, err::kIntegrity},
      {"INSERT INTO hijo VALUES (7)", "23503", native::kConstraintConflict, err::kIntegrity},
      {"INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','" +
           std::string(51, 'x') + "','c')",
       "22001", native::kValueTooLong, err::kDataOverflow},
      {"SELECT * FROM NO_EXISTE", "42P01", 208, err::kObjectNotFound},
      {"SELEC 1", "42601", 0, err::kCommandText},
  };
  for (const Case& c : cases) {
    DbError e = Refused(c.sql);
    EXPECT_EQ(e.number(), c.number) << c.sql;
    ASSERT_GE(cn.Errors().Count(), 1u) << c.sql;
    const ProviderError& first = cn.Errors().Item(0);
    EXPECT_EQ(first.sqlState, c.sqlState) << c.sql << ": " << first.description;
    if (c.native != 0) {
      EXPECT_EQ(first.nativeError, c.native) << c.sql;
    }
    EXPECT_EQ(first.number, c.number);
    EXPECT_EQ(e.description(), first.description);
    EXPECT_FALSE(cn.engine().IsDead());
  }
  EXPECT_EQ(Scalar("SELECT VALOR FROM TA_CONFIGURACION"), "a");
}

TEST_F(PgOdbc, AStatementLongerThanTheTimeOutIsCancelledAndTheConnectionGoesOn) {
  cn.SetCommandTimeout(1);
  const auto start = std::chrono::steady_clock::now();
  DbError e = Refused("SELECT pg_sleep(10)");
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(e.number(), err::kTimeout) << e.description();
  EXPECT_LT(seconds, 5.0);
  EXPECT_FALSE(cn.engine().IsDead());
  EXPECT_EQ(Scalar("SELECT 1"), "1");
}

TEST_F(PgOdbc, TransactionsCommitAndRollBack) {
  cn.BeginTrans();
  cn.Execute("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('1', 'A', 'deshecho')");
  cn.RollbackTrans();
  EXPECT_EQ(Scalar("SELECT count(*) FROM TA_MENU"), "0");

  cn.BeginTrans();
  cn.Execute("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('2', 'B', 'guardado')");
  // The failed statement alone is undone; the transaction goes on.
  Refused("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('2', 'B', 'repetido')");
  cn.Execute("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('3', 'C', 'guardado')");
  cn.CommitTrans();
  EXPECT_EQ(Scalar("SELECT count(*) FROM TA_MENU WHERE Nombre = 'guardado'"), "2");
  EXPECT_FALSE(cn.engine().InTransaction());
}

TEST_F(PgOdbc, AnUncommittedTransactionIsUndoneWhenTheConnectionCloses) {
  {
    Connection other;
    other.Open(PgConnectionString());
    other.BeginTrans();
    other.Execute("INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('9', 'X', 'perdido')");
  }
  EXPECT_EQ(Scalar("SELECT count(*) FROM TA_MENU"), "0");
}

TEST_F(PgOdbc, IsolationLevelReachesTheServer) {
  struct Case {
    int ado;
    const char* shown;
  };
  for (const Case& c : {Case{isolation::kReadUncommitted, "read uncommitted"},
                        Case{isolation::kSerializable, "serializable"},
                        Case{isolation::kReadCommitted, "read committed"}}) {
    cn.SetIsolationLevel(c.ado);
    cn.BeginTrans();
    EXPECT_EQ(Scalar("SHOW transaction_isolation"), c.shown);
    cn.RollbackTrans();
  }
}

TEST_F(PgOdbc, SchemaRowsetsFindTablesAndColumnsWithoutRegardToCase) {
  auto tables = cn.OpenSchema(schema::kTables, {"", "", " ta_usuarios ", ""});
  EXPECT_TRUE(tables->Eof()) << "names are matched whole, blanks included";
  tables = cn.OpenSchema(schema::kTables, {"", "", "ta_usuarios", ""});
  ASSERT_FALSE(tables->Eof());
  EXPECT_EQ(tables->Fields("TABLE_TYPE").Text(), "TABLE");
  tables = cn.OpenSchema(schema::kTables, {"", "", "SS_MA_CUENTAS", ""});
  ASSERT_FALSE(tables->Eof());
  EXPECT_EQ(tables->Fields("TABLE_TYPE").Text(), "VIEW");
  // "_" is no wildcard: only the table of that exact name.
  tables = cn.OpenSchema(schema::kTables, {"", "", "TA_USUARIOX", ""});
  EXPECT_TRUE(tables->Eof());

  auto columns = cn.OpenSchema(schema::kColumns, {"", "", "MA_CUENTAS", "codigo"});
  ASSERT_FALSE(columns->Eof());
  EXPECT_EQ(columns->Fields("ORDINAL_POSITION").value().ToNumber(), 1);
  EXPECT_EQ(columns->RecordCount(), 1);
  columns = cn.OpenSchema(schema::kColumns, {"", "", "TA_CONFIGURACION", ""});
  EXPECT_EQ(columns->RecordCount(), 5);
}

TEST_F(PgOdbc, ALostConnectionRaisesTheUnspecifiedFailureAndIsDead) {
  const std::string pid = Scalar("SELECT pg_backend_pid()");
  PgExec(PgBase::Principal, "SELECT pg_terminate_backend(" + pid + ")");
  DbError e = Refused("SELECT 1");
  EXPECT_EQ(e.number(), err::kUnspecified);
  ASSERT_GE(cn.Errors().Count(), 1u);
  EXPECT_FALSE(cn.Errors().Item(0).description.empty());
  EXPECT_TRUE(cn.engine().IsDead());
}

TEST_F(PgOdbc, TheStatisticsDatabaseOpensWithItsOwnLogIn) {
  Connection stats;
  stats.Open(PgConnectionString(PgBase::Estadisticas));
  stats.SetDefaultDatabase(ReadPgServer().statsDatabase);  // already there
  EXPECT_EQ(stats.DefaultDatabase(), ReadPgServer().statsDatabase);
  stats.Execute(
      "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('BaseDeDatos', 'TIMEOUT', '90')");
  auto rs = stats.Execute("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'");
  ASSERT_FALSE(rs->Eof());
  EXPECT_EQ(rs->Fields("VALOR").Text(), "90");
  // The main log-in has no right on the statistics database.
  Connection wrong;
  const auto s = ReadPgServer();
  EXPECT_THROW(wrong.Open("PROVIDER=SQLOLEDB;Server=" + s.dsn + ";Database=" + s.statsDatabase +
                          ";UId=" + s.user + ";Pwd=" + s.password + ";"),
               DbError);
}

// Statements as the program writes them, in SQL Server's dialect, through the
// client's adapter onto PostgreSQL.
TEST_F(PgOdbc, TheProgramsStatementsRunAsWritten) {
  cn.Execute(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES (' ab12 ', 'Cuenta Uno');"
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1002', NULL);"
      "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1002 ','x')");
  struct Case {
    std::string tsql, expected;
  };
  const Case cases[] = {
      {"SELECT * FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) = 'AB12'", " ab12 "},
      {"SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = "
       "'ferolin_1002 '",
       "x"},
      {"Select TOP 1 CODIGO from MA_CUENTAS  with(nolock) ORDER BY CODIGO DESC", "1002"},
      {"SELECT TOP 100 PERCENT CODIGO FROM dbo.MA_CUENTAS ORDER BY CODIGO", " ab12 "},
      {"SELECT LEN(CODIGO) FROM MA_CUENTAS WHERE CODIGO = '1002'", "4"},
      {"SELECT ISNULL(DESCRIPCION, 'sin') FROM [MA_CUENTAS] WHERE CODIGO = '1002'", "sin"},
      {"SELECT count(*) FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = "
       "TA_MENU.Clave WHERE (TA_TAREAS.USUARIO = 'X') AND (TA_MENU.Proceso LIKE '%FEROLIN%')",
       "0"},
  };
  for (const Case& c : cases) {
    try {
      EXPECT_EQ(Scalar(c.tsql), c.expected) << c.tsql;
    } catch (const DbError& e) {
      ADD_FAILURE() << c.tsql << "\n" << e.description();
    }
  }
  long affected = -1;
  cn.Execute("delete ta_configuracion where grupo = 'FEROLIN'", &affected);
  EXPECT_EQ(affected, 1);
  EXPECT_EQ(Scalar("SELECT count(*) FROM TA_CONFIGURACION"), "0");
}

}  // namespace
}  // namespace ferolin::db
