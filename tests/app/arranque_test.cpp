// The program as a newcomer meets it: the real start-up on the demo data with
// the launch-parameter string of the demo script, the stored list shown, a
// code typed and saved; and the executable's demo and no-display paths.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "startup/contexto_programa.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

constexpr const char* kLineaDemo =
    "@server=SQLITE; @dbname= TEST; @usuario= supervisor; @Password= ; @ParametroAdicional=; "
    "@Caja=1;mirk@";

TEST(Arranque, DemoMuestraLaListaGuardaYRecarga) {
  TestDatabase db(TestDatabase::Datos::Demo);
  std::filesystem::create_directories(db.folder() / "Styles");
  std::ofstream(db.folder() / "Styles" / "iTunes.qss") << "";
  ScriptedPrompt prompt;
  ContextoPrograma ctx(prompt, db.folderWithSlash());
  ctx.lineaComandoProceso = [] { return std::string(kLineaDemo); };
  {
    Frm_Ferolin ventana(ctx);
    ASSERT_TRUE(ventana.Form_Load());
    ventana.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
    Grilla& g = ventana.MSFlexGrid1();
    const int almacenadas =
        std::stoi(db.scalar("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'"));
    ASSERT_GT(almacenadas, 0);
    EXPECT_EQ(g.Rows(), almacenadas + 2);
    EXPECT_EQ(g.TextMatrix(1, 0), "11030001");
    EXPECT_FALSE(g.TextMatrix(1, 1).empty());
    EXPECT_EQ(g.Row(), almacenadas + 1);

    for (char c : std::string("11030005")) QTest::keyClick(QApplication::focusWidget(), c);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    for (char c : std::string("nuevo")) QTest::keyClick(QApplication::focusWidget(), c);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);  // GRABAR

    EXPECT_EQ(db.scalar("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'FEROLIN_11030005 '"),
              "nuevo");
    EXPECT_EQ(g.Rows(), almacenadas + 3);
    EXPECT_EQ(g.TextMatrix(4, 0), "11030005");  // reloaded in code order
    ventana.close();
  }
  EXPECT_TRUE(prompt.prompts().empty());
  EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Control_Acceso WHERE EGRESO IS NULL"), "0");
}

// The program beside the test executables, as the build lays them out.
QString Programa() {
  return QCoreApplication::applicationDirPath() + "/../app/ferolin";
}

TEST(Ejecutable, CreaLaDemoYSinPantallaDiceComoEjecutarlo) {
  ASSERT_TRUE(QFileInfo::exists(Programa())) << "ferolin not built: " << Programa().toStdString();
  TempFolder carpeta;
  QProcess demo;
  demo.start(Programa(),
             {"--crear-demo", QString::fromStdString((carpeta.path() / "datos").string())});
  ASSERT_TRUE(demo.waitForFinished(30000));
  EXPECT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
  EXPECT_TRUE(std::filesystem::exists(carpeta.path() / "datos" / "DEMO.db"));
  EXPECT_TRUE(std::filesystem::exists(carpeta.path() / "datos" / "KV_ESTADISTICAS.db"));

  QProcess sinPantalla;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  sinPantalla.setProcessEnvironment(env);
  sinPantalla.start(Programa(), {kLineaDemo});
  ASSERT_TRUE(sinPantalla.waitForFinished(30000));
  EXPECT_EQ(sinPantalla.exitCode(), 2);
  const std::string err = sinPantalla.readAllStandardError().toStdString();
  EXPECT_NE(err.find("xvfb-run"), std::string::npos) << err;
  EXPECT_NE(err.find("QT_QPA_PLATFORM=offscreen"), std::string::npos) << err;
}

}  // namespace
}  // namespace ferolin::testing
