// Schema checks and local database files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/data_access/apoyo.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

DB_Dll& Abrir(Entorno& e) {
  DB_Dll& db = e.ctx.gDB();
  db.gServidor = "SQLITE";
  db.gDBName = "TEST";
  db.gUsuario = "sa";
  db.OpenServerADODB(false, 3, "", false);
  EXPECT_TRUE(db.gOpenFlag);
  return db;
}

TEST(Esquema, TablasYColumnas) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = Abrir(e);
  EXPECT_TRUE(db.ExisteTablaDB(" ta_usuarios "));
  EXPECT_TRUE(db.ExisteTablaDB("SS_MA_CUENTAS"));  // views count
  EXPECT_FALSE(db.ExisteTablaDB("NO_EXISTE"));
  EXPECT_TRUE(db.ExisteCampoDB("TA_USUARIOS", " administrador "));
  EXPECT_FALSE(db.ExisteCampoDB("TA_USUARIOS", "NO_HAY"));
  EXPECT_FALSE(db.ExisteCampoDB("NO_EXISTE", "X"));

  // A missing column is added; present columns, missing tables and no
  // permission to add leave the database alone. Every call answers True.
  EXPECT_TRUE(db.VerCampoDB("TA_USUARIOS", "OBS", false, "VARCHAR(10)"));
  EXPECT_FALSE(db.ExisteCampoDB("TA_USUARIOS", "OBS"));
  EXPECT_TRUE(db.VerCampoDB("NO_EXISTE", "OBS", true, "VARCHAR(10)"));
  EXPECT_TRUE(db.VerCampoDB("TA_USUARIOS", "OBS", true, "VARCHAR(10)", false, "'x'"));
  EXPECT_TRUE(db.ExisteCampoDB("TA_USUARIOS", "OBS"));
  EXPECT_TRUE(db.VerCampoDB("TA_USUARIOS", "OBS", true, "INT"));
  EXPECT_TRUE(e.prompt.prompts().empty());

  // Oracle providers are taken on trust.
  db.gProveedor = "OraOLEDB.Oracle.1";
  EXPECT_TRUE(db.ExisteCampoDB("NO_EXISTE", "X"));
}

TEST(Esquema, AddFieldArmaLaSentencia) {
  struct Caso {
    std::string tabla, campo, tipo;
    bool nulos;
    std::optional<std::string> defecto;
    std::string sentencia;
  } casos[] = {
      {"MA_CUENTAS", "OBS", "VARCHAR(50)", false, "''",
       "ALTER TABLE dbo.MA_CUENTAS ADD OBS VARCHAR(50) Not Null  CONSTRAINT DF_MA_CUENTAS_OBS "
       "DEFAULT ('')"},
      {"T", "C", "INT", true, std::nullopt, "ALTER TABLE dbo.T ADD C INT Null "},
  };
  for (const auto& c : casos) {
    Entorno e;
    auto& doble = e.Doble(e.ctx.gDB(), true);
    e.ctx.gDB().AddField(c.tabla, c.campo, c.tipo, c.nulos, c.defecto);
    EXPECT_EQ(doble.registro, std::vector<std::string>{"exec " + c.sentencia});
  }
}

TEST(Esquema, FallaSeInformaConVerificaCampos) {
  struct Caso {
    int respuesta;
    bool existe;
  } casos[] = {{ui::answer::kAbort, false}, {ui::answer::kIgnore, false}};
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();  // never opened: the schema query fails
    e.prompt.Answer(c.respuesta);
    if (c.respuesta == ui::answer::kIgnore) e.prompt.Answer(ui::answer::kAbort);
    EXPECT_EQ(db.ExisteTablaDB("T"), c.existe);
    ASSERT_GE(e.prompt.prompts().size(), 1u);
    EXPECT_NE(e.prompt.prompts()[0].title.find(" - VerificaCampos Aviso al operador!!! - 5 "),
              std::string::npos);
  }
}

class LocalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    archivo_ = carpeta_.file("local.db").string();
    base_.exec("SELECT 1;");
    std::filesystem::copy_file(base_.mainFile(), archivo_);
    db().gProveedor = DB_Dll::pJETOLEDB40;
  }
  DB_Dll& db() { return e_.ctx.gDB(); }
  std::string Cadena(const std::string& archivo, const std::string& clausula = "",
                     const std::string& password = "") {
    return std::string("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =") + archivo +
           ";User Id=;Password=" + password + ";" + clausula;
  }
  TestDatabase base_;
  TempFolder carpeta_;
  std::string archivo_;
  Entorno e_;
};

TEST_F(LocalTest, AbreElArchivoDado) {
  db().gDBName = archivo_;
  db().OpenLocalADODB();
  EXPECT_TRUE(db().gCnn().IsOpen());
  EXPECT_EQ(db().gConnString, Cadena(archivo_));
  EXPECT_TRUE(e_.prompt.prompts().empty());
}

TEST_F(LocalTest, BuscaElArchivoCuandoFaltaONoExiste) {
  e_.prompt.AnswerFile(carpeta_.file("no_esta.mdb").string()).AnswerFile(archivo_);
  db().OpenLocalADODB();
  EXPECT_TRUE(db().gCnn().IsOpen());
  EXPECT_EQ(db().gDBName, archivo_);
  ASSERT_EQ(e_.prompt.prompts().size(), 2u);
  EXPECT_EQ(e_.prompt.prompts()[0].text, "Buscar Base de Datos");
  EXPECT_EQ(e_.prompt.prompts()[0].title, "Base de Datos de Microsoft Access |*.MDB");

  Entorno otro;
  DB_Dll& d = otro.ctx.gDB();
  d.gProveedor = DB_Dll::pJETOLEDB35;
  otro.prompt.AnswerFile(std::nullopt);
  d.OpenLocalADODB();
  EXPECT_FALSE(d.gCnn().IsOpen());
}

TEST_F(LocalTest, PideLaClaveDeUnaBaseProtegida) {
  struct Caso {
    std::optional<bool> ignora;
    std::vector<std::optional<std::string>> claves;  // input box answers
    bool abierta;
    std::string clausula;
  } casos[] = {
      {std::nullopt, {"secreto"}, true, " Jet OLEDB:Database Password=secreto;"},
      {false, {"secreto"}, true, " Jet OLEDB:Database Password=secreto;"},
      {true, {}, true, "Jet OLEDB:Database Password=guardada;"},
      {true, {"otra"}, true, " Jet OLEDB:Database Password=otra;"},
      {std::nullopt, {std::nullopt}, false, ""},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& d = e.ctx.gDB();
    d.gProveedor = DB_Dll::pJETOLEDB40;
    d.gDBName = archivo_;
    d.gUserPassWord = "guardada";
    d.gIgnoraPassWord = c.ignora;
    auto& doble = e.Doble(d, false);
    doble.fallosAbrir.push_back(Fallo{db::err::kUnspecified, "3031", 0, "clave no valida"});
    // With a stored password that is wrong, the operator is asked after it.
    if (c.ignora.value_or(false) && !c.claves.empty()) {
      doble.fallosAbrir.push_back(Fallo{db::err::kUnspecified, "3031", 0, "clave no valida"});
    }
    for (const auto& k : c.claves) e.prompt.AnswerInput(k);
    d.OpenLocalADODB();
    EXPECT_EQ(d.gCnn().IsOpen(), c.abierta);
    for (const auto& p : e.prompt.prompts()) {
      EXPECT_EQ(p.text, "ingrese el password:");
      EXPECT_EQ(p.title, "Password Access");
    }
    if (c.abierta) {
      EXPECT_EQ(doble.registro.back(), "open " + Cadena(archivo_, c.clausula, "guardada") + " ||");
    }
  }
}

TEST_F(LocalTest, OtraFallaSeMuestraYTermina) {
  db().gDBName = archivo_;
  auto& doble = e_.Doble(db(), false);
  doble.fallosAbrir.push_back(Fallo{db::err::kUnspecified, "HY000", 0, "disco roto"});
  e_.prompt.Answer(ui::answer::kOk);
  db().OpenLocalADODB("", "UID", "PWD");
  EXPECT_FALSE(db().gCnn().IsOpen());
  ASSERT_EQ(e_.prompt.prompts().size(), 1u);
  EXPECT_EQ(e_.prompt.prompts()[0].text, "-2147467259  disco roto");
  EXPECT_EQ(e_.prompt.prompts()[0].style, ui::buttons::kOk + ui::icon::kCritical);
  EXPECT_EQ(doble.registro[0],
            "open PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =" + archivo_ + ";UID=;PWD=; ||");
}

}  // namespace
}  // namespace ferolin::testing
