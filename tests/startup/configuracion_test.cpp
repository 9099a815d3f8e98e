// The configuration store and the statistics connection.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "data_access/db_dll.h"
#include "platform/db/connection.h"
#include "startup/servicios.h"
#include "tests/startup/entorno_prueba.h"

namespace ferolin {
namespace {

using testing::EntornoPrueba;
using testing::TestDatabase;

TEST(Cfg, LeeUnaClave) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  std::string aux = "sin tocar";
  EXPECT_EQ(Cfg(*e.ctx, "CLAVE", aux), "");  // no connection: nothing read
  EXPECT_EQ(aux, "sin tocar");

  e.Conectar();
  e.base.exec(
      "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR, ValorAux) VALUES "
      "('G', 'COLOR', 'rojo', 'aux'), ('G', 'NULO', NULL, NULL), ('G', 'THEME', '  ', ''), "
      "('G', 'O''BRIEN', 'con apostrofe', ''), ('G', '[FECHA DESDE]', '01/01/20', '')");
  EXPECT_EQ(Cfg(*e.ctx, "  color ", aux), "rojo");
  EXPECT_EQ(aux, "aux");
  EXPECT_EQ(e.ctx->gTablaConfiguracion, "TA_CONFIGURACION");
  EXPECT_EQ(Cfg(*e.ctx, "NULO", aux), "");
  EXPECT_EQ(Cfg(*e.ctx, "FALTA", aux), " ");
  EXPECT_EQ(aux, "");
  EXPECT_EQ(Cfg(*e.ctx, "theme", aux), "1");
  EXPECT_EQ(Cfg(*e.ctx, "O'BRIEN", aux), "con apostrofe");
  EXPECT_EQ(Cfg(*e.ctx, "[fecha desde]", aux), "01/01/20");
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(Cfg, UnaLecturaFallidaSeInformaConSuNombre) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  e.ctx->gTablaConfiguracion = "NO_EXISTE";
  e.prompt.requireAllUsed = false;
  // Whatever the data-access report asks is aborted; Cfg's own report names it.
  for (int i = 0; i < 4; ++i) e.prompt.Answer(3);
  std::string aux;
  EXPECT_EQ(Cfg(*e.ctx, "CLAVE", aux), "");
  bool nombrada = false;
  for (const auto& p : e.prompt.prompts()) {
    if (p.title.find("- Cfg ") != std::string::npos) nombrada = true;
  }
  EXPECT_TRUE(nombrada);
}

struct CasoBandera {
  const char* clave;
  std::optional<std::string> valor;  // nullopt: key missing
  bool esperado;
  std::function<bool(const ValoresConfiguracion&)> leer;
};

#define BANDERA(campo) [](const ValoresConfiguracion& c) { return c.campo; }

TEST(CargarConfiguracion, BanderasSegunSuRegla) {
  const auto si = BANDERA(UsaConsultaLike);
  const auto siRecortado = BANDERA(VALIDACODIGOBARRA);
  const auto noEsNo = BANDERA(ModuloOrdenDeTrabajo);
  const auto vacioONo = BANDERA(MADERERA);
  const std::vector<CasoBandera> casos = {
      {"UsaConsultaLike", std::nullopt, false, si},
      {"UsaConsultaLike", "", false, si},
      {"UsaConsultaLike", "si", true, si},
      {"UsaConsultaLike", "NO", false, si},
      {"UsaConsultaLike", "TAL VEZ", false, si},
      {"UsaConsultaLike", " SI", false, si},
      {"VALIDACODIGOBARRA", " SI ", true, siRecortado},
      {"VALIDACODIGOBARRA", std::nullopt, false, siRecortado},
      {"ModuloOrdenDeTrabajo", std::nullopt, true, noEsNo},
      {"ModuloOrdenDeTrabajo", "", true, noEsNo},
      {"ModuloOrdenDeTrabajo", "SI", true, noEsNo},
      {"ModuloOrdenDeTrabajo", " no ", false, noEsNo},
      {"ModuloOrdenDeTrabajo", "X", true, noEsNo},
      {"MADERERA", std::nullopt, false, vacioONo},
      {"MADERERA", "", false, vacioONo},
      {"MADERERA", "SI", true, vacioONo},
      {"MADERERA", "No", false, vacioONo},
      {"MADERERA", "X", true, vacioONo},
      {"PideClave_StockNeg", "X", true, BANDERA(PideClave_StockNeg)},
      {"SS_BloqueoActivo", "Si", true, BANDERA(SS_BloqueoActivo)},
      {"SS_CONFIDENCIALIDAD", "SI", true, BANDERA(SS_CONFIDENCIALIDAD)},
      {"SS_CONFIDENCIALIDAD", "NO", false, BANDERA(SS_CONFIDENCIALIDAD)},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.clave) + " = " + (c.valor ? "'" + *c.valor + "'" : "(falta)"));
    EntornoPrueba e(TestDatabase::Datos::Vacia);
    e.Conectar();
    if (c.valor) {
      e.base.exec("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('G', '" +
                  std::string(c.clave) + "', '" + *c.valor + "')");
    }
    CargarConfiguracion(*e.ctx, e.base.folderWithSlash());
    EXPECT_EQ(c.leer(e.ctx->configuracion), c.esperado);
    if (std::string(c.clave) == "SS_CONFIDENCIALIDAD") {
      EXPECT_EQ(e.ctx->confidencialidad, c.esperado);
    }
  }
}

TEST(CargarConfiguracion, ValoresPorDefectoYConversiones) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar("OPERADOR");
  CargarConfiguracion(*e.ctx, "/prog/");
  const auto& c = e.ctx->configuracion;
  EXPECT_TRUE(c.cargada);
  EXPECT_EQ(e.ctx->gTablaConfiguracion, "ta_configuracion");
  EXPECT_EQ(c.Top_Default, "1000");
  EXPECT_EQ(c.CONDIVAEMPRESA, 1);
  EXPECT_EQ(c.UnidadNegocio, "   1");
  EXPECT_EQ(c.DocumentoTareas, "/prog/KVDOCTareas.kvt");
  EXPECT_EQ(e.ctx->gColorFondoEdicion, 0xFFFF00u);
  EXPECT_EQ(e.ctx->gColorTextoEdicion, 0u);

  EntornoPrueba f(TestDatabase::Datos::Vacia);
  f.Conectar("OPERADOR");
  f.ctx->gUsuarioLogeado = "OPERADOR";
  f.base.exec(
      "INSERT INTO TA_USUARIOS (Nombre, UNegocio, verproforma) VALUES ('OPERADOR', '   2', 0);"
      "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES "
      "('G', 'CFondo', '12632256'), ('G', 'CLetra', '255'), ('G', 'PERIODO', '2.5'), "
      "('G', 'CONDIVAEMPRESA', '0'), ('G', 'CONDIVA', '3'), ('G', 'Top_Default', ' 50 '), "
      "('G', 'MaxDto', ' 12,34567 '), ('G', 'TituloClientes', '  Clientes  '), "
      "('G', 'UsaFacturaProforma', 'SI')");
  CargarConfiguracion(*f.ctx, "/prog/");
  const auto& d = f.ctx->configuracion;
  EXPECT_EQ(f.ctx->gColorFondoEdicion, 12632256u);
  EXPECT_EQ(f.ctx->gColorTextoEdicion, 255u);
  EXPECT_EQ(d.PERIODO, 2);  // half to even
  EXPECT_EQ(d.CONDIVAEMPRESA, 3);
  EXPECT_EQ(d.Top_Default, " 50 ");
  EXPECT_DOUBLE_EQ(d.MaxDto, 12.3457);
  EXPECT_EQ(d.TituloClientes, "Clientes");
  EXPECT_EQ(d.UnidadNegocio, "   2");
  EXPECT_FALSE(d.UsaFacturaProforma);  // the user's verproforma rules
  EXPECT_TRUE(f.prompt.prompts().empty());
}

TEST(GrabaCfgKV, CreaOActualizaLaClave) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  AbrirEstadisticas(*e.ctx);
  ASSERT_TRUE(e.ctx->gDBEstadisticas().gOpenFlag);
  e.ctx->gTablaConfiguracion = "TA_CONFIGURACION";

  GrabaCfgKV(*e.ctx, " nueva ", "  valor  ", "  aux ", true, "Grupo1", true);
  auto filas = e.base.queryStats(
      "SELECT GRUPO, CLAVE, VALOR, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION "
      "WHERE CLAVE = 'NUEVA'");
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(*filas[0][0], "Grupo1");
  EXPECT_EQ(*filas[0][1], "NUEVA");
  EXPECT_EQ(*filas[0][2], "valor");
  EXPECT_EQ(*filas[0][3], "aux");
  EXPECT_EQ(*filas[0][4], "1");

  // The key as given (untrimmed) finds the row again; ValorAux kept when not given.
  GrabaCfgKV(*e.ctx, "NUEVA", " otro ", "", false, "Grupo2", false);
  filas = e.base.queryStats(
      "SELECT GRUPO, VALOR, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION "
      "WHERE CLAVE = 'NUEVA'");
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(*filas[0][0], "Grupo2");
  EXPECT_EQ(*filas[0][1], " otro ");
  EXPECT_EQ(*filas[0][2], "aux");
  EXPECT_EQ(*filas[0][3], "0");

  std::string aux;
  EXPECT_EQ(CfgKV(*e.ctx, "nueva", aux), " otro ");
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(AbrirEstadisticas, TiempoDeEsperaDeLaBaseDeEstadisticas) {
  struct Caso {
    const char* nombre;
    std::optional<std::string> timeout;  // nullopt: key missing
    int esperado;
  };
  const Caso casos[] = {
      {"noventa", "90", 90},   {"falta la clave", std::nullopt, 360},
      {"cero", "0", 360},      {"no numerica", "mucho", 360},
      {"negativa", "-5", 360}, {"fuera de rango", "99999999", 360},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    EntornoPrueba e(TestDatabase::Datos::Vacia);
    e.Conectar();
    if (c.timeout) {
      e.base.execStats(
          "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES "
          "('BaseDeDatos', 'TimeOut', '" +
          *c.timeout + "')");
    }
    AbrirEstadisticas(*e.ctx);
    EXPECT_EQ(e.ctx->gTimeOut, c.esperado);
    auto& est = e.ctx->gDBEstadisticas();
    EXPECT_TRUE(est.gOpenFlag);
    EXPECT_EQ(est.gDBName, "KV_ESTADISTICAS");
    EXPECT_EQ(est.gUsuario, "KV_ESTADISTICAS");
    EXPECT_EQ(est.gUserPassWord, "QT_MIRANDOLESCA");
    if (!c.timeout) {
      const auto filas = e.base.queryStats(
          "SELECT CLAVE, VALOR, GRUPO FROM TA_CONFIGURACION WHERE CLAVE = 'TIMEOUT'");
      ASSERT_EQ(filas.size(), 1u);
      EXPECT_EQ(*filas[0][0], "TIMEOUT");
      EXPECT_EQ(*filas[0][1], "0");
      EXPECT_EQ(*filas[0][2], "BaseDeDatos");
    }
    EXPECT_TRUE(e.prompt.prompts().empty());
  }
}

TEST(AbrirEstadisticas, SinBaseDeEstadisticasNoAvisaYReabre) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  AbrirEstadisticas(*e.ctx);
  ASSERT_TRUE(e.ctx->gDBEstadisticas().gOpenFlag);
  // A second call closes and reopens.
  AbrirEstadisticas(*e.ctx);
  EXPECT_TRUE(e.ctx->gDBEstadisticas().gOpenFlag);

  e.NuevoContexto();
  e.Conectar();
  std::filesystem::remove(e.base.statsFile());
  AbrirEstadisticas(*e.ctx);
  EXPECT_FALSE(e.ctx->gDBEstadisticas().gOpenFlag);
  EXPECT_EQ(e.ctx->gTimeOut, 360);
  EXPECT_FALSE(std::filesystem::exists(e.base.statsFile()));
  EXPECT_TRUE(e.prompt.prompts().empty());
}

}  // namespace
}  // namespace ferolin
