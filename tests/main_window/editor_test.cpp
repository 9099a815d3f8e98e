// Editing in place: opening the editor, confirming keys, row keys, the code
// check, and the comment column's decimal separator.

#include <QPushButton>

#include "outside/teclado.h"
#include "tests/main_window/ventana_fixture.h"

namespace ferolin::testing {
namespace {

class Editor : public VentanaTest {
 protected:
  void SetUp() override {
    Abrir();
    IrA(1, 0);
  }
  // Fills rows from (1, 0) by typing code, Enter, comment, Enter.
  void Llenar(const std::vector<std::pair<std::string, std::string>>& filas) {
    for (const auto& [codigo, comentario] : filas) {
      Entrar(codigo);
      Entrar(comentario);
    }
  }
};

TEST_F(Editor, CodigoYComentarioLlenanLaFilaYAgreganOtra) {
  Entrar("1001");
  EXPECT_EQ(grilla().Row(), 1);
  EXPECT_EQ(grilla().Col(), 2);
  EXPECT_FALSE(editor().Mostrado());
  Entrar("nota");
  EXPECT_EQ(grilla().Row(), 2);
  EXPECT_EQ(grilla().Col(), 0);
  Entrar("1002 ");  // typed blanks are kept in the cell; the check trims its own copy
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"1001", "Cliente Uno", "nota"},
                                              {"1002 ", "Cliente Dos", ""}}));
  EXPECT_EQ(grilla().Col(), 2);
  EXPECT_TRUE(prompt.prompts().empty());
}

TEST_F(Editor, CodigoInexistenteAvisaYElEditorQuedaAbierto) {
  Llenar({{"1001", "a"}});
  IrA(1, 0);
  prompt.Answer(ui::answer::kOk);
  Teclear("7777");
  Tecla(Qt::Key_Return);
  EXPECT_EQ(Mensajes(kNoExiste), 1);
  EXPECT_TRUE(editor().Mostrado());
  EXPECT_EQ(editor().Texto(), "7777");
  EXPECT_EQ(Filas()[0], (FilaGrilla{"1001", "Cliente Uno", "a"}));
  // Emptying the code and confirming blanks the whole row, without a message.
  for (int i = 0; i < 4; ++i) Tecla(Qt::Key_Backspace);
  Tecla(Qt::Key_Return);
  EXPECT_EQ(Filas()[0], (FilaGrilla{"", "", ""}));
  EXPECT_EQ(Mensajes(kNoExiste), 1);
}

TEST_F(Editor, ClicEnOtraCeldaCopiaElCodigoSinRevisarlo) {
  Llenar({{"1001", "a"}});
  IrA(1, 0);
  prompt.Answer(ui::answer::kOk);
  Entrar("7777");
  const QRect celda = grilla().visualRect(grilla().model()->index(1, 0));
  QTest::mouseClick(grilla().viewport(), Qt::LeftButton, {}, celda.center());
  EXPECT_FALSE(editor().Mostrado());
  EXPECT_EQ(Filas()[0], (FilaGrilla{"7777", "Cliente Uno", "a"}));
  EXPECT_EQ(grilla().Row(), 2);
  EXPECT_EQ(Mensajes(kNoExiste), 1);
}

TEST_F(Editor, EscapeConfirmaElCodigoPeroNoMueve) {
  Teclear("1001");
  Tecla(Qt::Key_Escape);
  EXPECT_FALSE(editor().Mostrado());
  EXPECT_EQ(Filas()[0], (FilaGrilla{"1001", "Cliente Uno", ""}));
  EXPECT_EQ(grilla().Col(), 0);
  // Escape on an emptied code blanks the row, comment included.
  IrA(1, 2);
  Entrar("nota");
  IrA(1, 0);
  Tecla(Qt::Key_Return);  // opens with the cell's text
  for (int i = 0; i < 4; ++i) Tecla(Qt::Key_Backspace);
  Tecla(Qt::Key_Escape);
  EXPECT_EQ(Filas()[0], (FilaGrilla{"", "", ""}));
}

TEST_F(Editor, TeclaImprimibleReemplazaEnterEspacioYDobleClicEditan) {
  Llenar({{"1001", "a"}});
  struct Caso {
    const char* nombre;
    std::function<void()> abrir;
    std::string texto;
  };
  const std::vector<Caso> casos = {
      {"letra", [this] { Teclear("Z"); }, "Z"},
      {"Enter", [this] { Tecla(Qt::Key_Return); }, "1001"},
      {"espacio", [this] { Tecla(Qt::Key_Space); }, "1001"},
      {"doble clic",
       [this] {
         const QRect celda = grilla().visualRect(grilla().model()->index(0, 0));
         QTest::mouseClick(grilla().viewport(), Qt::LeftButton, {}, celda.center());
         QTest::mouseDClick(grilla().viewport(), Qt::LeftButton, {}, celda.center());
       },
       "1001"},
  };
  for (const auto& c : casos) {
    IrA(1, 0);
    c.abrir();
    EXPECT_TRUE(editor().Mostrado()) << c.nombre;
    EXPECT_EQ(editor().Texto(), c.texto) << c.nombre;
    EXPECT_EQ(editor().cursorPosition(), static_cast<int>(c.texto.size())) << c.nombre;
    EXPECT_EQ(editor().geometry().topLeft(), grilla().pos() + grilla().CeldaActual().topLeft())
        << c.nombre;
    editor().SetTexto("1001");  // Escape runs the check: leave a valid code behind
    Tecla(Qt::Key_Escape);
    ASSERT_FALSE(editor().Mostrado()) << c.nombre;
  }
}

TEST_F(Editor, LaDescripcionNoSeEdita) {
  Llenar({{"1001", "a"}});
  IrA(1, 1);
  Teclear("x");
  Tecla(Qt::Key_Return);
  EXPECT_FALSE(editor().Mostrado());
  EXPECT_EQ(Filas()[0], (FilaGrilla{"1001", "Cliente Uno", "a"}));
}

TEST_F(Editor, ArribaYAbajoConfirmanYMueven) {
  Llenar({{"1001", "a"}, {"1002", "b"}});
  IrA(2, 2);
  Teclear("x");
  Tecla(Qt::Key_Up);
  EXPECT_EQ(Filas()[1][2], "x");
  EXPECT_EQ(grilla().Row(), 1);
  EXPECT_EQ(grilla().Col(), 2);
  Tecla(Qt::Key_Space);
  Tecla(Qt::Key_Up);  // first data row: stays
  EXPECT_EQ(grilla().Row(), 1);
  Tecla(Qt::Key_Space);
  Tecla(Qt::Key_Down);  // down goes to the code column
  EXPECT_EQ(grilla().Row(), 2);
  EXPECT_EQ(grilla().Col(), 0);
  IrA(3, 0);
  Tecla(Qt::Key_Space);
  Tecla(Qt::Key_Down);  // last row: stays
  EXPECT_EQ(grilla().Row(), 3);
  EXPECT_EQ(grilla().Rows(), 4);
}

TEST_F(Editor, InsertarBorrarYFinEnLaGrilla) {
  Llenar({{"1001", "a"}, {"1002", "b"}});
  IrA(2, 0);
  Tecla(Qt::Key_Insert);
  EXPECT_EQ(grilla().Row(), 2);
  EXPECT_EQ(
      Filas(),
      (std::vector<FilaGrilla>{
          {"1001", "Cliente Uno", "a"}, {"", "", ""}, {"1002", "Cliente Dos", "b"}, {"", "", ""}}));
  Tecla(Qt::Key_Delete);
  Tecla(Qt::Key_Delete);
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"1001", "Cliente Uno", "a"}, {"", "", ""}}));
  Tecla(Qt::Key_Delete);
  IrA(1, 0);
  Tecla(Qt::Key_Delete);  // the only data row is blanked, not removed
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"", "", ""}}));
  EXPECT_TRUE(Almacenadas().empty());
  Tecla(Qt::Key_End);
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(&ventana->CmdBuscar()));
}

TEST_F(Editor, ComentarioAdmiteUnSoloSeparadorDecimal) {
  const char sep = ctx->tarvex.teclado().SeparadorDecimal().at(0);
  Entrar("1001");
  Teclear("1,5.3");
  EXPECT_EQ(editor().Texto(), std::string("1") + sep + "53");
  Tecla(Qt::Key_Return);
  // The code column takes both characters as typed.
  IrA(2, 0);
  Teclear("1.5,3");
  EXPECT_EQ(editor().Texto(), "1.5,3");
}

TEST_F(Editor, ApostrofesEnElCodigoSeBuscanTalCual) {
  db.exec("INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('O''B', 'Con apostrofe')");
  prompt.Answer(ui::answer::kOk);
  Entrar("'OR''='");  // would match every account if it ended the quoted text
  EXPECT_EQ(Mensajes(kNoExiste), 1);
  EXPECT_EQ(Filas()[0], (FilaGrilla{"", "", ""}));
  for (int i = 0; i < 7; ++i) Tecla(Qt::Key_Backspace);
  Entrar("O'B");
  EXPECT_EQ(Filas()[0], (FilaGrilla{"O'B", "Con apostrofe", ""}));
}

TEST_F(Editor, TecleoLimitadoAQuinceCaracteres) {
  Teclear("12345678901234567890");
  EXPECT_EQ(editor().Texto(), "123456789012345");
}

}  // namespace
}  // namespace ferolin::testing
