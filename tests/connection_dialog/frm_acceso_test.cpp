#include "connection_dialog/frm_acceso.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "connection_dialog/dialogo_conexion_qt.h"
#include "tests/connection_dialog/dialogo_fixture.h"

namespace ferolin::testing {
namespace {

const QString kPistaServidor = "ingrese el nombre del servidor e instancia";
const QString kPistaDb = "ingrese el nombre de la base de datos";
const QString kPistaUsuario = "Ingrese el usuario";

std::vector<QString> Entradas(const QListWidget& lista) {
  std::vector<QString> out;
  for (int i = 0; i < lista.count(); ++i) out.push_back(lista.item(i)->text());
  return out;
}

// Codificar's form of the passwords below is not what these tests look at.
const char* kBases =
    "EMPRESA / SRV01,Empresa,EMPRESA,~454D5052455341,srv01:1450\r\n"
    ",sin nombre,u,p,SRVZ\r\n"
    "   ,blanco,u,p,SRVZ\r\n"
    "OTRA / SRV02,otra,u,p,SRV02\r\n"
    "EMPRESA / SRV01,segunda,u,p,SRVX:9\r\n"
    "\"CON, COMA / S\",\"con, coma\",u,p,s\r\n";

class FrmAccesoTest : public DialogoFixture {};

TEST_F(FrmAccesoTest, WithoutRegisteredConnectionsTheFieldsShowTheirHints) {
  frmAcceso w(ctx());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  EXPECT_EQ(w.windowTitle(), "Control de Acceso");
  EXPECT_EQ(w.lstBases->count(), 0);
  EXPECT_EQ(w.TxtServidor->text(), kPistaServidor);
  EXPECT_EQ(w.TxtDbName->text(), kPistaDb);
  EXPECT_EQ(w.TxtUserId->text(), kPistaUsuario);
  EXPECT_EQ(w.TxtUserPassword->text(), "");
  EXPECT_EQ(w.TxtUserPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(w.TxtPuerto->text(), "1433");
  ASSERT_EQ(w.CboPlataformaDB->count(), 2);
  EXPECT_EQ(w.CboPlataformaDB->itemText(0), "SQL Server");
  EXPECT_EQ(w.CboPlataformaDB->itemText(1), "ORACLE");
  EXPECT_EQ(w.TxtUserPassword->toolTip(), "Ingrese la contraseña");
  EXPECT_EQ(w.TxtPuerto->toolTip(), "Ingrese el Puerto ");
  EXPECT_EQ(w.TxtServidor->palette().color(QPalette::Text), QColor(2, 0, 0));
  // The hint is selected, so typing replaces it; emptying the box brings it back.
  w.TxtServidor->setFocus();
  EXPECT_EQ(w.TxtServidor->selectedText(), kPistaServidor);
  QTest::keyClicks(w.TxtServidor, "sqlite");
  EXPECT_EQ(w.TxtServidor->text(), "sqlite");
  w.TxtServidor->clear();
  EXPECT_EQ(w.TxtServidor->text(), kPistaServidor);
  w.close();
}

TEST_F(FrmAccesoTest, RegisteredConnectionsFillTheListAndTheFields) {
  EscribirBases(kBases);
  frmAcceso w(ctx());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

  // Blank names are skipped; duplicates are listed in file order.
  EXPECT_EQ(Entradas(*w.lstBases), (std::vector<QString>{"EMPRESA / SRV01", "OTRA / SRV02",
                                                         "EMPRESA / SRV01", "CON, COMA / S"}));
  // The first entry is selected and loaded, its port split off the server.
  EXPECT_EQ(w.lstBases->currentRow(), 0);
  EXPECT_EQ(w.TxtServidor->text(), "SRV01");
  EXPECT_EQ(w.TxtPuerto->text(), "1450");
  EXPECT_EQ(w.TxtDbName->text(), "Empresa");
  EXPECT_EQ(w.TxtUserId->text(), kPistaUsuario);
  EXPECT_EQ(w.TxtUserPassword->text(), "");

  struct Caso {
    int fila;
    QString servidor, puerto, db;
  };
  const Caso casos[] = {
      // A server without a port leaves the port as it was.
      {1, "SRV02", "1450", "otra"},
      // The second record of a name loads the first one's data.
      {2, "SRV01", "1450", "Empresa"},
      {3, "s", "1450", "con, coma"},
  };
  for (const auto& c : casos) {
    w.TxtUserId->setText("operador");
    w.TxtUserPassword->setText("secreto");
    w.lstBases->setFocus();
    w.lstBases->setCurrentRow(c.fila - 1);
    QTest::keyClick(w.lstBases, Qt::Key_Down);
    ASSERT_EQ(w.lstBases->currentRow(), c.fila);
    EXPECT_EQ(w.TxtServidor->text(), c.servidor) << c.fila;
    EXPECT_EQ(w.TxtPuerto->text(), c.puerto) << c.fila;
    EXPECT_EQ(w.TxtDbName->text(), c.db) << c.fila;
    // User and password are never taken from the file.
    EXPECT_EQ(w.TxtUserId->text(), "") << c.fila;
    EXPECT_EQ(w.TxtUserPassword->text(), "") << c.fila;
  }
  // The user field shows its hint when it gets the focus.
  w.TxtUserId->setFocus();
  EXPECT_EQ(w.TxtUserId->text(), kPistaUsuario);
  w.close();
}

TEST_F(FrmAccesoTest, DatosBaseKeepsTheFirstExactMatchAndDecodesThePassword) {
  const std::string clave = ctx().tarvex.utilidades().Codificar("clave, \"rara\" ñ");
  EscribirBases("EMPRESA / SRV01,empresa,usr," + clave + ",srv01:1450\r\n" +
                "EMPRESA / SRV01,otra,x,y,z\r\n");
  frmAcceso w(ctx());
  w.DatosBase("  EMPRESA / SRV01 ");
  EXPECT_EQ(w.datosBase().servidor, "srv01:1450");
  EXPECT_EQ(w.datosBase().dbName, "empresa");
  EXPECT_EQ(w.datosBase().usuario, "usr");
  EXPECT_EQ(w.datosBase().password, "clave, \"rara\" ñ");
  // Names compare exactly; a miss keeps what the last call found.
  w.DatosBase("empresa / srv01");
  EXPECT_EQ(w.datosBase().dbName, "empresa");
}

class PedirTest : public DialogoFixture {};

TEST_F(PedirTest, CallersValuesReplaceTheFirstRecordAndHintsComeBack) {
  EscribirBases(kBases);
  DialogoConexionQt dialogo(ctx());
  EXPECT_EQ(ctx().dialogoConexion, &dialogo);
  CuandoAparezca(dialogo, [](frmAcceso& w) {
    EXPECT_EQ(w.TxtServidor->text(), kPistaServidor);
    EXPECT_EQ(w.TxtDbName->text(), "GESTION");
    EXPECT_EQ(w.TxtUserId->text(), "");
    EXPECT_EQ(w.TxtPuerto->text(), "1450");  // not the caller's, and not read back
    w.TxtUserId->setFocus();
    EXPECT_EQ(w.TxtUserId->text(), kPistaUsuario);
    QTest::mouseClick(w.bcAceptar, Qt::LeftButton);
  });
  const auto respuesta = dialogo.Pedir({"", "GESTION", "", "", 1});
  ASSERT_TRUE(respuesta.has_value());
  EXPECT_EQ(respuesta->servidor, kPistaServidor.toStdString());
  EXPECT_EQ(respuesta->dbName, "GESTION");
  EXPECT_EQ(respuesta->usuario, kPistaUsuario.toStdString());
  EXPECT_EQ(respuesta->password, "");
  EXPECT_EQ(respuesta->plataforma, 0);  // the caller's request always starts on SQL Server
  EXPECT_EQ(dialogo.ventanaActiva(), nullptr);
}

TEST_F(PedirTest, TypedAnswersComeBackOnlyWhenAccepted) {
  DialogoConexionQt dialogo(ctx());
  struct Caso {
    const char* como;
    std::function<void(frmAcceso&)> cerrar;
    bool aceptada;
  };
  const Caso casos[] = {
      {"Aceptar", [](frmAcceso& w) { QTest::mouseClick(w.bcAceptar, Qt::LeftButton); }, true},
      {"Enter", [](frmAcceso& w) { QTest::keyClick(w.TxtUserPassword, Qt::Key_Return); }, true},
      {"Cancelar", [](frmAcceso& w) { QTest::mouseClick(w.bcCancelar, Qt::LeftButton); }, false},
      {"Escape", [](frmAcceso& w) { QTest::keyClick(w.TxtUserPassword, Qt::Key_Escape); }, false},
      {"close box", [](frmAcceso& w) { w.close(); }, false},
  };
  for (const auto& c : casos) {
    CuandoAparezca(dialogo, [&c](frmAcceso& w) {
      w.TxtServidor->setFocus();
      QTest::keyClicks(w.TxtServidor, "SQLITE");
      w.TxtDbName->setFocus();
      w.TxtDbName->selectAll();
      QTest::keyClicks(w.TxtDbName, "DEMO");
      w.TxtUserId->setFocus();
      QTest::keyClicks(w.TxtUserId, "ana");
      w.TxtUserPassword->setFocus();
      QTest::keyClicks(w.TxtUserPassword, "x,y");
      w.CboPlataformaDB->setCurrentIndex(1);
      c.cerrar(w);
    });
    const auto respuesta = dialogo.Pedir({"", "", "", "", 0});
    ASSERT_EQ(respuesta.has_value(), c.aceptada) << c.como;
    if (!respuesta) continue;
    EXPECT_EQ(respuesta->servidor, "SQLITE") << c.como;
    EXPECT_EQ(respuesta->dbName, "DEMO") << c.como;
    EXPECT_EQ(respuesta->usuario, "ana") << c.como;
    EXPECT_EQ(respuesta->password, "x,y") << c.como;
    EXPECT_EQ(respuesta->plataforma, 1) << c.como;
  }
}

TEST_F(PedirTest, DoubleClickOnTheListAcceptsThatConnection) {
  EscribirBases(kBases);
  DialogoConexionQt dialogo(ctx());
  CuandoAparezca(dialogo, [](frmAcceso& w) {
    QListWidgetItem* otra = w.lstBases->item(1);
    const QPoint centro = w.lstBases->visualItemRect(otra).center();
    QTest::mouseClick(w.lstBases->viewport(), Qt::LeftButton, {}, centro);
    QTest::mouseDClick(w.lstBases->viewport(), Qt::LeftButton, {}, centro);
    if (w.isVisible()) w.close();
  });
  const auto respuesta = dialogo.Pedir({"SRVX", "GESTION", "sa", "pw", 0});
  ASSERT_TRUE(respuesta.has_value());
  EXPECT_EQ(respuesta->servidor, "SRV02");
  EXPECT_EQ(respuesta->dbName, "otra");
  EXPECT_EQ(respuesta->usuario, "");
  EXPECT_EQ(respuesta->password, "");
}

TEST_F(PedirTest, UninstallsItselfWhenDestroyed) {
  {
    DialogoConexionQt dialogo(ctx());
    EXPECT_EQ(ctx().dialogoConexion, &dialogo);
  }
  EXPECT_EQ(ctx().dialogoConexion, nullptr);
}

// A reader that fails a given number of times before reading the file.
class FrmAccesoFallido : public frmAcceso {
 public:
  using frmAcceso::frmAcceso;
  int fallos = 0;

 protected:
  std::vector<std::string> LeerLineasBases(const std::string& ruta) override {
    if (fallos > 0) {
      --fallos;
      throw os::TextFileError("lectura interrumpida");
    }
    return frmAcceso::LeerLineasBases(ruta);
  }
};

TEST_F(FrmAccesoTest, ListFailuresFollowTheOperatorsAnswer) {
  EscribirBases(kBases);
  struct Caso {
    int respuesta;
    int entradas;
  };
  for (const Caso c :
       {Caso{ui::answer::kRetry, 4}, Caso{ui::answer::kIgnore, 0}, Caso{ui::answer::kAbort, 0}}) {
    FrmAccesoFallido w(ctx());
    prompt.clear();
    w.fallos = 1;
    prompt.Answer(c.respuesta);
    w.llenarlist();
    EXPECT_EQ(w.lstBases->count(), c.entradas) << c.respuesta;
    ASSERT_EQ(prompt.prompts().size(), 1u);
    EXPECT_NE(prompt.prompts()[0].title.find("FormLoad"), std::string::npos);
    EXPECT_NE(prompt.prompts()[0].text.find("lectura interrumpida"), std::string::npos);
  }
  // DatosBase hands its failure to the companion library and keeps its data.
  FrmAccesoFallido w(ctx());
  const std::string antes = w.datosBase().dbName;
  w.fallos = 1;
  prompt.clear();
  prompt.Answer(ui::answer::kRetry);
  w.DatosBase("OTRA / SRV02");
  EXPECT_EQ(w.datosBase().dbName, antes);
  EXPECT_EQ(prompt.prompts().size(), 1u);
}

}  // namespace
}  // namespace ferolin::testing
