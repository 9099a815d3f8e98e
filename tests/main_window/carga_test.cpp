// Loading the stored list into the grid through the editor path.

#include "data_access/operaciones_conexion.h"
#include "platform/db/errors.h"
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

// The accounts are read before the entries are entered; whatever that reading
// finds or misses, each row ends as the check of its code alone would leave
// it: codes that differ from the master only in case or blanks, one shared
// by two accounts, quotes, a NULL description, a code hidden by the synonyms.
TEST_F(Carga, CuentasLeidasAntesDejanCadaFilaComoSuControl) {
  db.exec(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, CONFIDENCIAL) VALUES "
      "(' 77 ', 'Con blancos', 0), (' 5', 'Cinco', 0), ('5 ', 'Cinco', 0), "
      "('O''B', 'Con comilla', 0), ('4000', 'Reservada', 1);");
  esAdmin = false;  // MA_CUENTAS read through SS_MA_CUENTAS, without the reserved accounts
  Guardar({{"a b ", "minusculas"},
           {"77 ", "blancos"},
           {"5 ", "dos cuentas"},
           {"O''B ", "comilla"},
           {"1003 ", "sin descripcion"},
           {"4000 ", "reservada"},
           {"9 ", "ultima"}});
  prompt.Answer(ui::answer::kOk);
  Abrir();
  EXPECT_EQ(Filas(), (std::vector<FilaGrilla>{{"1003", "", "sin descripcion"},
                                              {"5", "Cinco", "dos cuentas"},
                                              {"77", "Con blancos", "blancos"},
                                              {"9", "Cliente Nueve", "ultima"},
                                              {"a b", "Con blanco", "minusculas"},
                                              {"O'B", "Con comilla", "comilla"},
                                              {"", "", ""}}));
  EXPECT_EQ(Mensajes(kNoExiste), 1);
}

// Counts the statements read from MA_CUENTAS; can refuse the ones that read
// many accounts at once.
class OperacionesContadas : public ConexionDirecta {
 public:
  OperacionesContadas(db::Connection& cnn, bool rechazarLecturas)
      : ConexionDirecta(cnn), rechazar_(rechazarLecturas) {}
  void OpenRecordset(db::Recordset& rs, const std::string& source, db::Connection& on,
                     int cursorType, int lockType, int options) override {
    const bool varias = source.find(" IN (") != std::string::npos;
    if (source.find("MA_CUENTAS") != std::string::npos) ++(varias ? lecturas : controles);
    if (varias && rechazar_) throw db::DbError(db::err::kUnspecified, "lectura rechazada");
    ConexionDirecta::OpenRecordset(rs, source, on, cursorType, lockType, options);
  }
  int lecturas = 0;
  int controles = 0;

 private:
  bool rechazar_;
};

// A long list reads its accounts in a few statements; when that reading
// fails, every code is checked alone and the list loads all the same.
class CargaLarga : public Carga, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(LecturaRechazada, CargaLarga, ::testing::Bool());

TEST_P(CargaLarga, MilDoscientasEntradas) {
  const bool rechazar = GetParam();
  db.exec(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1200) "
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) SELECT 'K' || (10000 + i), 'Cuenta ' || i "
      "FROM n WHERE i <> 700;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1200) "
      "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) "
      "SELECT 'FEROLIN', 'FEROLIN_K' || (10000 + i) || ' ', 'c' || i FROM n;");
  auto propias = std::make_unique<OperacionesContadas>(ctx->gDB().gCnn(), rechazar);
  OperacionesContadas& contadas = *propias;
  ctx->gDB().UsarOperaciones(std::move(propias));
  prompt.Answer(ui::answer::kOk);
  Abrir();
  EXPECT_EQ(Mensajes(kNoExiste), 1);
  const auto filas = Filas();
  ASSERT_EQ(filas.size(), 1200u);  // 1,199 found, the last row left empty
  EXPECT_EQ(filas[0], (FilaGrilla{"K10001", "Cuenta 1", "c1"}));
  EXPECT_EQ(filas[698], (FilaGrilla{"K10699", "Cuenta 699", "c699"}));
  EXPECT_EQ(filas[699], (FilaGrilla{"K10701", "Cuenta 701", "c701"}));
  EXPECT_EQ(filas[1198], (FilaGrilla{"K11200", "Cuenta 1200", "c1200"}));
  EXPECT_EQ(contadas.lecturas, rechazar ? 1 : 3);
  EXPECT_EQ(contadas.controles, rechazar ? 1200 : 1);
  EXPECT_TRUE(ctx->gDB().gCnn().Errors().Empty());
}

}  // namespace
}  // namespace ferolin::testing
