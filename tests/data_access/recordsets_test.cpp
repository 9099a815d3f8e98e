// AbrirRecordset, CierraRecordset, EjecutaConsultaSQL and EjecutaConsultaRSQL.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/data_access/apoyo.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

using ui::answer::kAbort;
using ui::answer::kIgnore;
using ui::answer::kNo;
using ui::answer::kRetry;
using ui::answer::kYes;

DB_Dll& Abrir(Entorno& e) {
  DB_Dll& db = e.ctx.gDB();
  db.gServidor = "SQLITE";
  db.gDBName = "TEST";
  db.gUsuario = "sa";
  db.OpenServerADODB(false, 3, "", false);
  EXPECT_TRUE(db.gOpenFlag);
  db.gEsAdmin = false;
  return db;
}

const std::string kPerdida =
    "\r\n\r\n\r\nSe perdio la conexion con la base de datos TEST\r\n Servidor SQLITE\r\n\r\nElija "
    "SI para reintentar conectarse\r\nElija NO para cerrar la aplicacion\r\n\r\n\r\n";

TEST(AbrirRecordset, AbreConSinonimosYDejaLaSentenciaTraducida) {
  TestDatabase base;
  base.exec(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, CONFIDENCIAL) VALUES ('1', 'Caja', 0), "
      "('2', 'Secreta', 1);");
  Entorno e;
  DB_Dll& db = Abrir(e);
  db::Recordset rs;
  std::string sql = "SELECT * FROM MA_CUENTAS ORDER BY CODIGO";
  db.AbrirRecordset(sql, rs);
  EXPECT_EQ(sql, "SELECT * FROM SS_MA_CUENTAS ORDER BY CODIGO");
  ASSERT_EQ(rs.State(), db::state::kOpen);
  EXPECT_EQ(rs.RecordCount(), 1);  // the restricted synonym hides the confidential account
  EXPECT_EQ(rs.CursorType(), db::cursor_type::kForwardOnly);
  EXPECT_EQ(rs.LockType(), db::lock_type::kReadOnly);

  // Opened again: closed first. An empty result is open at both ends.
  sql = "SELECT * FROM @Admin_MA_CUENTAS WHERE CODIGO = 'X'";
  db.AbrirRecordset(sql, rs);
  EXPECT_EQ(sql, "SELECT * FROM MA_CUENTAS WHERE CODIGO = 'X'");
  ASSERT_EQ(rs.State(), db::state::kOpen);
  EXPECT_TRUE(rs.Bof());
  EXPECT_TRUE(rs.Eof());
}

TEST(AbrirRecordset, CancelaUnaEdicionPendienteAntesDeAbrir) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  db::Recordset rs;
  std::string sql = "SELECT * FROM TA_USUARIOS";
  db.AbrirRecordset(sql, rs, nullptr, db::cursor_type::kDynamic, db::lock_type::kOptimistic);
  rs.AddNew();
  rs.SetField("Nombre", db::Value::Text("NUEVO"));
  db.AbrirRecordset(sql, rs);
  EXPECT_EQ(rs.State(), db::state::kOpen);
  EXPECT_EQ(base.scalar("SELECT COUNT(*) FROM TA_USUARIOS"), "0");
  db.CierraRecordset(rs);
  EXPECT_EQ(rs.State(), db::state::kClosed);
  db.CierraRecordset(rs);  // closing a closed set is no failure
}

TEST(AbrirRecordset, InformaLaFallaYActuaSegunLaRespuesta) {
  struct Caso {
    std::vector<int> respuestas;
  } casos[] = {{{kRetry, kAbort}}, {{kIgnore}}, {{kAbort}}};
  TestDatabase base;
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = Abrir(e);
    for (int r : c.respuestas) e.prompt.Answer(r);
    db::Recordset rs;
    std::string sql = "SELECT * FROM NO_EXISTE";
    db.AbrirRecordset(sql, rs);
    EXPECT_EQ(rs.State(), db::state::kClosed);
    ASSERT_EQ(e.prompt.prompts().size(), c.respuestas.size());
    const auto& p = e.prompt.prompts()[0];
    EXPECT_EQ(p.style, 18);
    EXPECT_NE(p.title.find(" - AbrirRecordset Aviso al operador!!! - 5 "), std::string::npos);
    EXPECT_EQ(p.text.rfind("Ha ocurrido el Siguiente Error (-2147217865) ", 0), 0u) << p.text;
    EXPECT_TRUE(std::filesystem::exists(e.carpeta.file("KVERR.LOG")));
  }
}

TEST(AbrirRecordset, ReconectaYVuelveAAbrirTrasPerderLaConexion) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  // A real loss: an earlier failure left its provider error, then the link went.
  std::string falla = "SELECT * FROM NO_EXISTE";
  db.EjecutaConsultaSQL(falla);
  ASSERT_FALSE(db.gCnn().Errors().Empty());
  db.gCnn().Close();
  db::Recordset rs;
  std::string sql = "SELECT * FROM TA_USUARIOS";
  db.AbrirRecordset(sql, rs);
  EXPECT_EQ(rs.State(), db::state::kOpen);
  EXPECT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gCnn().CommandTimeout(), 5);
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(AbrirRecordset, PreguntaSiNoPuedeReconectar) {
  struct Caso {
    std::vector<int> respuestas;
    bool termina;
  } casos[] = {{{kNo}, true}, {{kYes}, false}, {{kYes, kNo}, true}};
  TestDatabase base;
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = Abrir(e);
    auto& doble = e.Doble(db, false);
    doble.fallosRecordset.push_back(Fallo{db::err::kUnspecified, "08S01", 0, "link caido"});
    // Two silent reconnection failures, then one more for each Yes that is asked again.
    const std::size_t fallidas = 2 + (c.respuestas.size() - 1);
    for (std::size_t i = 0; i < fallidas; ++i) {
      doble.fallosAbrir.push_back(Fallo{db::err::kUnspecified, "08001", 0, "sin servidor"});
    }
    for (int r : c.respuestas) e.prompt.Answer(r);
    db::Recordset rs;
    std::string sql = "SELECT * FROM TA_USUARIOS";
    if (c.termina) {
      EXPECT_THROW(db.AbrirRecordset(sql, rs), ProgramaTerminado);
      EXPECT_EQ(e.terminado, 1);
    } else {
      db.AbrirRecordset(sql, rs);
      EXPECT_EQ(rs.State(), db::state::kOpen);
      EXPECT_EQ(e.terminado, 0);
    }
    ASSERT_EQ(e.prompt.prompts().size(), c.respuestas.size());
    for (const auto& p : e.prompt.prompts()) {
      EXPECT_EQ(p.text, kPerdida);
      EXPECT_EQ(p.title, "AVISO AL OPERADOR");
      EXPECT_EQ(p.style, ui::buttons::kYesNo + ui::icon::kCritical);
    }
  }
}

TEST(AbrirRecordset, PerdidaRepetidaSeInforma) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  auto& doble = e.Doble(db, false);
  doble.fallosRecordset = {Fallo{db::err::kUnspecified, "08S01", 0, "link caido"},
                           Fallo{db::err::kUnspecified, "08S01", 0, "link caido otra vez"}};
  e.prompt.Answer(kAbort);
  db::Recordset rs;
  std::string sql = "SELECT * FROM TA_USUARIOS";
  db.AbrirRecordset(sql, rs);
  EXPECT_EQ(rs.State(), db::state::kClosed);
  ASSERT_EQ(e.prompt.prompts().size(), 1u);
  EXPECT_EQ(e.prompt.prompts()[0].text,
            "Ha ocurrido el Siguiente Error (-2147467259) link caido otra vez");
  EXPECT_EQ(std::count(doble.registro.begin(), doble.registro.end(), "close"), 2);
}

TEST(AbrirRecordset, SinConexionSeReintentaConectarYSeTermina) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  std::string falla = "SELECT * FROM NO_EXISTE";
  db.EjecutaConsultaSQL(falla);
  db.gCnn().Close();
  std::filesystem::rename(base.mainFile(), base.datos() / "OTRO.db");
  e.prompt.Answer(kYes).Answer(kNo);
  db::Recordset rs;
  std::string sql = "SELECT * FROM TA_USUARIOS";
  EXPECT_THROW(db.AbrirRecordset(sql, rs), ProgramaTerminado);
  EXPECT_FALSE(db.gOpenFlag);
  std::filesystem::rename(base.datos() / "OTRO.db", base.mainFile());
}

TEST(EjecutaConsultaSQL, TransformaLaSentencia) {
  struct Caso {
    bool admin;
    std::string sql, ejecutada;
  } casos[] = {
      {false, "DELETE FROM @admin_TA_USUARIOS WHERE 1=1", "DELETE FROM TA_USUARIOS WHERE 1=1"},
      {false, "DROP VIEW V1\nCREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1",
       "DROP VIEW V1\nCREATE VIEW V1 AS SELECT * FROM SS_MA_CUENTAS WHERE 1=1"},
      {true, "DROP VIEW V1\nCREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1",
       "DROP VIEW V1\nCREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1"},
      {false, "DROP VIEW V1\nCREATE VIEW V1 AS SELECT * FROM @Admin_MA_CUENTAS WHERE 1=1",
       "DROP VIEW V1\nCREATE VIEW V1 AS SELECT * FROM MA_CUENTAS WHERE 1=1"},
      {false, "DROP T CREATE T DELETE FROM MA_CUENTAS WHERE 1=1",
       "DROP T CREATE T DELETE FROM MA_CUENTAS WHERE 1=1"},
      {false, "UPDATE MA_CUENTAS SET X = 1 WHERE 1=1", "UPDATE MA_CUENTAS SET X = 1 WHERE 1=1"},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    db.gEsAdmin = c.admin;
    auto& doble = e.Doble(db, true);
    std::string sql = c.sql;
    long filas = 0;
    db.EjecutaConsultaSQL(sql, &filas);
    EXPECT_EQ(sql, c.ejecutada);
    EXPECT_EQ(doble.registro, std::vector<std::string>{"exec " + c.ejecutada});
    EXPECT_EQ(filas, 1);
  }
}

TEST(EjecutaConsultaSQL, EjecutaEnLaBaseYDevuelveFilasYResultado) {
  TestDatabase base;
  base.exec("INSERT INTO TA_USUARIOS (Nombre) VALUES ('A'), ('B'), ('C');");
  Entorno e;
  DB_Dll& db = Abrir(e);
  std::string sql = "DELETE FROM @Admin_TA_USUARIOS WHERE Nombre <> 'A'";
  long filas = 0;
  db.EjecutaConsultaSQL(sql, &filas);
  EXPECT_EQ(filas, 2);
  EXPECT_EQ(base.scalar("SELECT COUNT(*) FROM TA_USUARIOS"), "1");
  std::unique_ptr<db::Recordset> rs;
  std::string consulta = "SELECT Nombre FROM TA_USUARIOS";
  db.EjecutaConsultaSQL(consulta, nullptr, &rs);
  ASSERT_TRUE(rs);
  ASSERT_EQ(rs->State(), db::state::kOpen);
  EXPECT_EQ(rs->Fields("Nombre").Text(), "A");
}

TEST(EjecutaConsultaSQL, DejaLosErroresParaQuienLlama) {
  struct Caso {
    std::string sql;
    std::optional<Fallo> fallo;
    std::optional<long> aviso;  // a provider warning already in the collection
    std::size_t errores;
  } casos[] = {
      {"INSERT INTO T VALUES (1)", Fallo{db::err::kIntegrity, "23000", 2627, "duplicado"}, {}, 1},
      // A truncation warning on a statement that ran is cleared ...
      {"INSERT INTO T VALUES (1)", std::nullopt, 8152, 0},
      {"BEGIN TRANSACTION INSERT INTO T VALUES (1)", std::nullopt, 8152, 1},
      {"INSERT INTO T VALUES (1)", std::nullopt, 547, 1},
      // ... but a statement refused for it keeps its error.
      {"INSERT INTO T VALUES (1)", Fallo{db::err::kUnspecified, "22001", 8152, "truncado"}, {}, 1},
      // A failure without provider errors still leaves one behind.
      {"INSERT INTO T VALUES (1)", Fallo{db::err::kConnectionUnusable, "-", 0, "cerrada"}, {}, 1},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    if (c.aviso) doble.Errors().Add({"01000", 0, *c.aviso, "aviso", "Proveedor"});
    if (c.fallo) doble.fallosEjecutar.push_back(c.fallo);
    std::string sql = c.sql;
    db.EjecutaConsultaSQL(sql);
    EXPECT_EQ(db.gCnn().Errors().Count(), c.errores) << c.sql;
    if (c.fallo && c.errores) {
      EXPECT_EQ(db.gCnn().Errors().Item(0).number, c.fallo->numero);
    }
  }
}

TEST(EjecutaConsultaRSQL, MuestraLasFallasNoEsperadas) {
  struct Caso {
    std::string sql;
    Fallo fallo;
    bool muestra;
  } casos[] = {
      {"UPDATE T SET A = 1", Fallo{-2147217913, "22018", 245, "tipo no valido"}, true},
      {"UPDATE T SET A = 1", Fallo{db::err::kUnspecified, "HY000", 0, "x"}, false},
      {"UPDATE T SET A = 1", Fallo{db::err::kIntegrity, "23000", 2627, "x"}, false},
      {"UPDATE T SET A = 1", Fallo{db::err::kObjectNotFound, "42S02", 208, "x"}, false},
      {"UPDATE T SET A = 1", Fallo{db::err::kCommandText, "42000", 102, "x"}, false},
      {"COMMIT TRANS", Fallo{-2147217913, "22018", 245, "x"}, false},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    doble.fallosEjecutar.push_back(c.fallo);
    if (c.muestra) e.prompt.Answer(ui::answer::kOk);
    std::string sql = c.sql;
    db.EjecutaConsultaRSQL(sql);
    ASSERT_EQ(e.prompt.prompts().size(), c.muestra ? 1u : 0u) << c.fallo.numero;
    if (c.muestra) {
      EXPECT_EQ(e.prompt.prompts()[0].text, c.fallo.descripcion);
      EXPECT_EQ(e.prompt.prompts()[0].title, "Aviso al operador!!!");
      EXPECT_EQ(e.prompt.prompts()[0].style, ui::icon::kCritical);
    }
  }
}

}  // namespace
}  // namespace ferolin::testing
