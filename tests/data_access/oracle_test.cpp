// Scripts on an Oracle connection, run against a recording connection.

#include <gtest/gtest.h>

#include "tests/data_access/apoyo.h"

namespace ferolin::testing {
namespace {

constexpr const char* kOracle = "Provider=OraOLEDB.Oracle.1;Data Source=ORA;User Id=u;Password=p;";

struct CasoScript {
  std::string script;
  std::vector<std::string> registro;
};

TEST(EjecutarScriptOracle, CortaElScriptEnSentenciasYTransacciones) {
  const CasoScript casos[] = {
      {"SET NOCOUNT ON\r\nINSERT INTO T VALUES (1) INSERT INTO T VALUES (2)",
       {"exec INSERT INTO T VALUES (1)", "exec INSERT INTO T VALUES (2)"}},
      {"BEGIN TRAN\r\nDELETE FROM T WHERE A = 1\r\nGO\r\nUPDATE T SET B = 2 WHERE A = 3",
       {"exec DELETE FROM T WHERE A = 1", "exec UPDATE T SET B = 2 WHERE A = 3"}},
      {"BEGIN TRANSACTION\r\nINSERT INTO T VALUES (1)\r\nCOMMIT TRANSACTION",
       {"begin", "exec INSERT INTO T VALUES (1)", "commit"}},
      {"begin trans insert into T values (1) rollback trans",
       {"begin", "exec insert into T values (1)", "rollback"}},
      {"IF NOT EXISTS (SELECT 1 FROM X) CREATE TABLE X (A INT)", {"exec CREATE TABLE X (A INT)"}},
      {"SELECT TOP 1 * FROM T", {}},
      {"UPDATE T SET A = LEN(B) WHERE C = '' GO GRANT SELECT ON T TO P",
       {"exec UPDATE T SET A = LENGTH(B) WHERE C  IS NULL ", "exec GRANT SELECT ON T TO P"}},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    db.gConnString = kOracle;
    auto& doble = e.Doble(db, true);
    doble.cadena = kOracle;
    std::string script = c.script;
    db.EjecutaConsultaSQL(script);
    EXPECT_EQ(doble.registro, c.registro) << c.script;
    if (!c.registro.empty()) {
      EXPECT_EQ(script, "");
    }
  }
}

TEST(EjecutarScriptOracle, SumaLasFilasAfectadas) {
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  db.gConnString = kOracle;
  auto& doble = e.Doble(db, true);
  doble.filasPorSentencia = 3;
  long filas = 4;
  std::string script = "INSERT INTO T SELECT * FROM U DELETE FROM V";
  db.EjecutarScriptOracle(script, &filas);
  EXPECT_EQ(filas, 10);
  doble.filasPorSentencia = -1;  // statements that report no count add nothing
  script = "CREATE TABLE W (A INT)";
  db.EjecutarScriptOracle(script, &filas);
  EXPECT_EQ(filas, 10);
}

TEST(EjecutarScriptOracle, SeDetieneEnLaPrimeraFallaYLimpiaElAviso265929) {
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  db.gConnString = kOracle;
  auto& doble = e.Doble(db, true);
  doble.cadena = kOracle;
  doble.fallosEjecutar = {std::nullopt, Fallo{-2147217900, "42000", 942, "tabla no existe"}};
  std::string script = "SET TRANSACTION INSERT INTO A VALUES (1) INSERT INTO B VALUES (2) COMMIT";
  db.EjecutaConsultaSQL(script);
  EXPECT_EQ(doble.registro, (std::vector<std::string>{"begin", "exec INSERT INTO A VALUES (1)",
                                                      "exec INSERT INTO B VALUES (2)"}));
  EXPECT_EQ(db.gCnn().Errors().Count(), 1u);  // left for the caller, no commit made
  EXPECT_TRUE(e.prompt.prompts().empty());

  struct Caso {
    std::vector<long> numeros;
    std::size_t quedan;
  } casos[] = {{{265929}, 0}, {{265929, 265929}, 2}, {{1}, 1}};
  for (const auto& c : casos) {
    Entorno otro;
    DB_Dll& d = otro.ctx.gDB();
    d.gConnString = kOracle;
    auto& doble2 = otro.Doble(d, true);
    for (long n : c.numeros) doble2.Errors().Add({"01000", n, 0, "aviso", "Oracle"});
    std::string s = "INSERT INTO T VALUES (1)";
    d.EjecutarScriptOracle(s);
    EXPECT_EQ(doble2.Errors().Count(), c.quedan);
  }
}

TEST(DescartarSentenciaOracle, QuitaGuardasYNocount) {
  EXPECT_EQ(DB_Dll::DescartarSentenciaOracle("set nocount on"), "");
  EXPECT_EQ(DB_Dll::DescartarSentenciaOracle("IF NOT EXISTS (SELECT 1)"), "");
  EXPECT_EQ(DB_Dll::DescartarSentenciaOracle("INSERT INTO T VALUES (1)"),
            "INSERT INTO T VALUES (1)");
}

}  // namespace
}  // namespace ferolin::testing
