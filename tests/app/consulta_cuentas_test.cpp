// CONSULTAR from the main window through the real lookup service and list
// window: the chosen customer's code is confirmed as if typed, a cancel blanks
// the row, and a customer without an account gets the code-check message.

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QComboBox>
#include <QLineEdit>
#include "data_access/db_dll.h"

#include "lookup/lib_frm_cons3.h"
#include "lookup/modelo_consulta.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "startup/contexto_programa.h"
#include "tests/lookup/apoyo.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

class ConsultaDeCuentas : public ::testing::Test {
 protected:
  ConsultaDeCuentas() {
    std::filesystem::create_directories(db.folder() / "Styles");
    std::ofstream(db.folder() / "Styles" / "iTunes.qss") << "";
    db.exec(
        "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('C1', 'Cuenta Zeta'), "
        "('C2', 'Cuenta Alfa');"
        "INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, IVA) VALUES ('C1', 'ZETA SA', '1'), "
        "('C2', 'ALFA SRL', '   1'), ('C3', 'GAMMA', '4'), ('C4', 'DELTA SA', '1');");
    ctx = std::make_unique<ContextoPrograma>(prompt, db.folderWithSlash());
    Frm_Ferolin::Servicios s;
    s.iniciar = [this] {
      DB_Dll& g = ctx->gDB();
      g.gConnString = db.connectionString();
      g.gCnn().Open(db.connectionString());
      g.gOpenFlag = true;
      g.gEsAdmin = true;
      ctx->servicioConsultas().gConnString = db.connectionString();
      return true;
    };
    s.finalizar = [] {};
    ventana = std::make_unique<Frm_Ferolin>(*ctx, s);
  }

  ~ConsultaDeCuentas() override {
    if (ventana) ventana->close();
  }

  void Abrir() {
    ASSERT_TRUE(ventana->Form_Load());
    ventana->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
  }

  // Presses the toolbar's CONSULTAR key and lets accion drive the lookup.
  void Consultar(std::function<void(Lib_FrmCons3&)> accion) {
    AlMostrarse([accion](QWidget& w) { accion(static_cast<Lib_FrmCons3&>(w)); });
    QWidget* foco = QApplication::focusWidget();
    QTest::keyClick(foco ? foco : ventana.get(), Qt::Key_F7);
  }

  Grilla& grilla() { return ventana->MSFlexGrid1(); }

  TestDatabase db;
  ScriptedPrompt prompt;
  std::unique_ptr<ContextoPrograma> ctx;
  std::unique_ptr<Frm_Ferolin> ventana;
};

TEST_F(ConsultaDeCuentas, ElClienteElegidoEntraComoCodigoTipeado) {
  Abrir();
  ASSERT_EQ(grilla().Row(), 1);
  ASSERT_EQ(grilla().Col(), 0);
  int filas = -1;
  Consultar([&filas](Lib_FrmCons3& frm) {
    filas = frm.Modelo().Filas();
    // Registered payers only, by business name.
    EXPECT_EQ(frm.Modelo().Celda(0, 0), "ALFA SRL");
    QTest::keyClicks(frm.CmbSearch(0)->lineEdit(), "ze");
    QTest::keyClick(frm.ListView1(), Qt::Key_Return);
  });
  EXPECT_EQ(filas, 3);
  EXPECT_EQ(grilla().TextMatrix(1, 0), "C1");
  EXPECT_EQ(grilla().TextMatrix(1, 1), "Cuenta Zeta");
  EXPECT_EQ(grilla().Col(), 2);
  EXPECT_TRUE(prompt.prompts().empty());
}

TEST_F(ConsultaDeCuentas, CancelarDejaLaFilaEnBlanco) {
  Abrir();
  Consultar([](Lib_FrmCons3& frm) { frm.Cancelar(); });
  EXPECT_EQ(grilla().TextMatrix(1, 0), "");
  EXPECT_EQ(grilla().TextMatrix(1, 1), "");
  EXPECT_TRUE(prompt.prompts().empty());
}

TEST_F(ConsultaDeCuentas, ClienteSinCuentaRecibeElAvisoDelCodigo) {
  Abrir();
  prompt.Answer(ui::answer::kOk);
  Consultar([](Lib_FrmCons3& frm) {
    QTest::keyClicks(frm.CmbSearch(0)->lineEdit(), "del");
    QTest::keyClick(frm.ListView1(), Qt::Key_Return);
  });
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].text, "El Codigo Informado no existe");
  EXPECT_EQ(grilla().TextMatrix(1, 1), "");
}

}  // namespace
}  // namespace ferolin::testing
