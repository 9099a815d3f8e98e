// The toolbar's command words, the account lookup and the master-table sheet.

#include <QLineEdit>
#include <QTableView>

#include "main_window/planilla_window.h"
#include "outside/util_korv.h"
#include "tests/main_window/ventana_fixture.h"

namespace ferolin::testing {
namespace {

class Comandos : public VentanaTest {
 protected:
  void SetUp() override {
    Guardar({{"1001 ", "a"}});
    Abrir();
    IrA(2, 0);
    Entrar("1002");  // an unsaved change
  }
  const std::vector<FilaGrilla> cargada{{"1001", "Cliente Uno", "a"}, {"", "", ""}};
  const std::vector<FilaGrilla> editada{{"1001", "Cliente Uno", "a"}, {"1002", "Cliente Dos", ""}};
};

TEST_F(Comandos, PalabrasEnCualquierCaso) {
  struct Caso {
    const char* palabra;
    bool recarga;
  };
  for (const Caso& c : {Caso{"nuevo", true}, Caso{"Nuevo", true}, Caso{"BORRAR", false},
                        Caso{"reporte", false}, Caso{"otra", false}, Caso{"", false}}) {
    grilla().SetTextMatrix(2, 0, "1002");
    grilla().SetTextMatrix(2, 1, "Cliente Dos");
    Comando(c.palabra);
    EXPECT_EQ(Filas(), c.recarga ? cargada : editada) << c.palabra;
    EXPECT_EQ(finalizados, 0);
  }
  EXPECT_TRUE(prompt.prompts().empty());
  EXPECT_EQ(Almacenadas().size(), 1u);
}

TEST_F(Comandos, TeclaDeLaBarraLlegaDesdeLaGrilla) {
  QTest::keyClick(&grilla(), Qt::Key_F2);  // NUEVO
  EXPECT_EQ(Filas(), cargada);
  EXPECT_FALSE(editor().Mostrado());
}

TEST_F(Comandos, CancelarPreguntaNoDejaTodoSiRecarga) {
  prompt.Answer(ui::answer::kNo).Answer(ui::answer::kYes);
  Comando("cancelar");
  ASSERT_EQ(prompt.prompts().size(), 1u);
  const auto& p = prompt.prompts()[0];
  EXPECT_EQ(p.text, "¿Realmente desea abandonar la carga de datos?");
  EXPECT_EQ(p.title, "Aviso al Operador");
  EXPECT_EQ(p.buttons, ui::buttons::kYesNo);
  EXPECT_EQ(p.icon, ui::icon::kQuestion);
  EXPECT_EQ(p.defaultButton, 1);
  EXPECT_EQ(Filas(), editada);
  Comando("CANCELAR");
  EXPECT_EQ(Filas(), cargada);
  EXPECT_EQ(finalizados, 0);
}

TEST_F(Comandos, CancelarConLaPrimeraFilaVaciaCierraSinPreguntar) {
  grilla().SetTextMatrix(1, 0, "  ");
  std::string palabra = "Cancelar";
  ventana->UtilKorv1_click(palabra);
  EXPECT_EQ(palabra, "CERRAR");
  EXPECT_FALSE(ventana->isVisible());
  EXPECT_EQ(finalizados, 1);
  EXPECT_TRUE(prompt.prompts().empty());
}

TEST_F(Comandos, CerrarFinalizaUnaSolaVez) {
  Comando("cerrar");
  EXPECT_FALSE(ventana->isVisible());
  ventana->close();
  EXPECT_EQ(finalizados, 1);
}

TEST_F(Comandos, ConsultarConfirmaElCodigoElegidoComoSiSeTecleara) {
  // Code column: found, moves to the comment.
  IrA(2, 0);
  Tecla(Qt::Key_Space);
  cuentaElegida = "  2001 ";
  Comando("CONSULTAR");
  EXPECT_EQ(Filas()[1], (FilaGrilla{"2001", "Otro Cliente", ""}));
  EXPECT_EQ(grilla().Col(), 2);
  // Comment column: the code becomes the comment, moves to a new row.
  Tecla(Qt::Key_Space);
  Comando("CONSULTAR");
  EXPECT_EQ(Filas()[1], (FilaGrilla{"2001", "Otro Cliente", "2001"}));
  EXPECT_EQ(grilla().Row(), 3);
  // Not in MA_CUENTAS: the message, the editor stays open.
  cuentaElegida = "5555";
  prompt.Answer(ui::answer::kOk);
  Comando("CONSULTAR");
  EXPECT_EQ(Mensajes(kNoExiste), 1);
  EXPECT_TRUE(editor().Mostrado());
  // Cancelled lookup: an empty code blanks the row.
  cuentaElegida = "";
  IrA(1, 0);
  Tecla(Qt::Key_Space);
  Comando("CONSULTAR");
  EXPECT_EQ(Filas()[0], (FilaGrilla{"", "", ""}));
  EXPECT_EQ(consultas, 4);
}

TEST_F(Comandos, ConsultarSinColumnaConfiguradaNoHaceNada) {
  ventana->txtedit().Tag.clear();
  Comando("CONSULTAR");
  EXPECT_EQ(consultas, 0);
  EXPECT_EQ(Filas(), editada);
}

TEST_F(Comandos, PlanillaMuestraElMaestroDeCuentasConBusqueda) {
  Comando("PLANILLA");
  auto planillas = ventana->findChildren<PlanillaWindow*>();
  ASSERT_EQ(planillas.size(), 1);
  PlanillaWindow& p = *planillas[0];
  EXPECT_EQ(p.windowTitle(), "Maestro de Cuentas");
  EXPECT_TRUE(p.isVisible());
  EXPECT_EQ(p.FilasTotales(), 7);
  QTest::keyClicks(&p.TxtBuscar(), "cliente d");
  EXPECT_EQ(p.FilasVisibles(), 2);  // Cliente Dos, Cliente Diez
  p.close();
  EXPECT_EQ(Filas(), editada);  // the grid is not reloaded
}

}  // namespace
}  // namespace ferolin::testing
