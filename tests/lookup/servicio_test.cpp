// The statements the lookup service builds, and whole lookups through it.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QTableView>
#include <QTest>

#include "lookup/lib_frm_cons3.h"
#include "lookup/mascaras.h"
#include "lookup/modelo_consulta.h"
#include "tests/lookup/apoyo.h"

namespace ferolin::testing {
namespace {

struct CasoSentencia {
  const char* nombre;
  std::string sql;
  bool mascaras;
  std::string campoBusqueda;
  std::string where;
  std::string opcional;
  std::string top;  // TopConsArt; empty leaves it unset
  std::string esperado;
  std::string campoBusquedaFinal;
  std::string whereFinal;
};

class ServicioSentencias : public ::testing::Test {
 protected:
  void SetUp() override {
    env.db.exec(
        "CREATE TABLE T_TRES (CODIGO VARCHAR(10), NOMBRE VARCHAR(30), CUIT VARCHAR(13));"
        "CREATE TABLE v_mv_mutuales (ID INTEGER, CODIGO VARCHAR(5));"
        "CREATE TABLE T_ID (ID INTEGER, FECHAHORA_GRABACION VARCHAR(20), DETALLE VARCHAR(20), "
        "MONTO INTEGER);");
    EscribirMascarasPorDefecto(env.db.folderWithSlash() + "consultas.kvt");
    RegMascara una;
    una.Titulo = "UNA";
    una.Tabla = "T_UNA";
    una.Campos = "|SOLA|";
    AgregarMascara(env.db.folderWithSlash() + "consultas.kvt", una);
    RegMascara filtrada;
    filtrada.Tabla = "T_FILTRO";
    filtrada.Campos = "|A|B|";
    filtrada.Filtro = "B > 2";
    AgregarMascara(env.db.folderWithSlash() + "consultas.kvt", filtrada);
  }
  EntornoConsulta env;
};

TEST_F(ServicioSentencias, TextosDeLasSentencias) {
  const std::string clientes =
      "SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES WHERE IVA = '   1' OR IVA = '1' ORDER BY "
      "RAZON_SOCIAL";
  const CasoSentencia casos[] = {
      {"main window statement", clientes, true, "", "", "", "", clientes, "", ""},
      {"select with a bare condition", "SELECT CODIGO FROM MA_CUENTAS", false, "", "IVA = 1", "",
       "", "SELECT CODIGO FROM MA_CUENTAS WHERE  (IVA = 1) ", "", " WHERE  (IVA = 1) "},
      {"condition in parentheses", "SELECT CODIGO FROM MA_CUENTAS", false, "", "(X=1)", "", "",
       "SELECT CODIGO FROM MA_CUENTAS WHERE (X=1)", "", " WHERE (X=1)"},
      {"one-character condition", "SELECT CODIGO FROM MA_CUENTAS", false, "", "X", "", "",
       "SELECT CODIGO FROM MA_CUENTAS WHERE X", "", " WHERE X"},
      {"condition with its WHERE", "SELECT CODIGO FROM MA_CUENTAS", false, "", "WHERE X=1", "", "",
       "SELECT CODIGO FROM MA_CUENTAS (WHERE X=1) ", "", " (WHERE X=1) "},
      {"article view renamed", "SELECT * FROM V_MA_ARTICULOS", false, "", "", "", "",
       "SELECT * FROM VT_MA_ARTICULOS", "", ""},
      {"mask of customers", "vt_clientes", true, "", "", "", "",
       "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES  with(nolock)  WHERE "
       "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
       "RAZON_SOCIAL", ""},
      {"mask with TopConsArt", "VT_CLIENTES", true, "", "", "", "50",
       "SELECT TOP 50 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES  with(nolock)  WHERE "
       "Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL",
       "RAZON_SOCIAL", ""},
      {"mask with a non-numeric TopConsArt", "MA_CUENTAS", true, "", "", "", "abc",
       "SELECT TOP 1000 DESCRIPCION,CODIGO FROM MA_CUENTAS  with(nolock)  ORDER BY DESCRIPCION",
       "DESCRIPCION", ""},
      {"mask of articles", "V_MA_ARTICULOS", true, "", "", "", "",
       "SELECT TOP 1000 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS  with(nolock)  WHERE "
       "SUSPENDIDO = 0 ORDER BY DESCRIPCION",
       "DESCRIPCION", ""},
      {"mask with the caller's condition and column", "MA_CUENTAS", true, "CODIGO", "TIPO = 'I'",
       "", "",
       "SELECT TOP 1000 DESCRIPCION,CODIGO FROM MA_CUENTAS  with(nolock)  WHERE  (TIPO = 'I')  "
       "ORDER BY CODIGO",
       "CODIGO", " (TIPO = 'I') "},
      {"mask with its own filter", "T_FILTRO", true, "", "Z = 1", "", "",
       "SELECT TOP 1000 A,B FROM T_FILTRO  with(nolock)  WHERE B > 2 ORDER BY A", "A", " (Z = 1) "},
      {"single-column mask with a search column", "T_UNA", true, "SOLA", "", "", "",
       "SELECT TOP 1000 SOLA FROM T_UNA  with(nolock)  ORDER BY SOLA", "SOLA", ""},
      {"automatic query", "T_TRES", false, "", "", "", "",
       "SELECT TOP 1000 CUIT,NOMBRE,CODIGO FROM T_TRES  ORDER BY NOMBRE", "NOMBRE", ""},
      {"automatic query with a condition", "T_TRES", true, "", "CUIT <> ''", "", "20",
       "SELECT TOP 20 CUIT,NOMBRE,CODIGO FROM T_TRES WHERE   (CUIT <> '')  ORDER BY NOMBRE",
       "NOMBRE", " (CUIT <> '') "},
      {"key fields are skipped", "T_ID", false, "", "", "", "",
       "SELECT TOP 1000 MONTO,DETALLE FROM T_ID  ORDER BY DETALLE", "DETALLE", ""},
      {"key fields kept for mutuales", "v_mv_mutuales", false, "", "", "", "",
       "SELECT TOP 1000 CODIGO,ID FROM v_mv_mutuales  ORDER BY ID", "ID", ""},
      {"deposits", "V_TA_DEPOSITO", false, "", "", "", "",
       "SELECT TOP 1000 Descripcion,IdDeposito,UnidadNegocio FROM V_TA_DEPOSITO  ORDER BY "
       "IDDEPOSITO",
       "IDDEPOSITO", ""},
      {"optional statement", "T_TRES", false, "X", "", "SELECT 1 AS UNO", "", "SELECT 1 AS UNO",
       "X", ""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    env.cfg.clear();
    if (!c.top.empty()) env.cfg["TopConsArt"] = c.top;
    auto servicio = env.Servicio();
    servicio->gUsarMascarasConsultas = c.mascaras;
    servicio->gRutaMascaraConsultas = env.db.folderWithSlash() + "consultas.kvt";
    std::string cb = c.campoBusqueda;
    std::string where = c.where;
    auto s = servicio->ArmarSentencia(c.sql, cb, where, c.opcional);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(*s, c.esperado);
    EXPECT_EQ(cb, c.campoBusquedaFinal);
    EXPECT_EQ(where, c.whereFinal);
  }
}

TEST_F(ServicioSentencias, MascaraDeUnaColumnaSinCampoDeBusqueda) {
  auto servicio = env.Servicio();
  servicio->gUsarMascarasConsultas = true;
  servicio->gRutaMascaraConsultas = env.db.folderWithSlash() + "consultas.kvt";
  env.prompt.Answer(1);
  servicio->CampoDevuelto = "SOLA";
  servicio->ConsultaSearch("T_UNA");  // refused before any window shows
  ASSERT_EQ(env.prompt.prompts().size(), 1u);
  EXPECT_EQ(env.prompt.prompts()[0].text, "Debe configurar la consulta para esta tabla");
  EXPECT_EQ(env.prompt.prompts()[0].title, "Aviso al operador");
  EXPECT_EQ(env.prompt.prompts()[0].style, 64);
}

TEST_F(ServicioSentencias, SinArchivoDeMascarasElNombreSigueIgual) {
  auto servicio = env.Servicio();
  servicio->gUsarMascarasConsultas = true;
  servicio->gRutaMascaraConsultas = env.db.folderWithSlash() + "no_existe.kvt";
  std::string cb, where;
  EXPECT_EQ(servicio->ArmarSentencia("VT_CLIENTES", cb, where), "VT_CLIENTES");
}

// ------------------------------------------------------- whole lookups

class ServicioConsulta : public ::testing::Test {
 protected:
  void SetUp() override {
    env.db.exec(
        "INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO, IVA) VALUES "
        "('C1','ZETA SA','Ana','1'),('C2','ALFA SRL','Luis','   1'),('C3','GAMMA','Eva','4');");
  }
  EntornoConsulta env;
};

TEST_F(ServicioConsulta, LaConsultaDelEditorDevuelveElCodigoElegido) {
  auto servicio = env.Servicio();
  servicio->CampoDevuelto = "CODIGO";
  std::vector<std::string> cmps{"RAZON_SOCIAL", "NOEXISTE", "CODIGO"};
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    // The statement's own order is kept: ALFA first.
    EXPECT_EQ(frm.Modelo().Celda(0, 0), "ALFA SRL");
    QTest::keyClicks(frm.CmbSearch(0)->lineEdit(), "ze");
    QTest::keyClick(frm.ListView1(), Qt::Key_Return);
  });
  servicio->ConsultaSearch(
      "SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES WHERE IVA = '   1' OR IVA = '1' ORDER BY "
      "RAZON_SOCIAL",
      &cmps);
  EXPECT_EQ(servicio->ValorDevuelto, "C1");
  EXPECT_EQ(servicio->Valores, (std::vector<std::string>{"ZETA SA", "ZETA SA", "C1"}));
  EXPECT_TRUE(servicio->HayValores);
  EXPECT_TRUE(cmps.empty());
  EXPECT_EQ(servicio->CampoDevuelto, "");

  // A second call sees CampoDevuelto empty: the last value added is returned.
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    frm.SeleccionarFila(0);
    frm.Cancelar();
  });
  servicio->ConsultaSearch("SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES ORDER BY CODIGO");
  EXPECT_EQ(servicio->ValorDevuelto, "");
  EXPECT_FALSE(servicio->HayValores);
}

TEST_F(ServicioConsulta, ListaDeTildadosDevuelveLosValoresEnOrden) {
  auto servicio = env.Servicio();
  servicio->Checks = true;
  servicio->CampoDevuelto = "CODIGO";
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    // Ticks from ValoresDefault were cleared before the window showed.
    for (int f = 0; f < frm.Modelo().Filas(); ++f) EXPECT_FALSE(frm.Modelo().Tick(f));
    frm.Modelo().SetTick(2, true);
    frm.Modelo().SetTick(0, true);
    frm.Aceptar();
  });
  servicio->ConsultaSearch("SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES ORDER BY CODIGO", nullptr,
                           "", nullptr, nullptr, "", false, "C1|C2");
  EXPECT_EQ(servicio->Valores, (std::vector<std::string>{"C1", "C3"}));
  EXPECT_FALSE(servicio->Checks);
}

TEST_F(ServicioConsulta, ListaSinOrdenSeOrdenaSolaYUsaLaClaveInicial) {
  auto servicio = env.Servicio();
  servicio->CampoDevuelto = "CODIGO";
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    EXPECT_EQ(frm.Modelo().Celda(0, 0), "ALFA SRL");
    EXPECT_EQ(frm.CmbSearch(0)->currentText(), "gam");
    EXPECT_EQ(frm.SeleccionActual(), 1);
    frm.Aceptar();
  });
  servicio->ConsultaSearch("SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES", nullptr, "gam");
  EXPECT_EQ(servicio->ValorDevuelto, "C3");
}

}  // namespace
}  // namespace ferolin::testing
