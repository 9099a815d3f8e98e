#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "connection_dialog/frm_acceso.h"
#include "tests/connection_dialog/dialogo_fixture.h"

namespace ferolin::testing {
namespace {

// Points the desktop at the test's folder for as long as it lives.
class EscritorioDePrueba {
 public:
  explicit EscritorioDePrueba(const std::string& home)
      : home_(Leer("HOME")), xdg_(Leer("XDG_CONFIG_HOME")) {
    os::SetEnv("HOME", home);
    os::SetEnv("XDG_CONFIG_HOME", home + "/.config");
  }
  ~EscritorioDePrueba() {
    Reponer("HOME", home_);
    Reponer("XDG_CONFIG_HOME", xdg_);
  }

 private:
  static std::optional<std::string> Leer(const char* n) {
    const char* v = std::getenv(n);
    return v ? std::optional<std::string>(v) : std::nullopt;
  }
  static void Reponer(const char* n, const std::optional<std::string>& v) {
    if (v) {
      os::SetEnv(n, *v);
    } else {
      os::UnsetEnv(n);
    }
  }
  std::optional<std::string> home_, xdg_;
};

class AccesoDirectoTest : public DialogoFixture {};

TEST_F(AccesoDirectoTest, LauncherPointsAtTheProgramAndASecondRunReplacesIt) {
  const std::string home = (carpeta.path() / "home").string();
  std::filesystem::create_directory(home);
  EscritorioDePrueba escritorio(home);
  frmAcceso w(ctx());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  const std::filesystem::path lanzador = std::filesystem::path(home) / "Desktop/Morvello.desktop";
  const std::string programa = carpeta.withSlash() + ctx().nombrePrograma;

  for (int vez = 0; vez < 2; ++vez) {
    QTest::mouseClick(w.CmdLineaComando, Qt::LeftButton);
    ASSERT_TRUE(std::filesystem::exists(lanzador)) << vez;
    std::ifstream f(lanzador);
    const std::string texto((std::istreambuf_iterator<char>(f)), {});
    EXPECT_NE(texto.find("Type=Application\n"), std::string::npos);
    EXPECT_NE(texto.find("Name=Morvello\n"), std::string::npos);
    EXPECT_NE(texto.find("Exec=\"" + programa + "\"\n"), std::string::npos) << texto;
    EXPECT_NE(texto.find("Icon=" + programa + "\n"), std::string::npos) << texto;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(lanzador.parent_path()), {}), 1);
  EXPECT_TRUE(prompt.prompts().empty());
  EXPECT_TRUE(w.isVisible());
  w.close();
}

TEST_F(AccesoDirectoTest, AFailureIsToldAndTheWindowStaysOpen) {
  // A home that is a file: no desktop folder can be made inside it.
  const std::string home = (carpeta.path() / "no_es_carpeta").string();
  std::ofstream(home) << "x";
  EscritorioDePrueba escritorio(home);
  frmAcceso w(ctx());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  prompt.Answer(ui::answer::kOk);
  QTest::mouseClick(w.CmdLineaComando, Qt::LeftButton);
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].text.rfind("No se pudo crear el acceso directo", 0), 0u);
  EXPECT_EQ(prompt.prompts()[0].icon, ui::icon::kWarning);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.Aceptar);
  w.close();
}

class EjecutarCmdRegDBTest : public DialogoFixture {};

TEST_F(EjecutarCmdRegDBTest, WaitsWithEventsRunningAndReportsThroughItsResult) {
  frmAcceso w(ctx());
  struct Caso {
    std::string comando;
    bool resultado;
    std::string error;
    bool largo = false;  // long enough for the window events to run meanwhile
  };
  const std::string marca = carpeta.withSlash() + "hecho";
  const Caso casos[] = {
      {"sh -c \"sleep 0.3; echo ok > '" + marca + "'\"", true, "antes", true},
      {"false", true, "antes"},  // it ran: its exit code is not the method's business
      {carpeta.withSlash() + "no_existe", false, "Error al ejecutar el comando"},
      {"   ", false, "Error al ejecutar el comando"},
  };
  for (const auto& c : casos) {
    bool eventos = false;
    QTimer::singleShot(0, [&eventos] { eventos = true; });
    std::string error = "antes";
    bool resultado = !c.resultado;
    w.EjecutarCmdRegDB(c.comando, error, resultado);
    EXPECT_EQ(resultado, c.resultado) << c.comando;
    EXPECT_EQ(error, c.error) << c.comando;
    if (c.largo) {
      EXPECT_TRUE(eventos) << c.comando;
    }
  }
  EXPECT_TRUE(std::filesystem::exists(marca));
}

}  // namespace
}  // namespace ferolin::testing
