// Window dressing: the skin per user and database, the toolbar style.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QToolBar>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <set>

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "outside/sistema.h"
#include "outside/util_korv.h"
#include "startup/estilo.h"
#include "startup/servicios.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"

namespace ferolin {
namespace {

namespace fs = std::filesystem;

// The shipped style sheets: Styles/ of the source tree, found upwards from
// the test executable's folder (the build folder lies inside the tree).
fs::path CarpetaEstilos() {
  for (fs::path p = QCoreApplication::applicationDirPath().toStdString(); !p.empty();
       p = p.parent_path()) {
    if (fs::exists(p / "Styles" / "Vista.qss") && fs::exists(p / "startup")) return p / "Styles";
    if (p == p.parent_path()) break;
  }
  return "Styles";
}

const fs::path& Estilos() {
  static const fs::path carpeta = CarpetaEstilos();
  return carpeta;
}

std::string Leer(const fs::path& p) {
  QFile f(QString::fromStdString(p.string()));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << p;
  return f.readAll().toStdString();
}

struct Programa {
  Programa() : ctx(prompt, carpeta.withSlash()) {
    fs::copy(Estilos(), carpeta.path() / "Styles");
    ctx.gDB().gDBName = "empresa";
  }
  void Ini(const std::string& texto) { std::ofstream(carpeta.path() / "quadrel.ini") << texto; }
  std::string Seccion(const std::string& base) {
    return texto::MayusculasUnicode(ctx.tarvex.sistema().UsuarioSistema()) + "_" + base + "Styles";
  }
  testing::TempFolder carpeta;
  testing::ScriptedPrompt prompt;
  ContextoPrograma ctx;
};

TEST(Estilos, CincoHojasDistintasQueQtAcepta) {
  std::set<std::string> contenidos;
  for (long v = 1; v <= 5; ++v) {
    const fs::path p = Estilos() / fs::path(ElegirEstilo(v).archivo).filename();
    const std::string qss = Leer(p);
    EXPECT_FALSE(qss.empty()) << p;
    contenidos.insert(qss);
    QWidget w;
    w.setStyleSheet(QString::fromStdString(qss));
    w.ensurePolished();
  }
  EXPECT_EQ(contenidos.size(), 5u);
}

TEST(AplicarEstilo, SegunUsuarioYBase) {
  Programa pr;
  pr.Ini("[" + pr.Seccion("EMPRESA") + "]\nStyles=1\n[" + pr.Seccion("OTRA") + "]\nStyles=x\n");
  QWidget w;
  AplicarEstilo(pr.ctx, w);
  EXPECT_EQ(w.styleSheet().toStdString(), Leer(Estilos() / "Vista.qss"));
  EXPECT_EQ(w.property(kPropiedadEstilo).toString(), "Styles/Vista.qss");

  pr.ctx.gDB().gDBName = "otra";
  AplicarEstilo(pr.ctx, w);
  EXPECT_EQ(w.property(kPropiedadEstilo).toString(), "Styles/Office2007.qss");

  // No key for this database: the default skin with its settings name.
  pr.ctx.gDB().gDBName = "tercera";
  AplicarEstilo(pr.ctx, w);
  EXPECT_EQ(w.property(kPropiedadEstilo).toString(), "Styles/iTunes.qss");
  EXPECT_EQ(w.property(kPropiedadOpcionesEstilo).toString(), "Normalitunes.ini");
  EXPECT_EQ(w.styleSheet().toStdString(), Leer(Estilos() / "iTunes.qss"));
}

TEST(AplicarEstilo, SinArchivoDeEstiloFallaAlLlamador) {
  Programa pr;
  fs::remove(pr.carpeta.path() / "Styles" / "iTunes.qss");
  QWidget w;
  EXPECT_THROW(AplicarEstilo(pr.ctx, w), std::runtime_error);
  EXPECT_TRUE(w.styleSheet().isEmpty());
}

TEST(AplicarIconoYBarras, EstiloDeLasBarrasConocidas) {
  Programa pr;
  pr.ctx.gFlatToolbars = 0;
  QWidget w;
  auto* korv = new outside::UtilKorv(&w);
  auto* rep = new QToolBar(&w);
  rep->setObjectName("TBarRep1");
  auto* otra = new QToolBar(&w);
  otra->setObjectName("Otra");
  ASSERT_EQ(korv->StyleBar(), 1);
  AplicarIconoYBarras(pr.ctx, w);
  EXPECT_EQ(korv->StyleBar(), 0);
  EXPECT_EQ(rep->property("StyleBar").toInt(), 0);
  EXPECT_FALSE(otra->property("StyleBar").isValid());
  EXPECT_TRUE(pr.prompt.prompts().empty());
}

}  // namespace
}  // namespace ferolin
