#include "platform/db/tsql_adapter.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <regex>

#include "platform/db/recordset.h"
#include "platform/db/tsql_lexer.h"
#include "tests/platform/db/db_fixture.h"

namespace ferolin::db {
namespace {

// Blank runs are not significant in the rewritten text.
std::string Squeeze(const std::string& s) {
  std::string out = std::regex_replace(s, std::regex("\\s+"), " ");
  out = std::regex_replace(out, std::regex("\\( "), "(");
  return std::regex_replace(out, std::regex(" \\)"), ")");
}

std::string One(const std::string& sql, Dialect d) {
  const auto out = AdaptBatch(sql, d);
  EXPECT_EQ(out.size(), 1u) << sql;
  return out.empty() ? "" : Squeeze(out.front());
}

struct RewriteCase {
  const char* tsql;
  const char* sqlite;
  const char* postgres;  // nullptr: same as sqlite
};

// The statements the program sends, and the constructs around them.
const RewriteCase kRewrites[] = {
    {"SELECT * FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN' ORDER BY CLAVE",
     "SELECT * FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN' ORDER BY CLAVE", nullptr},
    {"SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='1001'",
     "SELECT * FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) COLLATE NOCASE ='1001' LIMIT 1",
     "SELECT * FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) ='1001' LIMIT 1"},
    {"delete ta_configuracion where grupo = 'FEROLIN'",
     "delete FROM ta_configuracion where grupo = 'FEROLIN'", nullptr},
    {"DELETE dbo.T WHERE A=1", "DELETE FROM T WHERE A=1", nullptr},
    {"DELETE FROM T WHERE A=1", "DELETE FROM T WHERE A=1", nullptr},
    {"INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1001 ','Rev 2')",
     "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1001 ','Rev 2')",
     nullptr},
    {"SELECT VALOR, valoraux FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'THEME'",
     "SELECT VALOR, valoraux FROM TA_CONFIGURACION WHERE CLAVE = 'THEME'", nullptr},
    {"Select * from ta_usuarios  with(nolock)  where Nombre = 'ANA'",
     "Select * from ta_usuarios where Nombre = 'ANA'", nullptr},
    {"Select TOP 1 * from Control_Acceso  with(nolock) ", "Select * from Control_Acceso LIMIT 1",
     nullptr},
    {"select  top 1 * from AUX_ERR  with(nolock) ", "select * from AUX_ERR LIMIT 1", nullptr},
    {"UPDATE CONTROL_ACCESO  SET EGRESO = '01/02/24 10:00' WHERE EGRESO IS NULL AND  ID = 5",
     "UPDATE CONTROL_ACCESO SET EGRESO = '01/02/24 10:00' WHERE EGRESO IS NULL AND ID = 5",
     nullptr},
    {"SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre  FROM TA_TAREAS  "
     "with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave  WHERE "
     "(TA_TAREAS.USUARIO = 'ANA') AND (TA_MENU.Proceso LIKE '%Ferolin%')",
     "SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre FROM TA_TAREAS "
     "INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave WHERE (TA_TAREAS.USUARIO = 'ANA') AND "
     "(TA_MENU.Proceso LIKE '%Ferolin%')",
     nullptr},
    {"SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES  with(nolock)  WHERE "
     "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
     "SELECT RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY "
     "RAZON_SOCIAL LIMIT 1000",
     nullptr},
    {"SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES WHERE IVA = '   1' OR IVA = '1'  and "
     "RAZON_SOCIAL like 'gar%ia%' ORDER BY RAZON_SOCIAL ",
     "SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES WHERE IVA = '   1' OR IVA = '1' and "
     "RAZON_SOCIAL like 'gar%ia%' ORDER BY RAZON_SOCIAL",
     nullptr},
    {"SELECT     TOP 100 PERCENT IdFamilia, Descripcion, (SELECT     TOP 1 idfamilia FROM "
     "v_ta_familias a   Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < "
     "Len(LTrim(RTrim(b.IdFamilia))))  ORDER BY idfamilia DESC) AS [relative] FROM "
     "dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia",
     "SELECT IdFamilia, Descripcion, (SELECT idfamilia FROM v_ta_familias a Where a.IdFamilia < "
     "b.IdFamilia And (LENGTH(RTRIM(LTrim(RTrim(a.IdFamilia)))) < "
     "LENGTH(RTRIM(LTrim(RTrim(b.IdFamilia)))))  ORDER BY idfamilia DESC LIMIT 1) AS \"relative\" "
     "FROM V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia",
     nullptr},
    // Literals are never touched, whatever they hold.
    {"SELECT 'with(nolock) TOP 1 [x] dbo.t LEN(a) ISNULL(b,1) it''s' AS t FROM T",
     "SELECT 'with(nolock) TOP 1 [x] dbo.t LEN(a) ISNULL(b,1) it''s' AS t FROM T", nullptr},
    {"SELECT N'Ñandú' AS n", "SELECT 'Ñandú' AS n", nullptr},
    {"SELECT ISNULL(NOMBRE,'') FROM dbo.[MA CUENTAS] WHERE LEN (CODIGO) > 3",
     "SELECT COALESCE(NOMBRE,'') FROM \"MA CUENTAS\" WHERE LENGTH(RTRIM(CODIGO)) > 3",
     "SELECT COALESCE(NOMBRE,'') FROM \"ma cuentas\" WHERE LENGTH(RTRIM(CODIGO)) > 3"},
    {"SELECT * FROM T WITH (NOLOCK) WHERE 1=1", "SELECT * FROM T WHERE 1=1", nullptr},
    {"SELECT * FROM T WITH ( NoLock , ROWLOCK ) JOIN U (nolock) ON T.A=U.A",
     "SELECT * FROM T JOIN U ON T.A=U.A", nullptr},
    {"SELECT * FROM T WITH (INDEX(ix)) ", "SELECT * FROM T WITH (INDEX(ix))", nullptr},
    {"SELECT DISTINCT TOP (5) a FROM t", "SELECT DISTINCT a FROM t LIMIT (5)", nullptr},
    {"SELECT * FROM t WHERE x IN (SELECT TOP 2 y FROM u ORDER BY y) ORDER BY x",
     "SELECT * FROM t WHERE x IN (SELECT y FROM u ORDER BY y LIMIT 2) ORDER BY x", nullptr},
    {"SELECT TOP 50 PERCENT CODIGO FROM MA_CUENTAS ORDER BY CODIGO",
     "SELECT CODIGO FROM MA_CUENTAS ORDER BY CODIGO LIMIT (SELECT (COUNT(*)*50+99)/100 FROM "
     "(SELECT CODIGO FROM MA_CUENTAS) AS ferolin_pct)",
     nullptr},
    {"SELECT TOP 12.5 PERCENT a FROM t",
     "SELECT a FROM t LIMIT (SELECT (COUNT(*)*125+999)/1000 FROM (SELECT a FROM t) AS "
     "ferolin_pct)",
     nullptr},
    {"SELECT GETDATE() AS hoy", "SELECT datetime('now','localtime') AS hoy",
     "SELECT LOCALTIMESTAMP(0) AS hoy"},
    {"BEGIN TRAN", "BEGIN TRANSACTION", "BEGIN"},
    {"begin transaction t1", "BEGIN TRANSACTION", "BEGIN"},
    {"COMMIT TRANSACTION", "COMMIT", nullptr},
    {"commit tran", "COMMIT", nullptr},
    {"ROLLBACK TRANSACTION", "ROLLBACK", nullptr},
    {"SELECT CODIGO FROM MA_CUENTAS with(nolock) WHERE LTRIM(RTRIM(CODIGO)) IN ('a','b')",
     "SELECT CODIGO FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) COLLATE NOCASE IN ('a','b')",
     "SELECT CODIGO FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) IN ('a','b')"},
    {"SELECT * FROM T WHERE LTRIM(B) NOT IN ('a')",
     "SELECT * FROM T WHERE LTRIM(B) COLLATE NOCASE NOT IN ('a')",
     "SELECT * FROM T WHERE LTRIM(B) NOT IN ('a')"},
    {"UPDATE T SET A = 1 WHERE LTRIM(RTRIM(B)) <> 'x'",
     "UPDATE T SET A = 1 WHERE LTRIM(RTRIM(B)) COLLATE NOCASE <> 'x'",
     "UPDATE T SET A = 1 WHERE LTRIM(RTRIM(B)) <> 'x'"},
};

TEST(TsqlAdapterTest, RewritesForSqliteAndPostgres) {
  for (const RewriteCase& c : kRewrites) {
    EXPECT_EQ(One(c.tsql, Dialect::Sqlite), Squeeze(c.sqlite)) << c.tsql;
    EXPECT_EQ(One(c.tsql, Dialect::PostgreSql), Squeeze(c.postgres ? c.postgres : c.sqlite))
        << c.tsql;
  }
}

TEST(TsqlAdapterTest, SqlServerTextOnlySplit) {
  const std::string sql = "Select TOP 1 * from [dbo].Control_Acceso  with(nolock) ";
  EXPECT_EQ(AdaptBatch(sql, Dialect::SqlServer),
            std::vector<std::string>{"Select TOP 1 * from [dbo].Control_Acceso  with(nolock)"});
}

TEST(TsqlAdapterTest, SessionOptionsVanishForOtherEngines) {
  EXPECT_TRUE(AdaptBatch("SET NOCOUNT ON", Dialect::Sqlite).empty());
  EXPECT_EQ(AdaptBatch("SET NOCOUNT ON\nSELECT 1", Dialect::Sqlite),
            std::vector<std::string>{"SELECT 1"});
  EXPECT_EQ(AdaptBatch("SET NOCOUNT ON", Dialect::SqlServer).size(), 1u);
}

struct SplitCase {
  const char* batch;
  std::vector<std::string> statements;
};

TEST(TsqlAdapterTest, SplitsWhereStatementsStart) {
  const SplitCase cases[] = {
      // The script runner's batch: CR alone between the statements.
      {"BEGIN TRANSACTION \r\r\rINSERT INTO Control_Acceso (Maquina) VALUES ('PC1')\r",
       {"BEGIN TRANSACTION", "INSERT INTO Control_Acceso (Maquina) VALUES ('PC1')"}},
      {"INSERT INTO t (a) SELECT a FROM u WHERE a IN (SELECT a FROM v)\nSELECT 1",
       {"INSERT INTO t (a) SELECT a FROM u WHERE a IN (SELECT a FROM v)", "SELECT 1"}},
      {"INSERT INTO t SELECT 1 SELECT 2", {"INSERT INTO t SELECT 1", "SELECT 2"}},
      {"INSERT INTO t VALUES (1) SELECT * FROM t", {"INSERT INTO t VALUES (1)", "SELECT * FROM t"}},
      {"SELECT a FROM t UNION ALL SELECT b FROM u", {"SELECT a FROM t UNION ALL SELECT b FROM u"}},
      {"UPDATE t SET a = 1 DELETE FROM t WHERE a = 2",
       {"UPDATE t SET a = 1", "DELETE FROM t WHERE a = 2"}},
      {"CREATE TABLE x (a INT)\nALTER TABLE x ADD b INT\nALTER TABLE x DROP COLUMN b\n"
       "ALTER TABLE x ALTER COLUMN a BIGINT\nDROP TABLE x",
       {"CREATE TABLE x (a INT)", "ALTER TABLE x ADD b INT", "ALTER TABLE x DROP COLUMN b",
        "ALTER TABLE x ALTER COLUMN a BIGINT", "DROP TABLE x"}},
      {"CREATE TABLE c (id INT REFERENCES p(id) ON DELETE CASCADE ON UPDATE CASCADE)",
       {"CREATE TABLE c (id INT REFERENCES p(id) ON DELETE CASCADE ON UPDATE CASCADE)"}},
      {"CREATE VIEW v AS SELECT a FROM t", {"CREATE VIEW v AS SELECT a FROM t"}},
      {"WITH c AS (SELECT 1 AS a) SELECT a FROM c SELECT 2",
       {"WITH c AS (SELECT 1 AS a) SELECT a FROM c", "SELECT 2"}},
      {"SELECT 1; SELECT 2;", {"SELECT 1", "SELECT 2"}},
      {"SELECT ';' ; ; ", {"SELECT ';'"}},
      {"SELECT 1\nGO\nSELECT 2", {"SELECT 1", "SELECT 2"}},
      {"SELECT 'a\nSELECT b' AS x", {"SELECT 'a\nSELECT b' AS x"}},
      {"SELECT 1 -- SELECT 2\nCOMMIT TRANSACTION", {"SELECT 1 -- SELECT 2", "COMMIT TRANSACTION"}},
      {"  -- only a comment\n /* and another */ ", {}},
      {"", {}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(AdaptBatch(c.batch, Dialect::SqlServer), c.statements) << c.batch;
  }
}

// The table an updatable result set writes back to.
TEST(TsqlAdapterTest, SourceTableOfAQuery) {
  const std::pair<const char*, const char*> cases[] = {
      {"select  top 1 * from AUX_ERR  with(nolock) ", "AUX_ERR"},
      {"SELECT * FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'X'", "TA_CONFIGURACION"},
      {"SELECT * FROM dbo.[TA CONF] WHERE A = 1", "TA CONF"},
      {"SELECT * FROM GESTION.dbo.MA_CUENTAS", "MA_CUENTAS"},
      {"SELECT (SELECT 1 FROM X) AS a FROM Y", "Y"},
      {"SELECT a FROM (SELECT a FROM T) x", ""},
      {"UPDATE T SET A = 1", ""},
      {"SELECT 1", ""},
  };
  for (const auto& [sql, table] : cases) {
    EXPECT_EQ(tsql::SourceTable(sql), table) << sql;
  }
}

// The rewritten statements really run on SQLite and give SQL Server's answers.
class TsqlOnSqliteTest : public dbtest::DbTest {};

std::vector<std::string> Column(Recordset& rs, const char* field) {
  std::vector<std::string> out;
  for (; !rs.Eof(); rs.MoveNext()) out.push_back(rs.Fields(field).Text());
  return out;
}

TEST_F(TsqlOnSqliteTest, ProgramQueriesGiveServerResults) {
  dbtest::RunOnFile(DbPath(), R"sql(
    CREATE TABLE V_TA_FAMILIAS (IdFamilia VARCHAR(10), Descripcion VARCHAR(30));
    INSERT INTO V_TA_FAMILIAS VALUES ('1','A'),('11','AA'),('12','AB'),('121','ABA'),('2','B');
    INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('FEROLIN','FEROLIN_2 ','b'),
      ('FEROLIN','FEROLIN_1 ','a'), ('OTRO','X','x');
  )sql");
  OpenTest();
  const struct {
    std::string sql;
    const char* field;
    std::vector<std::string> values;
  } cases[] = {
      {"SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='2002'",
       "DESCRIPCION",
       {"Banco"}},
      {"SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='ABC'",
       "DESCRIPCION",
       {"Minusculas"}},
      {"SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='9'",
       "DESCRIPCION",
       {}},
      {"SELECT * FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN' ORDER BY CLAVE",
       "VALOR",
       {"a", "b"}},
      {"SELECT TOP 50 PERCENT CODIGO FROM MA_CUENTAS ORDER BY DESCRIPCION",
       "CODIGO",
       {"  2002  ", "1001"}},
      {"SELECT CODIGO FROM MA_CUENTAS WHERE LEN(CODIGO) = 6", "CODIGO", {"  2002  "}},
      {"SELECT ISNULL(SALDO, -1) AS S FROM dbo.[MA_CUENTAS] ORDER BY CODIGO",
       "S",
       {"-1", "10.5", "0"}},
      {"SELECT     TOP 100 PERCENT IdFamilia, Descripcion, (SELECT     TOP 1 idfamilia FROM "
       "v_ta_familias a   Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < "
       "Len(LTrim(RTrim(b.IdFamilia))))  ORDER BY idfamilia DESC) AS [relative] FROM "
       "dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER BY IdFamilia",
       "relative",
       {"", "1", "1", "12", ""}},
  };
  for (const auto& c : cases) {
    Recordset rs;
    rs.Open(c.sql, cn);
    EXPECT_EQ(Column(rs, c.field), c.values) << c.sql;
  }

  long affected = 0;
  cn.Execute("delete ta_configuracion where grupo = 'FEROLIN'", &affected);
  EXPECT_EQ(affected, 2);
}

TEST_F(TsqlOnSqliteTest, CodeCheckUsesTheTrimmedCodeIndex) {
  const auto adapted =
      AdaptBatch("SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='1001'",
                 Dialect::Sqlite);
  ASSERT_EQ(adapted.size(), 1u);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(DbPath().c_str(), &db), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(
      sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + adapted[0]).c_str(), -1, &stmt, nullptr),
      SQLITE_OK);
  std::string plan;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    plan += reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
    plan += "\n";
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  EXPECT_NE(plan.find("USING INDEX IX_MA_CUENTAS_CODIGO"), std::string::npos) << plan;
}

}  // namespace
}  // namespace ferolin::db
