// Loading the stored list into the grid through the editor path.

#include "tests/main_window/ventana_fixture.h"

namespace ferolin::testing {
namespace {

class Carga : public VentanaTest {};

TEST_F(Carga, FilasEnOrdenDeClaveConDescripcionYComentarioMasUnaVacia) {
  Guardar({{"9 ", "nueve"}, {"1001 ", "\x01"}, {"10 ", "diez, 1.5"}, {" A B ", ""}});
  Abrir();
  // Key order, compared as text: the blank before "A B" sorts first, 10 before 9.
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"A B", "Con blanco", ""},
                                              {"10", "Cliente Diez", "diez, 1.5"},
                                              {"1001", "Cliente Uno", ""},
                                              {"9", "Cliente Nueve", "nueve"},
                                              {"", "", ""}}));
  EXPECT_EQ(grilla().Row(), 5);
  EXPECT_EQ(grilla().Col(), 0);
  EXPECT_FALSE(editor().Mostrado());
  EXPECT_EQ(grilla().TextMatrix(0, 0), "Codigo");
  EXPECT_EQ(grilla().TextMatrix(0, 1), "Descripcion");
  EXPECT_EQ(grilla().TextMatrix(0, 2), "Comentarios");
  EXPECT_TRUE(prompt.prompts().empty());
}

TEST_F(Carga, SinEntradasQuedaUnaFilaVacia) {
  Abrir();
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"", "", ""}}));
}

TEST_F(Carga, CodigoDuplicadoCargaDosFilas) {
  Guardar({{"1001 ", "a"}, {" 1001 ", "b"}});
  Abrir();
  EXPECT_EQ(Filas(),
            (std::vector<FilaGrilla>{
                {"1001", "Cliente Uno", "b"}, {"1001", "Cliente Uno", "a"}, {"", "", ""}}));
}

TEST_F(Carga, CodigoInexistenteAvisaYLaEntradaSiguienteLoReemplaza) {
  Guardar({{"1001 ", "a"}, {"1500 ", "perdido"}, {"2001 ", "c"}});
  prompt.Answer(ui::answer::kOk);
  Abrir();
  EXPECT_EQ(Mensajes(kNoExiste), 1);
  EXPECT_EQ(prompt.prompts()[0].title, "Aviso al operador");
  EXPECT_EQ(prompt.prompts()[0].icon, ui::icon::kCritical);
  EXPECT_EQ(Filas(),
            (std::vector<FilaGrilla>{
                {"1001", "Cliente Uno", "a"}, {"2001", "Otro Cliente", "c"}, {"", "", ""}}));
}

TEST_F(Carga, UltimoCodigoInexistenteQuedaSinDescripcionNiComentario) {
  Guardar({{"1001 ", "a"}, {"8888 ", "perdido"}});
  prompt.Answer(ui::answer::kOk);
  Abrir();
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"1001", "Cliente Uno", "a"}, {"8888", "", ""}}));
}

TEST_F(Carga, ClaveSinCodigoDejaFilaEnBlancoConSuComentario) {
  Guardar({{"", "huérfano"}, {"1001 ", "a"}});
  Abrir();
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{
                         {"", "", "huérfano"}, {"1001", "Cliente Uno", "a"}, {"", "", ""}}));
}

TEST_F(Carga, ListaIlegibleSeInformaYLaVentanaAbreVacia) {
  db.exec("DROP TABLE TA_CONFIGURACION");
  // The failure is reported (by the data-access layer, or by the window when
  // it reaches it); the operator gives up.
  prompt.requireAllUsed = false;
  prompt.Answer(ui::answer::kAbort).Answer(ui::answer::kAbort);
  Abrir();
  EXPECT_GE(prompt.prompts().size(), 1u);
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"", "", ""}}));
  EXPECT_TRUE(ventana->isVisible());
}

}  // namespace
}  // namespace ferolin::testing
