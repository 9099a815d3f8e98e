#include "outside/util_korv.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <set>

#include "outside/dialogo_archivo.h"
#include "outside/utilidades.h"
#include "tests/support/scripted_prompt.h"

namespace ferolin::outside {
namespace {

QStringList Words(const QSignalSpy& spy) {
  QStringList words;
  for (const auto& args : spy) words << args.at(0).toString();
  return words;
}

TEST(UtilKorv, HasTheEightButtonsWithCaptionsAndKeysInTheirToolTips) {
  UtilKorv bar;
  EXPECT_EQ(bar.objectName(), "UtilKorv1");
  std::set<int> keys;
  for (const auto& c : UtilKorv::Comandos()) {
    QToolButton* b = bar.Boton(QString::fromLatin1(c.palabra).toLower());
    ASSERT_NE(b, nullptr) << c.palabra;
    EXPECT_EQ(b->text(), QString::fromUtf8(c.titulo));
    EXPECT_TRUE(b->toolTip().startsWith(QString::fromUtf8(c.titulo) + " (F")) << c.palabra;
    keys.insert(c.tecla);
  }
  EXPECT_EQ(UtilKorv::Comandos().size(), 8u);
  EXPECT_EQ(keys.size(), 8u) << "two buttons share a key";
  // Keys the editor, grid and lookups use stay free.
  for (int used : {8, 13, 27, 32, 35, 37, 38, 39, 40, 45, 46, 116, 123}) {
    EXPECT_EQ(keys.count(used), 0u) << used;
  }
  EXPECT_EQ(bar.Boton("OTRA"), nullptr);
}

TEST(UtilKorv, AClickAndABoundKeyRaiseTheWord) {
  QMainWindow window;
  auto* bar = new UtilKorv(&window);
  window.addToolBar(bar);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QSignalSpy spy(bar, &UtilKorv::ComandoBarra);

  QTest::mouseClick(bar->Boton("GRABAR"), Qt::LeftButton);
  QTest::mouseClick(bar->Boton("CANCELAR"), Qt::LeftButton);
  EXPECT_EQ(Words(spy), (QStringList{"GRABAR", "CANCELAR"}));

  spy.clear();
  for (const auto& c : UtilKorv::Comandos()) {
    int key = c.tecla;
    bar->EnviarTecla(key);
    EXPECT_EQ(key, 0) << c.palabra;
  }
  QStringList all;
  for (const auto& c : UtilKorv::Comandos()) all << c.palabra;
  EXPECT_EQ(Words(spy), all);
}

TEST(UtilKorv, EnviarTeclaLeavesOtherKeysAlone) {
  UtilKorv bar;
  QSignalSpy spy(&bar, &UtilKorv::ComandoBarra);
  for (int key : {0, 8, 9, 13, 27, 32, 35, 38, 40, 45, 46, 65, 112, 116, 123}) {
    int k = key;
    bar.EnviarTecla(k);
    EXPECT_EQ(k, key);
  }
  EXPECT_EQ(spy.count(), 0);

  // A disabled command does not take its key either.
  bar.HabilitarComando("grabar", false);
  int grabar = 0;
  for (const auto& c : UtilKorv::Comandos()) {
    if (QString(c.palabra) == "GRABAR") grabar = c.tecla;
  }
  int k = grabar;
  bar.EnviarTecla(k);
  EXPECT_EQ(k, grabar);
  EXPECT_EQ(spy.count(), 0);
}

TEST(UtilKorv, StyleBarSwitchesFlatAndRaisedButtons) {
  UtilKorv bar;
  EXPECT_TRUE(bar.setProperty("StyleBar", 0));
  EXPECT_EQ(bar.StyleBar(), 0);
  EXPECT_FALSE(bar.Boton("NUEVO")->autoRaise());
  bar.setProperty("StyleBar", 1);
  EXPECT_TRUE(bar.Boton("NUEVO")->autoRaise());
  bar.SetStyleBar(-1);  // a stored True
  EXPECT_TRUE(bar.Boton("CERRAR")->autoRaise());
}

TEST(DialogoArchivo, PassesTitleAndFilterAndKeepsTheChoice) {
  testing::ScriptedPrompt prompt;
  DialogoArchivo dlg(prompt);
  dlg.Titulo = "Buscar Base de Datos";
  dlg.Filtro = "Base de Datos de Microsoft Access |*.MDB";
  prompt.AnswerFile("/datos/empresa.mdb").AnswerFile(std::nullopt);

  dlg.MostrarAbrir();
  EXPECT_FALSE(dlg.Cancelado());
  EXPECT_EQ(dlg.NombreArchivo(), "/datos/empresa.mdb");
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].text, "Buscar Base de Datos");
  EXPECT_EQ(prompt.prompts()[0].title, "Base de Datos de Microsoft Access |*.MDB");

  dlg.MostrarAbrir();
  EXPECT_TRUE(dlg.Cancelado());
  EXPECT_EQ(dlg.NombreArchivo(), "");
}

TEST(PrepararVentana, CentresAWindowAndKeepsItOnTheScreen) {
  testing::ScriptedPrompt prompt;
  const Utilidades u(prompt);
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QWidget window;
  window.resize(200, 100);
  window.move(area.right() + 500, area.bottom() + 500);
  u.PrepararVentana(&window, 0);
  EXPECT_LE(std::abs(window.frameGeometry().center().x() - area.center().x()), 1);
  EXPECT_LE(std::abs(window.frameGeometry().center().y() - area.center().y()), 1);

  window.move(area.right() - 50, area.top() + 10);
  u.PrepararVentana(&window, 1);  // position kept, but pulled inside
  EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().x();
  EXPECT_EQ(window.frameGeometry().top(), area.top() + 10);

  u.PrepararVentana(nullptr, 0);  // nothing to prepare
}

}  // namespace
}  // namespace ferolin::outside
