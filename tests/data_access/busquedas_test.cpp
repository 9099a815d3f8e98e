// ExisteEnTabla, ExisteEnTablaST, DatosTabla and the maximum/minimum lookups.

#include <gtest/gtest.h>

#include "tests/data_access/apoyo.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

using ui::answer::kAbort;
using ui::answer::kIgnore;
using ui::answer::kRetry;

DB_Dll& Abrir(Entorno& e) {
  DB_Dll& db = e.ctx.gDB();
  db.gServidor = "SQLITE";
  db.gDBName = "TEST";
  db.gUsuario = "sa";
  db.OpenServerADODB(false, 3, "", false);
  EXPECT_TRUE(db.gOpenFlag);
  return db;
}

std::string Sep(Entorno& e) {
  return e.ctx.tarvex.teclado().SeparadorDecimal().substr(0, 1);
}

TEST(Busquedas, ArmanLaConsultaAlCaracter) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  const std::string sep = Sep(e);
  struct Caso {
    std::function<void(DB_Dll&)> llamada;
    std::string consulta;
  } casos[] = {
      {[](DB_Dll& d) { d.ExisteEnTabla("T", " 1.1 ", "CODIGO"); },
       "SELECT TOP 1  * FROM T with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='1.1'"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", "' OR '1'='1", "CODIGO"); },
       "SELECT TOP 1  * FROM T with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) =''' OR ''1''=''1'"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", "x", "C", nullptr, 8, "X = 1"); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE X = 1"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", "x", "C", nullptr, 8, "A WHERE X = 1"); },
       "SELECT TOP 1 * FROM T with(nolock)  A WHERE X = 1"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", " 01/02/2019 ", "F", nullptr, 7); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE F = 01/02/2019 "},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", "12abc", "N", nullptr, 3); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 12"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", "abc", "N", nullptr, 4); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 0"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", "1.5", "N", nullptr, 5); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 1" + sep + "5"},
      {[](DB_Dll& d) { d.ExisteEnTabla("T", " raw ", "N", nullptr, 2); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE N =  raw "},
      {[](DB_Dll& d) { d.ExisteEnTablaST("T", " x'y ", "C"); },
       "SELECT * FROM T with(nolock)   WHERE C =' x''y '"},
      {[](DB_Dll& d) { d.ExisteEnTablaST("T", "x", "C", nullptr, 8, "X = 1"); },
       "SELECT * FROM T with(nolock)   WHERE X = 1"},
      {[](DB_Dll& d) { d.ExisteEnTablaST("T", "7", "N", nullptr, 3); },
       "SELECT * FROM T with(nolock)   WHERE N = 7"},
      {[](DB_Dll& d) { d.DatosTabla("T", " x ", "D", "C", 8, "Y = 2"); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE LTRIM(RTRIM(C)) ='x'  AND Y = 2"},
      {[](DB_Dll& d) { d.DatosTabla("T", " o'k ", "D", "C", 8, "", false); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE C =' o''k ' "},
      {[](DB_Dll& d) { d.DatosTabla("T", " 01/02/2019 ", "D", "F", 7); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE F = #01/02/2019# "},
      {[](DB_Dll& d) { d.DatosTabla("T", "12x", "D", "N", 3, "  "); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 12"},
      {[](DB_Dll& d) { d.DatosTabla("T", "12x", "D", "N", 9, "Y = 1"); },
       "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 12x AND Y = 1"},
  };
  for (const auto& c : casos) {
    Entorno otro;
    DB_Dll& d = otro.ctx.gDB();
    d.gEsAdmin = true;
    d.gOpenFlag = true;
    auto& doble = otro.Doble(d, true);
    doble.recordsetsVacios = true;
    c.llamada(d);
    ASSERT_EQ(doble.registro.size(), 1u) << c.consulta;
    EXPECT_EQ(doble.registro[0], "rs " + c.consulta);
  }
  // A non-administrator's key lookup reads the restricted synonym.
  auto& doble = e.Doble(db, true);
  doble.recordsetsVacios = true;
  db.gEsAdmin = false;
  db.ExisteEnTabla("MA_CUENTAS", "1", "CODIGO");
  EXPECT_EQ(doble.registro.at(0),
            "rs SELECT TOP 1  * FROM SS_MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='1'");
}

TEST(ExisteEnTabla, EncuentraPorClaveRecortada) {
  TestDatabase base;
  base.exec(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES (' 1.1 ', 'Caja'), ('2', 'Bancos');");
  Entorno e;
  DB_Dll& db = Abrir(e);
  db.gEsAdmin = true;
  struct Caso {
    std::string codigo;
    bool existe;
  } casos[] = {{"1.1", true}, {"  1.1", true},        {"2 ", true},
               {"3", false},  {"' OR '1'='1", false}, {"x' OR 'x'='x", false}};
  for (const auto& c : casos) {
    EXPECT_EQ(db.ExisteEnTabla("MA_CUENTAS", c.codigo, "CODIGO"), c.existe) << c.codigo;
    db::Recordset rs;
    EXPECT_EQ(db.ExisteEnTabla("MA_CUENTAS", c.codigo, "CODIGO", &rs), c.existe) << c.codigo;
    ASSERT_EQ(rs.State(), db::state::kOpen);
    if (c.existe) {
      EXPECT_FALSE(rs.Fields("DESCRIPCION").Text().empty());
    }
  }
  EXPECT_TRUE(db.ExisteEnTablaST("MA_CUENTAS", " 1.1 ", "CODIGO"));
  EXPECT_FALSE(db.ExisteEnTablaST("MA_CUENTAS", "1.1", "CODIGO"));  // no trimming here

  // Not read-only: the set keeps the cursor and lock it had.
  db::Recordset rs;
  rs.SetCursorType(db::cursor_type::kKeyset);
  rs.SetLockType(db::lock_type::kOptimistic);
  EXPECT_TRUE(db.ExisteEnTabla("MA_CUENTAS", "2", "CODIGO", &rs, 8, "", false));
  EXPECT_EQ(rs.CursorType(), db::cursor_type::kKeyset);
  EXPECT_EQ(rs.LockType(), db::lock_type::kOptimistic);
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(ExisteEnTabla, FallaSegunLaRespuestaDelOperador) {
  TestDatabase base;
  struct Caso {
    std::vector<int> respuestas;
  } casos[] = {{{kAbort}}, {{kRetry, kAbort}}, {{kIgnore, kAbort}}};
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = Abrir(e);
    for (int r : c.respuestas) e.prompt.Answer(r);
    EXPECT_FALSE(db.ExisteEnTabla("NO_EXISTE", "1"));
    ASSERT_EQ(e.prompt.prompts().size(), c.respuestas.size());
    EXPECT_EQ(e.prompt.prompts()[0].title, "Aviso al Operador");
    EXPECT_EQ(e.prompt.prompts()[0].style, 18);
    EXPECT_NE(e.prompt.prompts()[0].text.find("NO_EXISTE"), std::string::npos);
  }
}

TEST(DatosTabla, DevuelveElCampoOVacio) {
  TestDatabase base;
  base.exec("INSERT INTO TA_USUARIOS (Nombre, Descripcion) VALUES ('ANA', 'Ana'), ('LUIS', NULL);");
  Entorno e;
  DB_Dll& db = Abrir(e);
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", " ana ", "Descripcion", "Nombre"), "Ana");
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", "LUIS", "Descripcion", "Nombre"), "");
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", "NADIE", "Descripcion", "Nombre"), "");
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", "ANA", "Descripcion", "Nombre", 8, "Nombre <> 'ANA'"), "");
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", "' OR ''='", "Descripcion", "Nombre"), "");
  EXPECT_TRUE(e.prompt.prompts().empty());

  // Ignored failures stay silent; reported ones follow the answer.
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", "ANA", "NO_HAY", "Nombre", 8, "", true, true), "");
  EXPECT_TRUE(e.prompt.prompts().empty());
  e.prompt.Answer(kAbort);
  EXPECT_EQ(db.DatosTabla("TA_USUARIOS", "ANA", "NO_HAY", "Nombre"), "");
  ASSERT_EQ(e.prompt.prompts().size(), 1u);
  EXPECT_EQ(e.prompt.prompts()[0].title, "Aviso al Operador");
  EXPECT_EQ(e.prompt.prompts()[0].style, 18);
}

TEST(BuscaMaximo, ExtremosDeUnaColumna) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  EXPECT_EQ(db.BuscaUltimoCodigo("TA_USUARIOS", "Administrador").ToNumber(), 0);
  base.exec(
      "INSERT INTO TA_USUARIOS (Nombre, Administrador) VALUES ('A', 3), ('B', 7), ('C', -2);");
  EXPECT_EQ(db.BuscaMaximo("TA_USUARIOS", "Administrador").ToNumber(), 7);
  EXPECT_EQ(db.BuscaMaximo("TA_USUARIOS", "Administrador", 8, "Nombre <> 'B'").ToNumber(), 3);
  EXPECT_EQ(db.BuscaMaximo("TA_USUARIOS", "Nombre", 7).ToText(), "C");
  EXPECT_EQ(db.BuscaMinimo("TA_USUARIOS", "Administrador").ToNumber(), -2);
  EXPECT_EQ(db.BuscaMinimo("TA_USUARIOS", "Administrador", 8, " Nombre = 'B' ").ToNumber(), 7);
  EXPECT_EQ(db.BuscaUltimoCodigo("TA_USUARIOS", "Administrador", 8, "Nombre = 'A'").ToNumber(), 3);
  EXPECT_THROW(db.BuscaMaximo("NO_EXISTE", "X"), db::DbError);

  // Article codes that begin with a zero are left out of the maximum.
  base.exec("INSERT INTO MA_ARTICULOS (IDARTICULO) VALUES ('0999'), ('150'), ('20');");
  EXPECT_EQ(db.BuscaMaximo("V_MA_ARTICULOS", "IDARTICULO").ToNumber(), 20);
  EXPECT_EQ(db.BuscaMaximo("V_MA_ARTICULOS", "IDARTICULO", 8, "IDARTICULO <> '20'").ToNumber(),
            150);
}

}  // namespace
}  // namespace ferolin::testing
