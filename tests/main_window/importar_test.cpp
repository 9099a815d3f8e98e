// Import from a text file: question, file dialog, separators, line ends and
// encodings, through the editor path.

#include <fstream>

#include "tests/main_window/ventana_fixture.h"

namespace ferolin::testing {
namespace {

constexpr const char* kPregunta =
    "El archivo debe tener el Codigo actual coma comentarios(2 campos separado por coma (,) o "
    "punto y coma ( ; ) o tab)\r\n¿Realmente desea cargar un archivo?";

class Importar : public VentanaTest {
 protected:
  void SetUp() override {
    Guardar({{"1001 ", "viejo"}, {"1002 ", "b"}, {"2001 ", "c"}});
    Abrir();
  }
  std::string Archivo(const std::string& bytes) {
    const auto ruta = db.folder() / "lista.txt";
    std::ofstream(ruta, std::ios::binary) << bytes;
    return ruta.string();
  }
  // Answers the question and the dialog, then the code messages expected.
  void Importar_(const std::string& ruta, int avisos = 0) {
    prompt.Answer(ui::answer::kYes).AnswerFile(ruta);
    for (int i = 0; i < avisos; ++i) prompt.Answer(ui::answer::kOk);
    ventana->CmdBuscar_Click();
  }
};

TEST_F(Importar, SeparadoresFinesDeLineaYCodificaciones) {
  const std::vector<FilaGrilla> dosLineas = {{"10", "Cliente Diez", "x"},
                                             {"9", "Cliente Nueve", "y"},
                                             {"2001", "Otro Cliente", "c"},
                                             {"", "", ""}};
  struct Caso {
    const char* nombre;
    std::string bytes;
    std::vector<FilaGrilla> filas;
    int avisos;
  };
  const std::vector<Caso> casos = {
      {"coma CRLF", "10,x\r\n9,y\r\n", dosLineas, 0},
      {"punto y coma y tab", "10;x\r\n9\ty\r\n", dosLineas, 0},
      {"solo LF", "10,x\n9,y\n", dosLineas, 0},
      {"solo CR, sin fin de linea final", "10,x\r9,y", dosLineas, 0},
      {"lineas vacias y sin separador", "\r\nnada\r\n10,x\r\n\r\n9,y", dosLineas, 0},
      {"codigo inexistente no avanza", "10,x\r\n1001;a,b\r\n9,y\r\n", dosLineas, 1},
      {"solo separador blanquea la fila",
       ",\r\n9,y\r\n",
       {{"", "", ""}, {"9", "Cliente Nueve", "y"}, {"2001", "Otro Cliente", "c"}, {"", "", ""}},
       0},
      {"Windows-1252",
       "10,Se\xF1"
       "al\r\n",
       {{"10", "Cliente Diez", "Señal"},
        {"1002", "Cliente Dos", "b"},
        {"2001", "Otro Cliente", "c"},
        {"", "", ""}},
       0},
      {"UTF-8 con BOM, mas largo que la lista",
       "\xEF\xBB\xBF"
       "1001,ñ\r\n1002,2\r\n2001,3\r\n9,4\r\n",
       {{"1001", "Cliente Uno", "ñ"},
        {"1002", "Cliente Dos", "2"},
        {"2001", "Otro Cliente", "3"},
        {"9", "Cliente Nueve", "4"},
        {"", "", ""}},
       0},
  };
  for (const auto& c : casos) {
    prompt.clear();
    Importar_(Archivo(c.bytes), c.avisos);
    EXPECT_EQ(Filas(), c.filas) << c.nombre;
    EXPECT_EQ(Mensajes(kNoExiste), c.avisos) << c.nombre;
    EXPECT_EQ(Almacenadas().size(), 3u) << c.nombre;  // only GRABAR stores
  }
}

TEST_F(Importar, PreguntaYDialogo) {
  prompt.Answer(ui::answer::kNo);
  IrA(2, 2);
  Entrar("cambio");
  ventana->CmdBuscar_Click();
  ASSERT_EQ(prompt.prompts().size(), 1u);
  const auto& p = prompt.prompts()[0];
  EXPECT_EQ(p.text, kPregunta);
  EXPECT_EQ(p.title, "Aviso al Operador");
  EXPECT_EQ(p.buttons, ui::buttons::kYesNo);
  EXPECT_EQ(p.icon, ui::icon::kQuestion);
  EXPECT_EQ(p.defaultButton, 0);
  EXPECT_EQ(Filas()[1][2], "cambio");  // No: nothing happens

  // A cancelled dialog still leaves the stored list reloaded, row 1 current.
  prompt.clear();
  prompt.Answer(ui::answer::kYes).AnswerFile(std::nullopt);
  ventana->CmdBuscar_Click();
  ASSERT_EQ(prompt.prompts().size(), 2u);
  EXPECT_EQ(prompt.prompts()[1].text, "Importación de Archivos");
  EXPECT_EQ(Filas()[1][2], "b");
  EXPECT_EQ(grilla().Row(), 1);
}

TEST_F(Importar, ArchivoIlegibleSeInformaYSeAbandona) {
  prompt.Answer(ui::answer::kYes)
      .AnswerFile((db.folder() / "no-existe.txt").string())
      .Answer(ui::answer::kAbort);  // ManejarError
  ventana->CmdBuscar_Click();
  ASSERT_EQ(prompt.prompts().size(), 3u);
  EXPECT_EQ(prompt.prompts()[2].buttons, ui::buttons::kAbortRetryIgnore);
  EXPECT_EQ(Filas()[0], (FilaGrilla{"1001", "Cliente Uno", "viejo"}));
}

}  // namespace
}  // namespace ferolin::testing
