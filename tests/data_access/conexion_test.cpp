// OpenServerADODB and ReintentaConectar.

#include <gtest/gtest.h>

#include "tests/data_access/apoyo.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

using ui::answer::kAbort;
using ui::answer::kIgnore;
using ui::answer::kNo;
using ui::answer::kRetry;
using ui::answer::kYes;

void Datos(DB_Dll& db, const std::string& servidor, const std::string& base,
           const std::string& usuario, const std::string& password) {
  db.gServidor = servidor;
  db.gDBName = base;
  db.gUsuario = usuario;
  db.gUserPassWord = password;
}

TEST(OpenServerADODB, ArmaLaCadenaDeConexion) {
  struct Caso {
    std::string servidor, extended, dada, esperada;
  } casos[] = {
      {"SRV01", "", "", "PROVIDER=SQLOLEDB;Server=SRV01;Database =GESTION;UId=sa;Pwd=;"},
      {"SRV01", "", "   ", "PROVIDER=SQLOLEDB;Server=SRV01;Database =GESTION;UId=sa;Pwd=;"},
      {"SRV01\\INST", "App=X;", "",
       "PROVIDER=SQLOLEDB;Server=SRV01\\INST;Database =GESTION;UId=sa;Pwd=;App=X;"},
      {"ORA#", "", "", "Provider=OraOLEDB.Oracle.1;Data Source=GESTION;User Id=sa;Password=;"},
      {"A#B", "X", "", "Provider=OraOLEDB.Oracle.1;Data Source=GESTION;User Id=sa;Password=;"},
      {"SRV01", "", "DSN=otra;", "DSN=otra;"},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    Datos(db, c.servidor, "GESTION", "sa", "");
    db.gExtended = c.extended;
    db.OpenServerADODB(false, 3, c.dada, false, true);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gConnString, c.esperada);
    EXPECT_EQ(db.gProveedor, "SQLOLEDB");
    EXPECT_TRUE(db.gEsAdmin);  // no administrator check asked for
    EXPECT_EQ(db.gCnn().CursorLocation(), 3);
    EXPECT_EQ(doble.registro, std::vector<std::string>{"open " + c.esperada + " ||"});
  }
}

TEST(OpenServerADODB, PideLosDatosAlOperador) {
  using D = DialogoConexion::Datos;
  struct Caso {
    std::optional<D> respuesta;
    bool abierta;
    std::string servidor, proveedor, cadena;
  } casos[] = {
      {D{"SRV02", "OTRA", "ana", "pw", 0}, true, "SRV02", "SQLOLEDB",
       "PROVIDER=SQLOLEDB;Server=SRV02;Database =OTRA;UId=ana;Pwd=pw;"},
      {D{"SRV", "ORABD", "ana", "pw", 1}, true, "SRV#", "OraOLEDB.Oracle.1",
       "Provider=OraOLEDB.Oracle.1;Data Source=ORABD;User Id=ana;Password=pw;"},
      {D{"SRV#", "ORABD", "ana", "pw", 2}, true, "SRV#", "OraOLEDB.Oracle.1",
       "Provider=OraOLEDB.Oracle.1;Data Source=ORABD;User Id=ana;Password=pw;"},
      {std::nullopt, false, "SRV01", "SQLOLEDB", "DSN=dada;"},
  };
  for (const auto& c : casos) {
    Entorno e;
    DialogoGuionado dialogo;
    dialogo.respuestas.push_back(c.respuesta);
    e.ctx.dialogoConexion = &dialogo;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    Datos(db, "SRV01", "GESTION", "sa", "x");
    db.OpenServerADODB(true, 3, "DSN=dada;", false, true);
    ASSERT_EQ(dialogo.pedidos.size(), 1u);
    EXPECT_EQ(dialogo.pedidos[0].servidor, "SRV01");
    EXPECT_EQ(dialogo.pedidos[0].dbName, "GESTION");
    EXPECT_EQ(dialogo.pedidos[0].usuario, "sa");
    EXPECT_EQ(dialogo.pedidos[0].password, "x");
    EXPECT_EQ(dialogo.pedidos[0].plataforma, 0);
    EXPECT_EQ(db.gOpenFlag, c.abierta);
    EXPECT_EQ(db.gServidor, c.servidor);
    EXPECT_EQ(db.gProveedor, c.proveedor);
    EXPECT_EQ(db.gConnString, c.cadena);
    EXPECT_EQ(doble.registro.size(), c.abierta ? 1u : 0u);
  }
}

TEST(OpenServerADODB, SinDialogoEsComoCancelar) {
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  auto& doble = e.Doble(db, true);
  Datos(db, "SRV01", "GESTION", "sa", "");
  db.OpenServerADODB(true);
  EXPECT_FALSE(db.gOpenFlag);
  EXPECT_TRUE(doble.registro.empty());
  EXPECT_EQ(db.gServidor, "SRV01");
}

TEST(OpenServerADODB, DecideSiElUsuarioEsAdministrador) {
  TestDatabase base;
  base.exec(
      "INSERT INTO TA_USUARIOS (Nombre, Administrador) VALUES ('ADM1', 1), ('ADMR', 1.0), "
      "('DOS', 2), ('NEG', -1), ('NULO', NULL), (' ESP ', 1);");
  struct Caso {
    std::string usuario;
    bool validaAdmin, muestraError, esperado;
  } casos[] = {
      {"ADM1", true, true, true},   {"ADMR", true, true, true},   {"ESP", true, true, true},
      {"DOS", true, true, false},   {"NEG", true, true, false},   {"NULO", true, true, false},
      {"NADIE", true, true, false}, {"NADIE", true, false, true}, {"NADIE", false, true, true},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    Datos(db, "SQLITE", "TEST", c.usuario, "");
    db.gEsAdmin = !c.esperado;
    db.OpenServerADODB(false, 3, "", c.validaAdmin, c.muestraError);
    EXPECT_TRUE(db.gOpenFlag) << c.usuario;
    EXPECT_EQ(db.gEsAdmin, c.esperado) << c.usuario << c.validaAdmin << c.muestraError;
  }

  // Without a users table (or a database name) the flag is left as it was.
  base.exec("DROP TABLE TA_USUARIOS;");
  for (bool antes : {true, false}) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    Datos(db, "SQLITE", "TEST", "ADM1", "");
    db.gEsAdmin = antes;
    db.OpenServerADODB();
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_EQ(db.gEsAdmin, antes);
  }
}

TEST(OpenServerADODB, InformaElErrorDeConexionConTodasSusPartes) {
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  auto& doble = e.Doble(db, true);
  Datos(db, "SRV01", "GESTION", "sa", "");
  doble.fallosAbrir.push_back(Fallo{db::err::kUnspecified, "08001", 17, "No existe el servidor"});
  e.prompt.Answer(kNo);
  db.OpenServerADODB(false, 3, "", false, true);
  EXPECT_FALSE(db.gOpenFlag);
  ASSERT_EQ(e.prompt.prompts().size(), 1u);
  const auto& p = e.prompt.prompts()[0];
  EXPECT_EQ(p.title, " Error de Conexion a Base de Datos");
  EXPECT_EQ(p.buttons, ui::buttons::kYesNo);
  EXPECT_EQ(p.icon, ui::icon::kCritical);
  EXPECT_EQ(p.defaultButton, 0);
  EXPECT_EQ(p.text,
            " Estado de Sql: 08001\rNumero de Error: -2147467259\rDescripcion: No existe el "
            "servidor\rCodigo Nativo: 17\r\r\nNombre de Proceso: ferolin\r\r\n\r\n1. Verifique el "
            "Usuario, contraseña y base de datos\r\n2. Verifique el nombre del servidor, quizas "
            "necesite agregarle el nombre de la instancia, por ejemplo : SRV01\\TARVEX\r\n3. "
            "Verifique si el inicio de sesion para el usuario sa existe\r\n\r\n\r\n - Desea "
            "Intentarlo Nuevamente??? ");
}

TEST(OpenServerADODB, SiReintentaPideDatosNuevosYVuelveAAbrir) {
  using D = DialogoConexion::Datos;
  struct Caso {
    std::optional<D> respuesta;
    bool abierta;
    std::size_t intentos;
  } casos[] = {{D{"SRV02", "GESTION", "ana", "pw", 0}, true, 2}, {std::nullopt, false, 1}};
  for (const auto& c : casos) {
    Entorno e;
    DialogoGuionado dialogo;
    dialogo.respuestas.push_back(c.respuesta);
    e.ctx.dialogoConexion = &dialogo;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    Datos(db, "SRV01", "GESTION", "sa", "");
    doble.fallosAbrir.push_back(Fallo{db::err::kUnspecified, "08001", 17, "sin servidor"});
    e.prompt.Answer(kYes);
    db.OpenServerADODB(false, 3, "", false, true);
    EXPECT_EQ(db.gOpenFlag, c.abierta);
    EXPECT_TRUE(doble.Errors().Empty());
    EXPECT_EQ(doble.registro.size(), c.intentos);
    EXPECT_GE(dialogo.ocultado, 1);
    if (c.abierta) {
      EXPECT_EQ(doble.registro.back(),
                "open PROVIDER=SQLOLEDB;Server=SRV02;Database =GESTION;UId=ana;Pwd=pw; ||");
    }
  }
}

TEST(OpenServerADODB, FallaSinErroresDelProveedor) {
  // Shown as a plain message when reporting, silent otherwise.
  for (bool muestra : {true, false}) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    Datos(db, "SRV01", "GESTION", "sa", "");
    doble.fallosAbrir.push_back(Fallo{3706, "-", 0, "Proveedor no encontrado"});
    if (muestra) e.prompt.Answer(ui::answer::kOk);
    db.OpenServerADODB(false, 3, "", false, muestra);
    EXPECT_FALSE(db.gOpenFlag);
    if (muestra) {
      ASSERT_EQ(e.prompt.prompts().size(), 1u);
      EXPECT_EQ(e.prompt.prompts()[0].text, "Proveedor no encontrado");
      EXPECT_EQ(e.prompt.prompts()[0].style, 0);
      EXPECT_EQ(e.prompt.prompts()[0].title, "ferolin");
    }
  }
}

TEST(OpenServerADODB, UnaConexionYaAbiertaSeCierraYReabreUnaVez) {
  TestDatabase base;
  for (bool muestra : {true, false}) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    Datos(db, "SQLITE", "TEST", "sa", "");
    db.OpenServerADODB(false, 3, "", false, muestra);
    ASSERT_TRUE(db.gOpenFlag);
    auto& doble = e.Doble(db, false);
    db.OpenServerADODB(false, 3, "", false, muestra);
    EXPECT_TRUE(db.gOpenFlag);
    EXPECT_TRUE(db.gCnn().IsOpen());
    const std::string abrir = "open " + base.connectionString() + " ||";
    EXPECT_EQ(doble.registro, (std::vector<std::string>{abrir, "close", abrir}));
  }
  // A second 3705 in a row is not retried again.
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  auto& doble = e.Doble(db, true);
  doble.fallosAbrir = {Fallo{db::err::kAlreadyOpen, "-"}, Fallo{db::err::kAlreadyOpen, "-"}};
  db.OpenServerADODB(false, 3, "", false, false);
  EXPECT_FALSE(db.gOpenFlag);
  EXPECT_EQ(doble.registro.size(), 3u);  // open, close, open
}

TEST(OpenServerADODB, BaseInexistenteEnSqlite) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  Datos(db, "SQLITE", "NOEXISTE", "sa", "");
  e.prompt.Answer(kNo);
  db.OpenServerADODB();
  EXPECT_FALSE(db.gOpenFlag);
  ASSERT_EQ(e.prompt.prompts().size(), 1u);
  EXPECT_EQ(e.prompt.prompts()[0].title, " Error de Conexion a Base de Datos");
}

TEST(ReintentaConectar, ReabreConElUsuarioDeGDBYTiempoCorto) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  Datos(db, "SQLITE", "TEST", "sa", "");
  db.OpenServerADODB(false, 3, "", false);
  ASSERT_TRUE(db.gOpenFlag);
  db.gUserPassWord = "clave";
  auto& doble = e.Doble(db, false);
  db.ReintentaConectar();
  EXPECT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gCnn().CommandTimeout(), 5);
  EXPECT_TRUE(db.gCnn().IsOpen());
  EXPECT_EQ(doble.registro,
            (std::vector<std::string>{"close", "open " + base.connectionString() + " |sa|clave"}));
}

TEST(ReintentaConectar, FallasSegunLaRespuesta) {
  struct Caso {
    long numero;
    std::optional<int> respuesta;  // none: no report expected
    bool abierta;
    std::size_t aperturas;
  } casos[] = {
      {db::err::kUnspecified, std::nullopt, false, 1},
      {-2147217843, kRetry, true, 2},
      {-2147217843, kIgnore, true, 1},
      {-2147217843, kAbort, false, 1},
  };
  for (const auto& c : casos) {
    Entorno e;
    DB_Dll& db = e.ctx.gDB();
    auto& doble = e.Doble(db, true);
    doble.cadena = "PROVIDER=SQLOLEDB;Server=SRV01;";
    doble.fallosAbrir.push_back(Fallo{c.numero, "28000", 18456, "Login failed "});
    if (c.respuesta) e.prompt.Answer(*c.respuesta);
    db.ReintentaConectar();
    EXPECT_EQ(db.gOpenFlag, c.abierta) << c.numero;
    std::size_t aperturas = 0;
    for (const auto& r : doble.registro) aperturas += r.rfind("open", 0) == 0;
    EXPECT_EQ(aperturas, c.aperturas);
    if (c.respuesta) {
      ASSERT_EQ(e.prompt.prompts().size(), 1u);
      EXPECT_EQ(e.prompt.prompts()[0].title,
                "Proveedor - AbrirRecordset Aviso al operador!!! - 5 ");
      EXPECT_EQ(e.prompt.prompts()[0].text,
                "Ha ocurrido el Siguiente Error (-2147217843) Login failed");
      EXPECT_EQ(e.prompt.prompts()[0].style, 18);
    }
  }
}

}  // namespace
}  // namespace ferolin::testing
