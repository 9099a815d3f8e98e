#include "platform/ui/qt_prompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace ferolin::ui {
namespace {

struct StyleCase {
  int style;
  MessageStyle parts;
};

TEST(MessageStyle, SplitsTheCode) {
  for (const auto& [style, want] : std::vector<StyleCase>{
           {0, {0, 0, 0}},
           {2 + 16, {2, 16, 0}},
           {4 + 32 + 256, {4, 32, 1}},
           {64, {0, 64, 0}},
           {3 + 48 + 512, {3, 48, 2}},
       }) {
    const auto got = MessageStyle::FromCode(style);
    EXPECT_EQ(got.buttons, want.buttons) << style;
    EXPECT_EQ(got.icon, want.icon) << style;
    EXPECT_EQ(got.defaultButton, want.defaultButton) << style;
  }
}

struct BoxCase {
  int style;
  std::vector<std::pair<QString, int>> buttons;  // caption, answer, original order
  QString defaultCaption;
  QMessageBox::Icon icon;
};

class MessageBoxTable : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTable, CaptionsAnswersIconAndDefault) {
  const auto& c = GetParam();
  QMessageBox box;
  ConfigureMessageBox(box, "texto", c.style, "Aviso al Operador");
  EXPECT_EQ(box.icon(), c.icon);
  ASSERT_EQ(box.buttons().size(), static_cast<qsizetype>(c.buttons.size()));
  for (const auto& [caption, code] : c.buttons) {
    const QAbstractButton* found = nullptr;
    for (const QAbstractButton* b : box.buttons()) {
      if (b->text() == caption) found = b;
    }
    ASSERT_NE(found, nullptr) << caption.toStdString();
    EXPECT_EQ(AnswerOf(found), code) << caption.toStdString();
  }
  ASSERT_NE(box.defaultButton(), nullptr);
  EXPECT_EQ(box.defaultButton()->text(), c.defaultCaption);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxTable,
    ::testing::Values(
        BoxCase{0, {{"Aceptar", 1}}, "Aceptar", QMessageBox::NoIcon},
        BoxCase{64, {{"Aceptar", 1}}, "Aceptar", QMessageBox::Information},
        BoxCase{1 + 48, {{"Aceptar", 1}, {"Cancelar", 2}}, "Aceptar", QMessageBox::Warning},
        BoxCase{2 + 16,
                {{"Anular", 3}, {"Reintentar", 4}, {"Omitir", 5}},
                "Anular",
                QMessageBox::Critical},
        BoxCase{2 + 16 + 256,
                {{"Anular", 3}, {"Reintentar", 4}, {"Omitir", 5}},
                "Reintentar",
                QMessageBox::Critical},
        BoxCase{3 + 32 + 512,
                {{"Sí", 6}, {"No", 7}, {"Cancelar", 2}},
                "Cancelar",
                QMessageBox::Question},
        BoxCase{4 + 32 + 256, {{"Sí", 6}, {"No", 7}}, "No", QMessageBox::Question},
        BoxCase{5, {{"Reintentar", 4}, {"Cancelar", 2}}, "Reintentar", QMessageBox::NoIcon},
        // A default beyond the set falls back to the first button.
        BoxCase{512, {{"Aceptar", 1}}, "Aceptar", QMessageBox::NoIcon}));

TEST(MessageBoxText, IsPlainTextWithTheSuitesLineBreaks) {
  QMessageBox box;
  ConfigureMessageBox(box, "Opcion no Implementada!\rComuniquese <b>ya</b>", 16, "");
  EXPECT_EQ(box.text(), "Opcion no Implementada!\nComuniquese <b>ya</b>");
  EXPECT_EQ(box.textFormat(), Qt::PlainText);
  EXPECT_EQ(box.windowTitle(), QCoreApplication::applicationName());
}

// Runs act on the modal dialog once it is shown.
void WhenModalShown(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = nullptr;
    for (int i = 0; i < 200 && modal == nullptr; ++i) {
      modal = QApplication::activeModalWidget();
      if (modal == nullptr) QTest::qWait(10);
    }
    ASSERT_NE(modal, nullptr) << "no dialog was shown";
    act(modal);
    // A failed check inside act must not leave the test waiting on the dialog.
    if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible()) {
      ADD_FAILURE() << "the dialog was not answered";
      dialog->reject();
    }
  });
}

QPushButton* ButtonCaptioned(QWidget* dialog, const QString& caption) {
  for (auto* b : dialog->findChildren<QPushButton*>()) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

TEST(QtOperatorPrompt, ShowsTheBoxAndReturnsTheClickedAnswer) {
  QtOperatorPrompt prompt;
  for (const auto& [caption, code] :
       std::vector<std::pair<QString, int>>{{"Reintentar", 4}, {"Omitir", 5}, {"Anular", 3}}) {
    QStringList captions;
    QString defaultCaption, title, text;
    WhenModalShown([&, caption = caption](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      for (auto* b : box->buttons()) captions << b->text();
      defaultCaption = box->defaultButton() ? box->defaultButton()->text() : QString();
      title = box->windowTitle();
      text = box->text();
      QPushButton* b = ButtonCaptioned(box, caption);
      ASSERT_NE(b, nullptr);
      QTest::mouseClick(b, Qt::LeftButton);
    });
    EXPECT_EQ(prompt.Message("Error 3709\rEn: EditKeyCode", 2 + 16 + 256, "Aviso al Operador"),
              code);
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"Anular", "Omitir", "Reintentar"}));
    EXPECT_EQ(defaultCaption, "Reintentar");
    EXPECT_EQ(title, "Aviso al Operador");
    EXPECT_EQ(text, "Error 3709\nEn: EditKeyCode");
  }
}

TEST(QtOperatorPrompt, EnterTakesTheDefaultAndEscapeTheCancellingAnswer) {
  QtOperatorPrompt prompt;
  WhenModalShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
  EXPECT_EQ(prompt.Message("¿Realmente desea abandonar la carga de datos?", 4 + 32 + 256,
                           "Aviso al Operador"),
            answer::kNo);
  WhenModalShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(prompt.Message("¿Seguro?", 4 + 32, "Aviso"), answer::kNo);
  WhenModalShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(prompt.Message("x", 1, "Aviso"), answer::kCancel);
}

TEST(QtOperatorPrompt, InputReturnsTheTextOrNothingWhenCancelled) {
  QtOperatorPrompt prompt;
  WhenModalShown([](QWidget* w) {
    auto* edit = w->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "inicial");
    edit->setText("clave nueva");
    QPushButton* ok = ButtonCaptioned(w, "Aceptar");
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  EXPECT_EQ(prompt.Input("Ingrese la clave", "Clave", "inicial"), "clave nueva");

  WhenModalShown([](QWidget* w) {
    QPushButton* cancel = ButtonCaptioned(w, "Cancelar");
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
  });
  EXPECT_EQ(prompt.Input("Ingrese la clave", "Clave"), std::nullopt);
}

TEST(QtOperatorPrompt, OpenFileCancelledGivesNothing) {
  QtOperatorPrompt prompt;
  WhenModalShown([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(
      prompt.OpenFile({"Buscar Base de Datos", "Base de Datos de Microsoft Access |*.MDB", ""}),
      std::nullopt);
}

TEST(QtFileFilter, ConvertsTheSuitesFilters) {
  for (const auto& [suite, qt] : std::vector<std::pair<std::string, std::string>>{
           {"", ""},
           {"Base de Datos de Microsoft Access |*.MDB",
            "Base de Datos de Microsoft Access (*.MDB *.mdb)"},
           {"Textos|*.txt;*.csv|Todos|*.*", "Textos (*.txt *.TXT *.csv *.CSV);;Todos (*.*)"},
           {"*.ini", "*.ini (*.ini *.INI)"},
           {"Solo descripcion", ""},
       }) {
    EXPECT_EQ(QtFileFilter(suite), qt) << suite;
  }
}

}  // namespace
}  // namespace ferolin::ui
