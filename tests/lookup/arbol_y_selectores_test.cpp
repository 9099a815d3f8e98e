// The tree lookup window and the three pickers.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "lookup/lib_frm_cons3.h"
#include "lookup/lib_frm_cons3_tree.h"
#include "lookup/modelo_consulta.h"
#include "tests/lookup/apoyo.h"

namespace ferolin::testing {
namespace {

class VentanaArbol : public ::testing::Test {
 protected:
  std::unique_ptr<Lib_FrmCons3Tree> Abrir(const std::string& sql, const std::string& campo,
                                          bool ticks = false) {
    auto frm = std::make_unique<Lib_FrmCons3Tree>(env.ctx);
    frm->sql = sql;
    frm->CampoDevuelto = campo;
    frm->CheckBoxes = ticks;
    frm->Cargar();
    return frm;
  }
  std::string Padre(Lib_FrmCons3Tree& frm, const std::string& clave) {
    QTreeWidgetItem* n = frm.Nodo(clave);
    if (!n || !n->parent()) return "?";
    return n->parent()->text(0).toStdString();
  }
  EntornoConsulta env;
};

TEST_F(VentanaArbol, ArbolDeFamilias) {
  env.db.exec(
      "INSERT INTO TA_FAMILIAS (IdFamilia, Descripcion) VALUES ('01','HERRAMIENTAS'),"
      "('0101','MANUALES'),('0102','ELECTRICAS'),('02','PINTURAS');");
  auto frm = Abrir("SELECT * FROM v_ta_familias", "IDFAMILIA");
  EXPECT_EQ(frm->sql, Lib_FrmCons3Tree::kSentenciaFamilias);
  ASSERT_EQ(frm->Nodos().size(), 5u);
  EXPECT_EQ(Padre(*frm, "A01"), "Consulta...");
  EXPECT_EQ(Padre(*frm, "A0101"), "01 - HERRAMIENTAS");
  EXPECT_EQ(Padre(*frm, "A0102"), "01 - HERRAMIENTAS");
  EXPECT_EQ(Padre(*frm, "A02"), "Consulta...");

  frm->TreeV()->setCurrentItem(frm->Nodo("A0102"));
  frm->Aceptar();
  EXPECT_EQ(frm->ValorDevuelto, "0102");
}

TEST_F(VentanaArbol, ArbolAutomaticoPorPrefijoYBusqueda) {
  env.db.exec(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1','ACTIVO'),('10','CAJA'),"
      "('2','PASIVO'),('3','GARANTIAS');");
  auto frm = Abrir("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS ORDER BY CODIGO", "CODIGO");
  EXPECT_EQ(Padre(*frm, "A10"), "1 - ACTIVO");
  EXPECT_EQ(Padre(*frm, "A2"), "Consulta...");

  frm->CmbSearch()->setEditText("gar");
  EXPECT_EQ(frm->TreeV()->currentItem(), frm->Nodo("A3"));
  frm->CmbSearch()->setEditText("10");
  EXPECT_EQ(frm->TreeV()->currentItem(), frm->Nodo("A10"));
  frm->CmbSearch()->setEditText("");
  EXPECT_EQ(frm->TreeV()->currentItem(), frm->Nodos().front());

  // Single choice by CODIGO: found in the accounts when not a cost centre.
  frm->TreeV()->setCurrentItem(frm->Nodo("A10"));
  frm->Aceptar();
  EXPECT_EQ(frm->ValorDevuelto, "10");

  // F5 narrows the statement by description.
  frm->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
  frm->CmbSearch()->setEditText("as");
  QTest::keyClick(frm->CmbSearch()->lineEdit(), Qt::Key_F5);
  EXPECT_EQ(frm->sql,
            "SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS  where Descripcion like '%as%' ORDER BY "
            "CODIGO");
  EXPECT_EQ(frm->Nodos().size(), 3u);  // root, PASIVO, GARANTIAS
  frm->close();
}

TEST_F(VentanaArbol, TildeBajaSeisNivelesYDevuelveCodigos) {
  env.db.exec(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1','N1'),('12','N2'),('123','N3'),"
      "('1234','N4'),('12345','N5'),('123456','N6'),('1234567','N7'),('12345678','N8'),"
      "('9','OTRA');");
  auto frm = Abrir("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS ORDER BY CODIGO", "CODIGO", true);
  frm->Nodo("A1")->setCheckState(0, Qt::Checked);
  for (std::string c : {"1", "12", "123", "1234", "12345", "123456", "1234567"})
    EXPECT_EQ(frm->Nodo("A" + c)->checkState(0), Qt::Checked) << c;
  EXPECT_EQ(frm->Nodo("A12345678")->checkState(0), Qt::Unchecked);
  EXPECT_EQ(frm->Nodo("A9")->checkState(0), Qt::Unchecked);
  frm->Aceptar();
  EXPECT_EQ(*frm->Valores,
            (std::vector<std::string>{"1", "12", "123", "1234", "12345", "123456", "1234567"}));
}

TEST_F(VentanaArbol, ConsultaPorElServicioYCancelar) {
  env.db.exec("INSERT INTO TA_CCOSTO (CODIGO, DESCRIPCION) VALUES ('C1','CENTRO');");
  auto servicio = env.Servicio();
  servicio->CampoDevuelto = "CODIGO";
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3Tree&>(w);
    frm.TreeV()->setCurrentItem(frm.Nodo("AC1"));
    frm.Aceptar();
  });
  servicio->ConsultaSearch("SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO", nullptr, "", nullptr,
                           nullptr, "", true);
  EXPECT_EQ(servicio->ValorDevuelto, "C1");

  AlMostrarse([](QWidget& w) { static_cast<Lib_FrmCons3Tree&>(w).Cancelar(); });
  servicio->ConsultaSearch("SELECT CODIGO, DESCRIPCION FROM TA_CCOSTO", nullptr, "", nullptr,
                           nullptr, "", true);
  EXPECT_EQ(servicio->ValorDevuelto, "");
  EXPECT_FALSE(servicio->HayValores);
}

// ------------------------------------------------------------ pickers

class Selectores : public ::testing::Test {
 protected:
  EntornoConsulta env;
};

std::vector<std::string> Filas(Lib_FrmCons3& frm) {
  std::vector<std::string> v;
  for (int f = 0; f < frm.Modelo().Filas(); ++f)
    v.push_back(frm.Modelo().Celda(f, 0).toStdString());
  return v;
}

TEST_F(Selectores, ListaDeOpcionesTildadas) {
  auto servicio = env.Servicio();
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    EXPECT_EQ(frm.windowTitle(), "Medios");
    EXPECT_TRUE(frm.CmdNueva()->isHidden());
    EXPECT_EQ(frm.Modelo().Encabezados(), QStringList{"Medios"});
    EXPECT_EQ(Filas(frm), (std::vector<std::string>{"Efectivo", "Tarjeta"}));
    EXPECT_TRUE(frm.Modelo().Tick(0));
    EXPECT_FALSE(frm.Modelo().Tick(1));
    // F5 has no statement to narrow in a picker.
    QTest::keyClick(frm.CmbSearch(0)->lineEdit(), Qt::Key_F5);
    EXPECT_EQ(frm.Modelo().Filas(), 2);
    frm.Modelo().SetTick(1, true);
    frm.Aceptar();
  });
  EXPECT_EQ(servicio->CheckOpciones("Medios", {}, {"1Efectivo", "0Tarjeta"}), "");
  EXPECT_EQ(servicio->Valores, (std::vector<std::string>{"Efectivo", "Tarjeta"}));
}

TEST_F(Selectores, MenuDeOpciones) {
  auto servicio = env.Servicio();
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    EXPECT_EQ(Filas(frm), (std::vector<std::string>{"Uno", "Dos", "Tres"}));
    frm.CmbSearch(0)->setEditText("tr");
    frm.Aceptar();
  });
  EXPECT_EQ(servicio->MenuOpciones("Elegir", {"Uno", "Dos", "Tres"}), "Tres");

  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    EXPECT_EQ(frm.Modelo().Filas(), 1);
    frm.SeleccionarFila(0);
    frm.Cancelar();
  });
  EXPECT_EQ(servicio->MenuOpciones("Elegir", {"Sola"}), "");
}

TEST_F(Selectores, LineasDeUnArchivo) {
  auto servicio = env.Servicio();
  const auto ruta = (env.db.folder() / "opciones.txt").string();
  {
    std::ofstream out(ruta, std::ios::binary);
    out << "Primera\r\n\r\nTercera \xE1rbol\r\n";  // Windows-1252 "á"
  }
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    EXPECT_EQ(Filas(frm), (std::vector<std::string>{"Primera", "", "Tercera árbol"}));
    frm.SeleccionarFila(2);
    frm.Aceptar();
  });
  EXPECT_EQ(servicio->ConsultaDesdeArchivo("Archivo", ruta), "Tercera árbol");

  // A quoted path (as the existence check accepts it) lists the same lines.
  AlMostrarse([](QWidget& w) {
    auto& frm = static_cast<Lib_FrmCons3&>(w);
    EXPECT_EQ(Filas(frm), (std::vector<std::string>{"Primera", "", "Tercera árbol"}));
    frm.SeleccionarFila(0);
    frm.Aceptar();
  });
  EXPECT_EQ(servicio->ConsultaDesdeArchivo("Archivo", "\"" + ruta + "\""), "Primera");

  env.prompt.Answer(1);
  const std::string falta = (env.db.folder() / "no_hay.txt").string();
  EXPECT_EQ(servicio->ConsultaDesdeArchivo("Archivo", "\"" + falta + "\""), "");
  ASSERT_EQ(env.prompt.prompts().size(), 1u);
  EXPECT_EQ(env.prompt.prompts()[0].text,
            "No existe el archivo \"" + falta + "\" que desea consultar consulta ");
  EXPECT_EQ(env.prompt.prompts()[0].title, "");
}

}  // namespace
}  // namespace ferolin::testing
