// Saving: the grid replaces the stored list in one transaction, then GRABAR
// reloads it.

#include <QLabel>
#include <algorithm>

#include "tests/main_window/ventana_fixture.h"

namespace ferolin::testing {
namespace {

class Grabar : public VentanaTest {
 protected:
  void Poner(const std::vector<FilaGrilla>& filas) {
    grilla().SetRows(static_cast<int>(filas.size()) + 1);
    for (int r = 0; r < static_cast<int>(filas.size()); ++r) {
      for (int c = 0; c < 3; ++c) grilla().SetTextMatrix(r + 1, c, filas[r][c]);
    }
  }
  using Almacen = std::vector<std::pair<std::string, std::string>>;
};

TEST_F(Grabar, GuardaRecortadoSinFilasSinCodigoYRecarga) {
  Guardar({{"2001 ", "viejo"}});
  Abrir();
  Poner({{" 1001 ", "x", "  it's ok  "},
         {"", "", "solo comentario"},
         {"1002", "", "Rev 'B'"},
         {"", "", ""}});
  Comando("GRABAR");
  EXPECT_EQ(Almacenadas(), (Almacen{{"FEROLIN_1001 ", "it's ok"}, {"FEROLIN_1002 ", "Rev 'B'"}}));
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"1001", "Cliente Uno", "it's ok"},
                                              {"1002", "Cliente Dos", "Rev 'B'"},
                                              {"", "", ""}}));
  EXPECT_EQ(ventana->LblMuestra().text(), "");
  EXPECT_TRUE(prompt.prompts().empty());
}

TEST_F(Grabar, GrillaVaciaBorraLaLista) {
  Guardar({{"1001 ", "a"}, {"1002 ", "b"}});
  Abrir();
  IrA(1, 0);
  for (int i = 0; i < 3; ++i) Tecla(Qt::Key_Delete);
  Comando("grabar");
  EXPECT_TRUE(Almacenadas().empty());
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"", "", ""}}));
}

// With and without a savepoint around each insert (the PostgreSQL protocol,
// which the embedded engine also speaks).
class GrabarRechazos : public Grabar, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(PuntoDeGuardado, GrabarRechazos, ::testing::Bool());

TEST_P(GrabarRechazos, FilaRechazadaSeInformaUnaVezYElRestoSeGuarda) {
  puntoDeGuardadoPorFila = GetParam();
  db.exec(
      "CREATE TRIGGER rechazo BEFORE INSERT ON TA_CONFIGURACION WHEN NEW.CLAVE = 'FEROLIN_1002 ' "
      "BEGIN SELECT RAISE(ABORT, 'cuenta rechazada'); END;");
  Abrir();
  // 1001 twice: the key refuses the second; 1002: the trigger refuses it;
  // 1003: its comment does not fit the column.
  Poner({{"1001", "", "a"},
         {"1002", "", "b"},
         {"1001", "", "c"},
         {"1003", "", std::string(300, 'x')},
         {"2001", "", "d"}});
  prompt.Answer(ui::answer::kOk).Answer(ui::answer::kOk).Answer(ui::answer::kOk);
  Comando("GRABAR");
  EXPECT_EQ(Almacenadas(), (Almacen{{"FEROLIN_1001 ", "a"}, {"FEROLIN_2001 ", "d"}}));
  ASSERT_EQ(prompt.prompts().size(), 3u);
  EXPECT_NE(prompt.prompts()[0].text.find("cuenta rechazada"), std::string::npos);
  EXPECT_EQ(prompt.prompts()[0].title, ctx->nombrePrograma);
  EXPECT_EQ(prompt.prompts()[0].buttons, ui::buttons::kOk);
  EXPECT_EQ(prompt.prompts()[0].icon, 0);
  EXPECT_EQ(prompt.prompts()[1].text.find("cuenta rechazada"), std::string::npos);
  EXPECT_EQ(prompt.prompts()[2].text.find("cuenta rechazada"), std::string::npos);
}

// A long list goes to the database in blocks of rows. Refusals anywhere in
// it are still reported one by one, in grid order, and every other row is
// saved with its own comment; a row whose text could change how its
// statement is read is saved alone, in its place.
TEST_P(GrabarRechazos, ListaLargaGuardaTodoSalvoLoRechazado) {
  puntoDeGuardadoPorFila = GetParam();
  db.exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 450) "
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) SELECT 'C' || i, 'Cuenta ' || i FROM n");
  Abrir();
  std::vector<FilaGrilla> filas;
  for (int i = 1; i <= 450; ++i) {
    filas.push_back({"C" + std::to_string(i), "", "c" + std::to_string(i)});
  }
  filas[99] = {"", "", "sin codigo"};
  filas[249][2] = "DROP y CREATE de MA_CUENTAS";
  filas[299] = {"C5", "", "repetido en otro bloque"};
  filas[309] = {"C305", "", "repetido en el mismo bloque"};
  filas[419][2] = std::string(300, 'x');
  Poner(filas);
  Almacen esperado;
  prompt.Answer(ui::answer::kOk).Answer(ui::answer::kOk).Answer(ui::answer::kOk);
  for (int i = 1; i <= 450; ++i) {
    if (i == 100 || i == 300 || i == 310 || i == 420) continue;
    esperado.emplace_back("FEROLIN_C" + std::to_string(i) + " ", filas[i - 1][2]);
  }
  std::sort(esperado.begin(), esperado.end());
  Comando("GRABAR");
  EXPECT_EQ(Almacenadas(), esperado);
  ASSERT_EQ(prompt.prompts().size(), 3u);
  EXPECT_EQ(prompt.prompts()[0].text, prompt.prompts()[1].text);
  EXPECT_NE(prompt.prompts()[1].text, prompt.prompts()[2].text);
  EXPECT_EQ(grilla().Rows(), static_cast<int>(esperado.size()) + 2);
}

TEST_F(Grabar, BorradoRechazadoDejaLaListaComoEstaba) {
  Guardar({{"1001 ", "a"}});
  db.exec(
      "CREATE TRIGGER sin_borrar BEFORE DELETE ON TA_CONFIGURACION "
      "BEGIN SELECT RAISE(ABORT, 'lista bloqueada'); END;");
  Abrir();
  Poner({{"1002", "", "b"}});
  prompt.Answer(ui::answer::kOk);
  Comando("GRABAR");
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_NE(prompt.prompts()[0].text.find("lista bloqueada"), std::string::npos);
  EXPECT_EQ(Almacenadas(), (Almacen{{"FEROLIN_1001 ", "a"}}));
  EXPECT_EQ(Filas()[0], (FilaGrilla{"1001", "Cliente Uno", "a"}));
}

TEST_F(Grabar, AbandonarTrasUnaFallaDeshaceTodo) {
  Guardar({{"1001 ", "a"}});
  Abrir();
  // The commit fails: a deferred foreign key is broken by the row of 2001.
  ctx->gDB().gCnn().Execute("PRAGMA foreign_keys = ON");
  db.exec(
      "CREATE TABLE padre (y TEXT PRIMARY KEY);"
      "CREATE TABLE hijo (x TEXT REFERENCES padre(y) DEFERRABLE INITIALLY DEFERRED);"
      "CREATE TRIGGER huerfano AFTER INSERT ON TA_CONFIGURACION WHEN NEW.CLAVE = 'FEROLIN_2001 ' "
      "BEGIN INSERT INTO hijo VALUES ('nadie'); END;");
  Poner({{"1002", "", "b"}, {"2001", "", "c"}});
  prompt.Answer(ui::answer::kAbort);  // ManejarError: leave the save
  Comando("GRABAR");
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].buttons, ui::buttons::kAbortRetryIgnore);
  EXPECT_EQ(Almacenadas(), (Almacen{{"FEROLIN_1001 ", "a"}}));
  EXPECT_EQ(Filas()[0], (FilaGrilla{"1001", "Cliente Uno", "a"}));
}

}  // namespace
}  // namespace ferolin::testing
