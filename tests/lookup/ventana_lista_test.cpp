// The list lookup window: columns, rows, search, keys and results.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "lookup/lib_frm_cons3.h"
#include "lookup/modelo_consulta.h"
#include "platform/ui/text_width.h"
#include "tests/lookup/apoyo.h"

namespace ferolin::testing {
namespace {

class VentanaLista : public ::testing::Test {
 protected:
  void SetUp() override {
    env.db.exec(
        "INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO) VALUES "
        "('C1','ZETA SA','Ana'),('C2','ALFA SRL','abel'),('C3','GAMMA','Abril'),"
        "('C4','O''BRIEN','Eva');");
  }
  // A loaded window over sql, shown and active.
  std::unique_ptr<Lib_FrmCons3> Abrir(const std::string& sql, bool mostrar = true) {
    auto frm = std::make_unique<Lib_FrmCons3>(env.ctx, env.Lector());
    frm->sql = sql;
    configurar(*frm);
    frm->Cargar();
    if (mostrar) {
      frm->show();
      EXPECT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    }
    return frm;
  }
  std::vector<std::string> Columna(Lib_FrmCons3& frm, int c) {
    std::vector<std::string> v;
    for (int f = 0; f < frm.Modelo().Filas(); ++f)
      v.push_back(frm.Modelo().Celda(f, c).toStdString());
    return v;
  }
  std::function<void(Lib_FrmCons3&)> configurar = [](Lib_FrmCons3&) {};
  EntornoConsulta env;
};

const std::string kClientes =
    "SELECT RAZON_SOCIAL, CONTACTO, CODIGO FROM VT_CLIENTES ORDER BY CODIGO";

TEST_F(VentanaLista, ColumnasCajasYFilas) {
  auto frm = Abrir(kClientes);
  EXPECT_EQ(frm->windowTitle(), "Consulta...");
  EXPECT_EQ(frm->Modelo().Encabezados(), (QStringList{"RAZON_SOCIAL", "CONTACTO", "CODIGO"}));
  EXPECT_EQ(frm->CantidadLeida(), 4);
  EXPECT_EQ(Columna(*frm, 2), (std::vector<std::string>{"C1", "C2", "C3", "C4"}));
  EXPECT_EQ(frm->TablaConsulta(), "VT_CLIENTES");
  EXPECT_EQ(frm->SqlInicial(), kClientes + " ");
  ASSERT_GE(frm->CantidadCajas(), 3);
  EXPECT_EQ(frm->CmbSearch(1)->toolTip(), "F5 realiza nueva busqueda");
  // Widths: defined size capped at 60 characters.
  auto anchos = frm->AnchosTwips();
  ASSERT_EQ(anchos.size(), 3u);
  auto equis = [&](int n) { return ui::TextWidthTwips(frm->font(), std::string(n, 'X')); };
  EXPECT_NEAR(anchos[0], equis(60), 15);
  EXPECT_NEAR(anchos[2], equis(20), 15);
  frm->close();
}

TEST_F(VentanaLista, AnchosDeCampos) {
  env.db.exec(
      "CREATE TABLE T_ANCHOS (LARGO VARCHAR(200), CORTO VARCHAR(8), NUM DECIMAL(18,4));"
      "INSERT INTO T_ANCHOS VALUES ('a','b',1.5);");
  struct Caso {
    std::string valoresDefault;
    int largo, corto, num;
  };
  const Caso casos[] = {{"", 60, 8, 12}, {"@10", 70, 18, 22}};
  for (const auto& c : casos) {
    configurar = [&](Lib_FrmCons3& f) { f.ValoresDefault = c.valoresDefault; };
    auto frm = Abrir("SELECT LARGO, CORTO, NUM FROM T_ANCHOS", false);
    auto equis = [&](int n) { return ui::TextWidthTwips(frm->font(), std::string(n, 'X')); };
    auto a = frm->AnchosTwips();
    ASSERT_EQ(a.size(), 3u);
    EXPECT_NEAR(a[0], equis(c.largo), 15) << c.valoresDefault;
    EXPECT_NEAR(a[1], equis(c.corto), 15) << c.valoresDefault;
    EXPECT_NEAR(a[2], equis(c.num), 15) << c.valoresDefault;
  }
}

TEST_F(VentanaLista, ArticulosConClasesDePrecioYColoresDeStock) {
  env.db.exec(
      "INSERT INTO MA_ARTICULOS (IDARTICULO, DESCRIPCION, PUNTOPEDIDO, PRECIO3) VALUES "
      "('A1','TORNILLO',0,1),('A2','TUERCA',5,1),('A3','ARANDELA',5,1),('A4','CLAVO',0,1);"
      "INSERT INTO MV_STOCK VALUES ('A1','1',3),('A2','1',9),('A3','1',2),('A4','1',0);");
  env.cfg["NOM_PCLASE3"] = "Mayorista";
  configurar = [](Lib_FrmCons3& f) {
    f.MuestraStock = "si";
    f.StkNivel1 = "255";       // red
    f.StkNivel2 = "65280";     // green
    f.StkNivel3 = "&HFF0000";  // blue
    f.StkNivel4 = " ";         // blank: not coloured
  };
  auto frm = Abrir(
      "SELECT IDARTICULO, DESCRIPCION, PUNTOPEDIDO, Stock, PRECIO3, PRECIO4 FROM V_MA_ARTICULOS "
      "ORDER BY IDARTICULO",
      false);
  EXPECT_EQ(frm->Modelo().Encabezados()[4], "Mayorista");
  EXPECT_EQ(frm->Modelo().Encabezados()[5], " ");  // no key: the blank the store gives
  auto color = [&](int fila) {
    return frm->Modelo().data(frm->Modelo().index(fila, 1), Qt::ForegroundRole);
  };
  EXPECT_EQ(color(0).value<QColor>(), QColor(255, 0, 0));
  EXPECT_EQ(color(1).value<QColor>(), QColor(0, 255, 0));
  EXPECT_EQ(color(2).value<QColor>(), QColor(0, 0, 255));
  EXPECT_FALSE(color(3).isValid());
}

TEST_F(VentanaLista, PreTildadoPorSubcadena) {
  env.db.exec(
      "INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL) VALUES ('12','DOCE'),('B7','BSIETE');");
  configurar = [](Lib_FrmCons3& f) {
    f.CheckBoxes = true;
    f.CampoDevuelto = "CODIGO";
    f.ValoresDefault = "A12|B7";
  };
  auto frm = Abrir("SELECT CODIGO, RAZON_SOCIAL FROM VT_CLIENTES ORDER BY CODIGO", false);
  std::vector<std::string> tildados;
  for (int f = 0; f < frm->Modelo().Filas(); ++f)
    if (frm->Modelo().Tick(f)) tildados.push_back(frm->Modelo().Celda(f, 0).toStdString());
  EXPECT_EQ(tildados, (std::vector<std::string>{"12", "B7"}));
}

TEST_F(VentanaLista, BusquedaIncrementalYTeclasDeLaLista) {
  auto frm = Abrir(kClientes);
  // Typing "ab" into the box of column 2 selects the first CONTACTO starting with it.
  frm->CmbSearch(1)->lineEdit()->setFocus();
  QTest::keyClicks(frm->CmbSearch(1)->lineEdit(), "ab");
  EXPECT_EQ(frm->SeleccionActual(), 1);
  EXPECT_EQ(frm->BusquedaActual(), 1);
  QTest::keyClicks(frm->CmbSearch(1)->lineEdit(), "r");
  EXPECT_EQ(frm->SeleccionActual(), 2);
  frm->CmbSearch(1)->setEditText("");
  EXPECT_EQ(frm->SeleccionActual(), 0);

  // Keys typed in the list go to the current search box.
  frm->ListView1()->setFocus();
  QTest::keyClick(frm->ListView1(), Qt::Key_E);
  EXPECT_EQ(frm->CmbSearch(1)->currentText(), "E");
  EXPECT_EQ(frm->SeleccionActual(), 3);
  frm->ListView1()->setFocus();
  QTest::keyClick(frm->ListView1(), Qt::Key_Backspace);
  EXPECT_EQ(frm->CmbSearch(1)->currentText(), "");
  EXPECT_TRUE(frm->CmbSearch(1)->hasFocus() || frm->CmbSearch(1)->lineEdit()->hasFocus());
  frm->ListView1()->setFocus();
  QTest::keyClick(frm->ListView1(), Qt::Key_A);
  QTest::keyClick(frm->ListView1(), Qt::Key_Space);
  EXPECT_EQ(frm->CmbSearch(1)->currentText(), "A ");
  EXPECT_EQ(frm->SeleccionActual(), 0);  // searched trimmed: "A" matches Ana

  // Down in a search box moves the focus to the list.
  QTest::keyClick(frm->CmbSearch(1)->lineEdit(), Qt::Key_Down);
  EXPECT_TRUE(frm->ListView1()->hasFocus());
  frm->close();
}

TEST_F(VentanaLista, F5AcumulaCondicionesYNuevaBusquedaVuelve) {
  auto frm = Abrir(kClientes);
  QTest::keyClicks(frm->CmbSearch(0)->lineEdit(), "o'b");
  QTest::keyClick(frm->CmbSearch(0)->lineEdit(), Qt::Key_F5);
  EXPECT_EQ(frm->SqlActual(),
            "SELECT RAZON_SOCIAL, CONTACTO, CODIGO FROM VT_CLIENTES  where RAZON_SOCIAL like "
            "'o''b%' ORDER BY CODIGO  ");
  EXPECT_EQ(Columna(*frm, 2), (std::vector<std::string>{"C4"}));
  EXPECT_EQ(frm->CmbSearch(0)->currentText(), "");

  frm->sql = kClientes;
  frm->NuevaBusqueda();
  EXPECT_EQ(frm->Modelo().Filas(), 4);
  QTest::keyClicks(frm->CmbSearch(1)->lineEdit(), "a*l");
  QTest::keyClick(frm->CmbSearch(1)->lineEdit(), Qt::Key_F5);
  QTest::keyClicks(frm->CmbSearch(0)->lineEdit(), "g");
  QTest::keyClick(frm->CmbSearch(0)->lineEdit(), Qt::Key_F5);
  EXPECT_NE(frm->SqlActual().find("CONTACTO like 'a%l%'  and RAZON_SOCIAL like 'g%'"),
            std::string::npos)
      << frm->SqlActual();
  EXPECT_EQ(Columna(*frm, 2), (std::vector<std::string>{"C3"}));

  frm->NuevaBusqueda();
  EXPECT_EQ(frm->Modelo().Filas(), 4);
  EXPECT_TRUE(frm->CmbSearch(0)->hasFocus() || frm->CmbSearch(0)->lineEdit()->hasFocus());
  frm->close();
}

TEST_F(VentanaLista, OrdenPorEncabezadoSeInvierteEnCadaClick) {
  auto frm = Abrir(kClientes);
  frm->ClickEncabezado(0);
  EXPECT_EQ(Columna(*frm, 2), (std::vector<std::string>{"C1", "C4", "C3", "C2"}));
  frm->ClickEncabezado(0);
  EXPECT_EQ(Columna(*frm, 2), (std::vector<std::string>{"C2", "C3", "C4", "C1"}));
  // A header click through the view itself.
  const QHeaderView* h = frm->ListView1()->horizontalHeader();
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                    QPoint(h->sectionViewportPosition(1) + 5, h->height() / 2));
  EXPECT_EQ(Columna(*frm, 1), (std::vector<std::string>{"Eva", "Ana", "Abril", "abel"}));
  frm->close();
}

TEST_F(VentanaLista, AceptarYCancelar) {
  struct Caso {
    const char* nombre;
    std::string campoDevuelto;
    std::optional<std::vector<std::string>> cmps;
    int fila;
    std::string valor;
    std::vector<std::string> valores;
  };
  const Caso casos[] = {
      {"by column", "codigo", std::nullopt, 1, "C2", {}},
      {"values of columns, missing name repeats",
       "CODIGO",
       std::vector<std::string>{"NOPE", "CONTACTO", "NADA"},
       2,
       "C3",
       {"", "Abril", "Abril"}},
      {"no returned column: last value", "", std::vector<std::string>{"CODIGO"}, 0, "C1", {"C1"}},
      {"unknown returned column: last value",
       "XX",
       std::vector<std::string>{"CONTACTO"},
       3,
       "Eva",
       {"Eva"}},
      {"no selection", "CODIGO", std::nullopt, -1, "", {}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    configurar = [&](Lib_FrmCons3& f) {
      f.CampoDevuelto = c.campoDevuelto;
      f.CmpsDevueltos = c.cmps;
    };
    auto frm = Abrir(kClientes);
    frm->SeleccionarFila(c.fila);
    frm->ListView1()->setFocus();
    QTest::keyClick(frm->ListView1(), Qt::Key_Return);
    EXPECT_FALSE(frm->isVisible());
    EXPECT_EQ(frm->ValorDevuelto, c.valor);
    ASSERT_TRUE(frm->Valores.has_value());
    EXPECT_EQ(*frm->Valores, c.valores);
  }
  auto frm = Abrir(kClientes);
  frm->SeleccionarFila(0);
  frm->ValorDevuelto = "previo";
  QTest::mouseClick(frm->CmdCancelar(), Qt::LeftButton);
  EXPECT_FALSE(frm->isVisible());
  EXPECT_EQ(frm->ValorDevuelto, "");
  EXPECT_FALSE(frm->Valores.has_value());
}

TEST_F(VentanaLista, ListaDeTildadosConEspacioYMarcar) {
  configurar = [](Lib_FrmCons3& f) { f.CheckBoxes = true; };
  auto frm = Abrir(kClientes);
  frm->SeleccionarFila(1);
  frm->ListView1()->setFocus();
  QTest::keyClick(frm->ListView1(), Qt::Key_Space);
  EXPECT_TRUE(frm->Modelo().Tick(1));
  QTest::mouseClick(frm->CmdTodos(), Qt::LeftButton);  // inverts every tick
  frm->Aceptar();
  EXPECT_EQ(frm->CampoDevuelto, "RAZON_SOCIAL");
  EXPECT_EQ(*frm->Valores, (std::vector<std::string>{"ZETA SA", "GAMMA", "O'BRIEN"}));
  EXPECT_EQ(frm->ValorDevuelto, "");
}

TEST_F(VentanaLista, Cantidades) {
  env.db.exec(
      "CREATE TABLE T_CANT (CODIGO VARCHAR(5), Cantidad VARCHAR(12));"
      "INSERT INTO T_CANT VALUES ('A','1.0'),('B','0');");
  configurar = [](Lib_FrmCons3& f) { f.UsaCantidades = true; };
  auto frm = Abrir("SELECT CODIGO, Cantidad FROM T_CANT ORDER BY CODIGO");
  auto cant = [&](int f) { return frm->Modelo().Celda(f, 1).toStdString(); };
  frm->SeleccionarFila(0);
  frm->ListView1()->setFocus();
  QTest::keyClick(frm->ListView1(), Qt::Key_Delete);
  EXPECT_EQ(cant(0), "0.00");
  EXPECT_FALSE(frm->Modelo().Tick(0));
  QTest::keyClick(frm->ListView1(), Qt::Key_Insert);
  QTest::keyClick(frm->ListView1(), Qt::Key_Insert);
  EXPECT_EQ(cant(0), "2.0");
  EXPECT_TRUE(frm->Modelo().Tick(0));

  env.prompt.AnswerInput("7.25x");
  frm->SeleccionarFila(1);
  QTest::keyClick(frm->ListView1(), Qt::Key_Insert, Qt::ShiftModifier);
  ASSERT_EQ(env.prompt.prompts().size(), 1u);
  EXPECT_EQ(env.prompt.prompts()[0].text, "Ingrese la Cantidad del Articulo...");
  EXPECT_EQ(env.prompt.prompts()[0].title, "Carga de Datos");
  EXPECT_EQ(cant(1), "7.25");
  EXPECT_TRUE(frm->Modelo().Tick(1));
  // A cancelled input keeps the quantity.
  env.prompt.AnswerInput(std::nullopt);
  QTest::keyClick(frm->ListView1(), Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(cant(1), "7.25");
  frm->close();
}

TEST_F(VentanaLista, FaltanteDeStockConF12) {
  env.db.exec("INSERT INTO MA_ARTICULOS (IDARTICULO, DESCRIPCION) VALUES ('A1','LLAVE D''AGUA');");
  env.ctx.gDB().gUsuario = "pepe";
  auto frm = Abrir("SELECT Descripcion, idarticulo FROM V_MA_ARTICULOS");
  frm->ListView1()->setFocus();
  QTest::keyClick(frm->ListView1(), Qt::Key_F12);  // no row selected: nothing
  EXPECT_TRUE(env.prompt.prompts().empty());

  frm->SeleccionarFila(0);
  env.prompt.Answer(6);
  QTest::keyClick(frm->ListView1(), Qt::Key_F12);
  ASSERT_EQ(env.prompt.prompts().size(), 1u);
  EXPECT_EQ(env.prompt.prompts()[0].text,
            "Desea informar el articulo A1 LLAVE D'AGUA\r\ncomo un faltante de stock?");
  EXPECT_EQ(env.prompt.prompts()[0].title, "Atención!");
  EXPECT_EQ(env.prompt.prompts()[0].style, 36);
  auto filas = env.db.query("SELECT IdArticulo, Descripcion, Usuario FROM MV_FALTANTES");
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0][0].value_or(""), "A1" + std::string(23, ' '));  // fixed-width code
  EXPECT_EQ(filas[0][1].value_or(""), "LLAVE D'AGUA");
  EXPECT_EQ(filas[0][2].value_or(""), "pepe");
  frm->close();
}

TEST_F(VentanaLista, AnchosGuardadosSeLeenYSeGraban) {
  const auto archivo = env.db.folder() / "CONSULTASLEN.KVT";
  {
    std::ofstream out(archivo, std::ios::binary);
    out << "\"MA_CUENTAS\",\"100|200|\"\r\n\"vt_clientes\",\"1500|3000|4500|6000|\"\r\n";
  }
  configurar = [](Lib_FrmCons3& f) { f.GrabarCfg = true; };
  auto frm = Abrir(kClientes);
  EXPECT_EQ(frm->AnchosTwips(), (std::vector<int>{1500, 3000, 4500}));
  frm->SetAnchoTwips(1, 750);
  frm->close();
  frm->Descargar();
  std::ifstream in(archivo, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "\"MA_CUENTAS\",\"100|200|\"\r\n\"VT_CLIENTES\",\"1500|750|4500|\"\r\n");
  EXPECT_FALSE(std::filesystem::exists(env.db.folder() / "CONSULTASLEN.AUX"));
}

TEST_F(VentanaLista, SentenciaVaciaOSinFilasYSentenciaInvalida) {
  auto vacia = Abrir("", false);
  EXPECT_EQ(vacia->Modelo().Filas(), 0);
  EXPECT_EQ(vacia->Modelo().NumColumnas(), 0);

  auto sinFilas = Abrir("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS", false);
  EXPECT_EQ(sinFilas->Modelo().Filas(), 0);
  EXPECT_EQ(sinFilas->Modelo().NumColumnas(), 2);
  EXPECT_GE(sinFilas->CantidadCajas(), 2);

  // A statement the database refuses is reported once; the window stays empty.
  env.prompt.Answer(3);
  auto mala = Abrir("SELECT NOEXISTE FROM MA_CUENTAS", false);
  EXPECT_EQ(env.prompt.prompts().size(), 1u);
  EXPECT_EQ(mala->Modelo().Filas(), 0);
}

TEST_F(VentanaLista, NuevoLanzaElProgramaDeLaTabla) {
  const std::tuple<std::string, std::string, std::string> casos[] = {
      {"VT_CLIENTES", "SHELL:V_MA_CLIENTES", "1"},
      {"VT_PROVEEDORES", "SHELL:V_MA_CLIENTES", "0"},
      {"V_MA_ARTICULOS", "SHELL:V_MA_ARTICULOS", ""},
      {"V_TA_UNIDAD", "SHELL:V_TA_TABLAS", "V_TA_UNIDAD"},
      {"MA_CUENTAS", "SHELL:V_TA_TABLAS", "MA_CUENTAS"},
  };
  for (const auto& [tabla, programa, parametro] : casos) {
    std::string visto, param;
    configurar = [&](Lib_FrmCons3& f) {
      f.LanzadorProgramas = [&](const std::string& p, std::string& par, long& r) {
        visto = p;
        param = par;
        r = 1;
      };
    };
    env.db.exec("CREATE TABLE IF NOT EXISTS V_TA_UNIDAD (X INTEGER);");
    auto frm = Abrir("SELECT * FROM " + tabla + " ", false);
    frm->NuevoRegistro();
    EXPECT_EQ(visto, programa) << tabla;
    EXPECT_EQ(param, parametro) << tabla;
  }
}

}  // namespace
}  // namespace ferolin::testing
