// The main window on the server: the stored list loaded, edited with the
// keys and saved with GRABAR in one transaction, and the saves the server
// refuses in part or half-way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "data_access/db_dll.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "platform/db/engine.h"
#include "platform/ui/operator_prompt.h"
#include "tests/platform/db/pg/programa_pg.h"

namespace ferolin::testing {
namespace {

using Fila = std::vector<std::string>;  // code, description, comment

class VentanaPg : public ProgramaPg {
 protected:
  VentanaPg() {
    PgExec(PgBase::Principal,
           "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1001', 'Cliente Uno'), "
           "('1002', 'Cliente Dos'), ('2001', 'Otro Cliente'), ('3001', 'Cliente Tres')");
  }
  ~VentanaPg() override {
    if (ventana) ventana->close();
    ventana.reset();
    // The triggers a test sets must not reach the next one, however it ended.
    try {
      PgExec(PgBase::Principal,
             "DROP TRIGGER IF EXISTS rechazo ON TA_CONFIGURACION; "
             "DROP TRIGGER IF EXISTS corte ON TA_CONFIGURACION");
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
  }

  void Abrir() {
    Frm_Ferolin::Servicios s;
    s.iniciar = [this] {
      DatosConexion(server.user, server.password);
      ctx->gDB().OpenServerADODB(false, 3, "", true, true);
      return ctx->gDB().gOpenFlag;
    };
    s.consultarCuenta = [] { return std::string(); };
    s.finalizar = [] {};
    ventana = std::make_unique<Frm_Ferolin>(*ctx, s);
    ASSERT_TRUE(ventana->Form_Load());
    ventana->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
  }

  Grilla& grilla() { return ventana->MSFlexGrid1(); }

  std::vector<Fila> Filas() {
    std::vector<Fila> filas;
    for (int r = 1; r < grilla().Rows(); ++r) {
      filas.push_back(
          {grilla().TextMatrix(r, 0), grilla().TextMatrix(r, 1), grilla().TextMatrix(r, 2)});
    }
    return filas;
  }

  // The grid's rows set directly, as the operator left them.
  void Poner(const std::vector<Fila>& filas) {
    grilla().SetRows(static_cast<int>(filas.size()) + 1);
    for (int r = 0; r < static_cast<int>(filas.size()); ++r) {
      for (int c = 0; c < 3; ++c) grilla().SetTextMatrix(r + 1, c, filas[r][c]);
    }
  }

  QWidget* Foco() {
    QWidget* f = QApplication::focusWidget();
    return f ? f : ventana->focusWidget();
  }
  void Entrar(const std::string& texto) {
    for (char c : texto) QTest::keyClick(Foco(), c);
    QTest::keyClick(Foco(), Qt::Key_Return);
  }
  void IrA(int fila, int col) {
    grilla().SetRow(fila);
    grilla().SetCol(col);
    grilla().setFocus();
  }
  void Grabar() {
    std::string palabra = "GRABAR";
    ventana->UtilKorv1_click(palabra);
  }

  std::unique_ptr<Frm_Ferolin> ventana;
};

TEST_F(VentanaPg, LaListaSeCargaSeEditaYSeGraba) {
  Guardar({{"FEROLIN_2001 ", "segundo"}, {"FEROLIN_1001 ", "primero"}});
  Abrir();
  EXPECT_EQ(Filas(), (std::vector<Fila>{{"1001", "Cliente Uno", "primero"},
                                        {"2001", "Otro Cliente", "segundo"},
                                        {"", "", ""}}));
  // A new account typed on the empty row, and the first comment replaced.
  IrA(3, 0);
  Entrar("3001");
  Entrar("nuevo");
  IrA(1, 2);
  Entrar("it's changed");
  Grabar();
  EXPECT_EQ(Almacenada(), (ListaAlmacenada{{"FEROLIN_1001 ", "it's changed"},
                                           {"FEROLIN_2001 ", "segundo"},
                                           {"FEROLIN_3001 ", "nuevo"}}));
  EXPECT_EQ(Filas(), (std::vector<Fila>{{"1001", "Cliente Uno", "it's changed"},
                                        {"2001", "Otro Cliente", "segundo"},
                                        {"3001", "Cliente Tres", "nuevo"},
                                        {"", "", ""}}));
  EXPECT_TRUE(prompt.prompts().empty()) << prompt.prompts().front().text;
  EXPECT_EQ(ventana->LblMuestra().text(), "");
}

// A refused row is reported with the server's reason and left out; the rest
// of the list is saved in the same transaction: a code twice (the key
// refuses the second) and a comment longer than its column.
TEST_F(VentanaPg, LasFilasRechazadasSeInformanYElRestoSeGuarda) {
  Guardar({{"FEROLIN_2001 ", "viejo"}});
  Abrir();
  Poner({{"1001", "", "a"},
         {"1001", "", "repetido"},
         {"1002", "", std::string(300, 'x')},
         {"3001", "", "c"}});
  prompt.Answer(ui::answer::kOk).Answer(ui::answer::kOk);
  Grabar();
  EXPECT_EQ(Almacenada(), (ListaAlmacenada{{"FEROLIN_1001 ", "a"}, {"FEROLIN_3001 ", "c"}}));
  ASSERT_EQ(prompt.prompts().size(), 2u);
  EXPECT_NE(prompt.prompts()[0].text.find("duplicate key"), std::string::npos)
      << prompt.prompts()[0].text;
  EXPECT_NE(prompt.prompts()[1].text.find("too long"), std::string::npos)
      << prompt.prompts()[1].text;
  for (const auto& p : prompt.prompts()) {
    EXPECT_EQ(p.buttons, ui::buttons::kOk);
    EXPECT_EQ(p.icon, 0);
  }
  EXPECT_EQ(Filas(),
            (std::vector<Fila>{
                {"1001", "Cliente Uno", "a"}, {"3001", "Cliente Tres", "c"}, {"", "", ""}}));
}

// The server refuses the save at its end, after the delete and the inserts
// ran (a check deferred to the commit); the operator abandons the save and
// the stored list is exactly what it was.
TEST_F(VentanaPg, UnGrabadoRechazadoAMitadDejaLaListaComoEstaba) {
  PgExec(PgBase::Principal,
         "CREATE OR REPLACE FUNCTION rechazar_2001() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
         "IF NEW.CLAVE = 'FEROLIN_2001 ' THEN RAISE EXCEPTION 'cuenta 2001 bloqueada'; END IF; "
         "RETURN NULL; END $$; "
         "CREATE CONSTRAINT TRIGGER rechazo AFTER INSERT ON TA_CONFIGURACION "
         "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION rechazar_2001()");
  const ListaAlmacenada antes{{"FEROLIN_1001 ", "uno"}, {"FEROLIN_1002 ", "dos"}};
  Guardar(antes);
  Abrir();
  Poner({{"3001", "", "tres"}, {"2001", "", "bloqueada"}, {"1002", "", "otra"}});
  prompt.Answer(ui::answer::kAbort);
  Grabar();
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].buttons, ui::buttons::kAbortRetryIgnore);
  EXPECT_NE(prompt.prompts()[0].text.find("cuenta 2001 bloqueada"), std::string::npos)
      << prompt.prompts()[0].text;
  EXPECT_EQ(Almacenada(), antes);
  EXPECT_EQ(Filas(),
            (std::vector<Fila>{
                {"1001", "Cliente Uno", "uno"}, {"1002", "Cliente Dos", "dos"}, {"", "", ""}}));
  // The connection is not left inside the abandoned transaction.
  EXPECT_FALSE(ctx->gDB().gCnn().engine().InTransaction());
  PgExec(PgBase::Principal, "DROP TRIGGER rechazo ON TA_CONFIGURACION");
  Poner({{"3001", "", "tres"}});
  Grabar();
  EXPECT_EQ(Almacenada(), (ListaAlmacenada{{"FEROLIN_3001 ", "tres"}}));
}

// The link to the server breaks in the middle of the save (the server ends
// the session while it inserts one row): the server undoes the transaction,
// the operator is told once (a retry cannot succeed, so the save ends
// whatever the answer, with no prompt for the rows after it), and the reload
// after GRABAR reconnects and shows the list as it was stored.
TEST_F(VentanaPg, LaConexionPerdidaAlGrabarDejaLaListaComoEstaba) {
  PgExec(PgBase::Principal,
         "CREATE OR REPLACE FUNCTION cortar_2001() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
         "IF NEW.CLAVE = 'FEROLIN_2001 ' THEN PERFORM pg_terminate_backend(pg_backend_pid()); "
         "END IF; RETURN NEW; END $$; "
         "CREATE TRIGGER corte BEFORE INSERT ON TA_CONFIGURACION FOR EACH ROW "
         "EXECUTE FUNCTION cortar_2001()");
  const ListaAlmacenada antes{{"FEROLIN_1001 ", "uno"}};
  Guardar(antes);
  Abrir();
  Poner({{"3001", "", "tres"}, {"2001", "", "corta"}, {"1002", "", "dos"}, {"1003", "", "x"}});
  prompt.Answer(ui::answer::kRetry);
  Grabar();
  ASSERT_EQ(prompt.prompts().size(), 1u);
  const RecordedPrompt& aviso = prompt.prompts()[0];
  EXPECT_EQ(aviso.title, "Aviso al Operador");
  EXPECT_EQ(aviso.buttons, ui::buttons::kAbortRetryIgnore);
  EXPECT_EQ(aviso.text.rfind("Se produjo el error -2147467259: ", 0), 0u) << aviso.text;
  EXPECT_NE(aviso.text.find("\rProcedimiento: ProcesoPrincipal"), std::string::npos);
  EXPECT_EQ(Almacenada(), antes);
  EXPECT_EQ(Filas(), (std::vector<Fila>{{"1001", "Cliente Uno", "uno"}, {"", "", ""}}));
  EXPECT_TRUE(ctx->gDB().gOpenFlag);
  // The reconnected window saves again.
  PgExec(PgBase::Principal, "DROP TRIGGER corte ON TA_CONFIGURACION");
  Poner({{"2001", "", "otra vez"}});
  Grabar();
  EXPECT_EQ(Almacenada(), (ListaAlmacenada{{"FEROLIN_2001 ", "otra vez"}}));
  EXPECT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(terminado, 0);
}

}  // namespace
}  // namespace ferolin::testing
