// The start-up against a demo database, and the access-log row of each run.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "lookup/lib_cls_cons3.h"
#include "outside/sistema.h"
#include "platform/db/connection.h"
#include "platform/os/environment.h"
#include "startup/iniciar_programa.h"
#include "startup/servicios.h"
#include "tests/startup/entorno_prueba.h"

namespace ferolin {
namespace {

using testing::EntornoPrueba;
using testing::LineaPrueba;

bool Iniciar(ContextoPrograma& ctx, const std::string& linea, bool usarIni = false) {
  std::string conn;
  return IniciarPrograma(ctx, usarIni, linea, conn, 3);
}

const std::regex kFechaHora(R"(\d\d/\d\d/\d\d \d\d:\d\d)");

TEST(IniciarPrograma, ConectaAjustaLaConexionYArrancaLosServicios) {
  EntornoPrueba e;
  auto& ctx = *e.ctx;
  ASSERT_TRUE(Iniciar(ctx, LineaPrueba("OPERADOR", " @Menu=M1; @ParametroAdicional=X;")));

  auto& db = ctx.gDB();
  EXPECT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gServidor, "SQLITE");
  EXPECT_EQ(db.gDBName, "TEST");
  EXPECT_EQ(ctx.gUsuarioLogeado, "OPERADOR");
  EXPECT_EQ(ctx.gCaja, "1");
  EXPECT_EQ(ctx.gMenu, "M1");
  // First occurrence wins: the suite's empty @ParametroAdicional comes first.
  EXPECT_EQ(ctx.gParametroAdicional, "");
  EXPECT_EQ(ctx.gFlatToolbars, 1);

  // Time-out from the statistics database (demo value 120), read uncommitted.
  EXPECT_EQ(ctx.gTimeOut, 120);
  EXPECT_EQ(db.gCnn().CommandTimeout(), 120);
  EXPECT_EQ(db.gCnn().IsolationLevel(), db::isolation::kReadUncommitted);
  EXPECT_TRUE(ctx.gDBEstadisticas().gOpenFlag);

  // Lookup service and masks file.
  auto& consultas = ctx.servicioConsultas();
  EXPECT_EQ(consultas.gConnString, db.gConnString);
  EXPECT_TRUE(consultas.gUsarMascarasConsultas);
  EXPECT_EQ(consultas.gRutaMascaraConsultas, e.base.folderWithSlash() + "consultas.kvt");
  EXPECT_EQ(std::filesystem::file_size(consultas.gRutaMascaraConsultas), 11u * 1202u);
  EXPECT_EQ(ctx.tarvex.CarpetaPrograma, e.base.folderWithSlash());

  // Configuration loaded: the demo turns on SS_CONFIDENCIALIDAD.
  EXPECT_TRUE(ctx.configuracion.cargada);
  EXPECT_TRUE(ctx.confidencialidad);

  // One access-log row in the documented forms, the exit still open.
  const auto filas = e.base.query(
      "SELECT ID, Maquina, Usuario, Formulario, Tarea, Ingreso, Egreso, NombreUsuario "
      "FROM Control_Acceso");
  ASSERT_EQ(filas.size(), 1u);
  const auto& f = filas[0];
  EXPECT_EQ(std::stol(*f[0]), ctx.gIdAcceso);
  EXPECT_EQ(*f[1], texto::MayusculasUnicode(texto::Recortar(ctx.tarvex.sistema().NombreEquipo())));
  EXPECT_EQ(*f[2], "OPERADOR");
  EXPECT_EQ(*f[3], "FEROLIN");
  EXPECT_EQ(*f[4], "DECRETO 603/2019 - TASA CERO");
  EXPECT_TRUE(std::regex_match(*f[5], kFechaHora)) << *f[5];
  EXPECT_FALSE(f[6].has_value());
  EXPECT_EQ(*f[7], "OPERADOR");

  FinalizarPrograma(ctx);
  const auto egreso = e.base.query("SELECT Egreso FROM Control_Acceso");
  ASSERT_TRUE(egreso[0][0].has_value());
  EXPECT_TRUE(std::regex_match(*egreso[0][0], kFechaHora)) << *egreso[0][0];
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(IniciarPrograma, SinLineaTomaLaDelProceso) {
  EntornoPrueba e;
  e.ctx->lineaComandoProceso = [] { return LineaPrueba("SUPERVISOR", " @Caja=9;"); };
  ASSERT_TRUE(Iniciar(*e.ctx, ""));
  EXPECT_EQ(e.ctx->gDB().gUsuario, "SUPERVISOR");
  // @Caja=1 of the suite's string comes first.
  EXPECT_EQ(e.ctx->gCaja, "1");
  EXPECT_TRUE(e.ctx->gDB().gEsAdmin);
}

TEST(IniciarPrograma, SinServidorNiDialogoTerminaSinVentanaNiRegistro) {
  const std::pair<const char*, const char*> casos[] = {
      {"blanca", ""},
      {"sin servidor", "@server=; @dbname=TEST; @usuario=sa;mirk@"},
      {"sin usuario", "@server=SQLITE; @dbname=TEST; @usuario= ;mirk@"},
      {"ultimo sin punto y coma", "@dbname=TEST; @usuario=sa; @server=SQLITE"},
  };
  for (const auto& [nombre, linea] : casos) {
    SCOPED_TRACE(nombre);
    EntornoPrueba e;
    ::testing::internal::CaptureStderr();
    const bool abierto = Iniciar(*e.ctx, linea);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(abierto);
    EXPECT_FALSE(e.ctx->gDB().gOpenFlag);
    EXPECT_NE(err.find("falta el servidor o el usuario"), std::string::npos) << err;
    EXPECT_EQ(e.base.scalar("SELECT COUNT(*) FROM Control_Acceso"), "0");
    EXPECT_FALSE(std::filesystem::exists(e.base.folder() / "consultas.kvt"));
  }
}

// The operating-system user comes from $USER: a long one shows that the
// workstation section is cut to 50 characters and the database section is not.
struct UsuarioDelSistema {
  explicit UsuarioDelSistema(const std::string& nombre) : anterior(os::GetEnv("USER")) {
    os::SetEnv("USER", nombre);
  }
  ~UsuarioDelSistema() {
    if (anterior.empty()) {
      os::UnsetEnv("USER");
    } else {
      os::SetEnv("USER", anterior);
    }
  }
  std::string anterior;
};

TEST(IniciarPrograma, ArmaLaLineaDesdeElArchivoDeConfiguracion) {
  UsuarioDelSistema usuario(std::string(60, 'u'));
  EntornoPrueba e;
  auto& ctx = *e.ctx;
  auto& util = ctx.tarvex.utilidades();
  const std::string puesto =
      texto::MayusculasUnicode(ctx.tarvex.sistema().NombreEquipo()) + "|" + std::string(60, 'U');
  {
    // Any letter case of the file name is the same settings file.
    std::ofstream ini(e.base.folder() / "qUADREL.ini");
    ini << "[" << texto::Primeros(puesto, 50) << "]\r\nFlatToolbars=0\r\n"
        << "[" << puesto << "BaseDeDatos]\r\nServidor=SQLITE\r\nDbName=TEST\r\n"
        << "Usuario=" << util.Codificar("SUPERVISOR") << "\r\n"
        << "UserPassWord=" << util.Codificar("x|y") << "\r\n";
  }
  ASSERT_TRUE(Iniciar(ctx, "", true));
  EXPECT_EQ(ctx.gDB().gUsuario, "SUPERVISOR");
  EXPECT_EQ(ctx.gDB().gUserPassWord, "xy");
  EXPECT_EQ(ctx.gCaja, "1");
  EXPECT_EQ(ctx.gFlatToolbars, 0);
  EXPECT_EQ(ctx.gSeccionPuesto, texto::Primeros(puesto, 50));
}

// The connection dialog answers for a blank command line.
class DialogoGuionado : public DialogoConexion {
 public:
  explicit DialogoGuionado(std::optional<Datos> respuesta) : respuesta_(std::move(respuesta)) {}
  std::optional<Datos> Pedir(const Datos& iniciales) override {
    ++veces;
    vistos = iniciales;
    return respuesta_;
  }
  int veces = 0;
  Datos vistos;

 private:
  std::optional<Datos> respuesta_;
};

TEST(IniciarPrograma, SinDatosPideLaConexionAlOperador) {
  {
    EntornoPrueba e;
    DialogoGuionado dialogo(DialogoConexion::Datos{"SQLITE", "TEST", "OPERADOR", "", 0});
    e.ctx->dialogoConexion = &dialogo;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(Iniciar(*e.ctx, ""));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(dialogo.veces, 1);
    EXPECT_EQ(dialogo.vistos.servidor, "");
    EXPECT_EQ(e.ctx->gCaja, "1");
    EXPECT_EQ(e.ctx->gUsuarioLogeado, "OPERADOR");
    EXPECT_EQ(e.base.scalar("SELECT COUNT(*) FROM Control_Acceso"), "1");
  }
  {
    EntornoPrueba e;
    DialogoGuionado cancelado(std::nullopt);
    e.ctx->dialogoConexion = &cancelado;
    EXPECT_FALSE(Iniciar(*e.ctx, "@server=SQLITE; @dbname=TEST; @usuario=;mirk@"));
    EXPECT_EQ(cancelado.vistos.dbName, "TEST");
    EXPECT_EQ(e.base.scalar("SELECT COUNT(*) FROM Control_Acceso"), "0");
    EXPECT_TRUE(e.prompt.prompts().empty());
  }
}

TEST(IniciarPrograma, ArchivoSinSeccionDaElUsuarioPorDefectoYPideServidor) {
  EntornoPrueba e;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Iniciar(*e.ctx, "", true));
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(e.ctx->gDB().gUsuario, "Korvant");
  EXPECT_EQ(e.ctx->gDB().gUserPassWord, "pelmora");
  EXPECT_EQ(e.ctx->gDB().gServidor, "");
}

TEST(IniciarPrograma, ConConexionAbiertaSoloArrancaLosServicios) {
  EntornoPrueba e;
  e.Conectar("SUPERVISOR");
  ASSERT_TRUE(Iniciar(*e.ctx, "@server=OTRO; @usuario=nadie;mirk@"));
  EXPECT_EQ(e.ctx->gDB().gServidor, "SQLITE");
  EXPECT_EQ(e.ctx->gUsuarioLogeado, "SUPERVISOR");
  EXPECT_EQ(e.base.scalar("SELECT COUNT(*) FROM Control_Acceso"), "1");
}

// Two runs in a row each close their own row; an older open row of another
// run on the same workstation is left alone.
TEST(RegistroAcceso, CadaEjecucionCierraSuPropiaFila) {
  EntornoPrueba e;
  e.base.exec(
      "INSERT INTO Control_Acceso (Maquina, Usuario, Formulario, Tarea, Ingreso) "
      "VALUES ('OTRA', 'OPERADOR', 'FEROLIN', '', '01/01/20 10:00')");
  ASSERT_TRUE(Iniciar(*e.ctx, LineaPrueba()));
  const long primera = e.ctx->gIdAcceso;
  FinalizarPrograma(*e.ctx);

  e.NuevoContexto();
  ASSERT_TRUE(Iniciar(*e.ctx, LineaPrueba()));
  const long segunda = e.ctx->gIdAcceso;
  EXPECT_NE(primera, segunda);
  FinalizarPrograma(*e.ctx);

  const auto filas = e.base.query("SELECT ID, Egreso FROM Control_Acceso ORDER BY ID");
  ASSERT_EQ(filas.size(), 3u);
  EXPECT_FALSE(filas[0][1].has_value());
  EXPECT_EQ(std::stol(*filas[1][0]), primera);
  EXPECT_TRUE(filas[1][1].has_value());
  EXPECT_EQ(std::stol(*filas[2][0]), segunda);
  EXPECT_TRUE(filas[2][1].has_value());
}

TEST(RegistroAcceso, SalidaRechazadaSeAvisa) {
  EntornoPrueba e;
  ASSERT_TRUE(Iniciar(*e.ctx, LineaPrueba()));
  e.base.exec(
      "CREATE TRIGGER bloqueo BEFORE UPDATE ON Control_Acceso "
      "BEGIN SELECT RAISE(ABORT, 'salida bloqueada'); END;");
  e.prompt.Answer(1);
  FinalizarPrograma(*e.ctx);
  ASSERT_EQ(e.prompt.prompts().size(), 1u);
  const auto& p = e.prompt.prompts()[0];
  EXPECT_NE(p.text.find("salida bloqueada"), std::string::npos) << p.text;
  EXPECT_EQ(p.buttons, 0);
  EXPECT_EQ(p.icon, 0);
}

struct CasoTarea {
  const char* usuario;
  const char* tarea;
};

TEST(RegistroAcceso, TareaSegunLosPermisosDelUsuario) {
  const CasoTarea casos[] = {
      {"OPERADOR", "DECRETO 603/2019 - TASA CERO"},  // its menu entry
      {"CAJERO", ""},                                // no rights for this program
      {"TEST", "FEROLIN"},                           // user named like the database
      {"Supervisor Korvant MC", "FEROLIN"},
      {"O'Hara", ""},  // an apostrophe in the name changes no statement
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.usuario);
    EntornoPrueba e;
    e.Conectar(c.usuario);
    RegistrarIngreso(*e.ctx, "");
    const auto filas = e.base.query("SELECT Tarea, Usuario, NombreUsuario FROM Control_Acceso");
    ASSERT_EQ(filas.size(), 1u);
    EXPECT_EQ(*filas[0][0], c.tarea);
    std::string sinApostrofe = texto::MayusculasUnicode(c.usuario);
    std::erase(sinApostrofe, '\'');
    EXPECT_EQ(*filas[0][1], sinApostrofe);
    std::string nombre = c.usuario;
    std::erase(nombre, '\'');
    EXPECT_EQ(*filas[0][2], nombre);
    EXPECT_TRUE(e.prompt.prompts().empty());
  }
}

TEST(RegistroAcceso, SinTablasDeRegistroNoAvisaNiDetiene) {
  EntornoPrueba e;
  e.base.exec("DROP TABLE Control_Acceso; DROP TABLE AUX_ERR;");
  std::filesystem::remove(e.base.statsFile());
  ASSERT_TRUE(Iniciar(*e.ctx, LineaPrueba()));
  EXPECT_EQ(e.ctx->gIdAcceso, 0);
  EXPECT_EQ(e.ctx->gTimeOut, 360);
  EXPECT_FALSE(std::filesystem::exists(e.base.statsFile()));
  FinalizarPrograma(*e.ctx);
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(FormatosFecha, DiaMesAnioHoraMinuto) {
  EXPECT_TRUE(std::regex_match(FormatoFechaHora(), kFechaHora));
  EXPECT_TRUE(std::regex_match(FormatoFecha(), std::regex(R"(\d\d/\d\d/\d\d)")));
  EXPECT_TRUE(std::regex_match(FormatoHora(), std::regex(R"(\d\d:\d\d)")));
}

}  // namespace
}  // namespace ferolin
