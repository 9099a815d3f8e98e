#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "connection_dialog/dialogo_conexion_qt.h"
#include "connection_dialog/frm_acceso.h"
#include "data_access/db_dll.h"
#include "platform/os/codepage.h"
#include "tests/connection_dialog/dialogo_fixture.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

std::vector<std::string> Lineas(const std::string& ruta) {
  if (!std::filesystem::exists(ruta)) return {};
  return os::ReadTextLines(ruta);
}

class RegistrarTest : public DialogoFixture {
 protected:
  std::string programa() const override { return db.folderWithSlash(); }

  // Types a connection into the window the way the operator does.
  static void Escribir(frmAcceso& w, const QString& servidor, const QString& base,
                       const QString& usuario = "operador", const QString& clave = "secreto") {
    w.TxtServidor->setText(servidor);
    w.TxtDbName->setText(base);
    w.TxtUserId->setText(usuario);
    w.TxtUserPassword->setText(clave);
  }

  TestDatabase db;
};

TEST_F(RegistrarTest, SuiteLogInAppendsOneRecordTheListThenShows) {
  frmAcceso w(ctx());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  Escribir(w, "  sqlite ", "test");
  QTest::mouseClick(w.CmdRegistrar, Qt::LeftButton);

  EXPECT_TRUE(prompt.prompts().empty());
  // The database name is the record's user and password, not the operator's log-in,
  // which was never tried.
  const std::string clave = ctx().tarvex.utilidades().Codificar("test");
  EXPECT_EQ(Lineas(bases()),
            std::vector<std::string>{"TEST / SQLITE,test,test," + clave + ",sqlite"});
  EXPECT_EQ(ctx().gDB().gUsuario, "");
  ASSERT_EQ(w.lstBases->count(), 1);
  EXPECT_EQ(w.lstBases->item(0)->text(), "TEST / SQLITE");
  EXPECT_EQ(w.lstBases->currentRow(), 0);
  EXPECT_FALSE(ctx().gDB().gCnn().IsOpen());
  EXPECT_FALSE(ctx().gDB().gOpenFlag);
  EXPECT_TRUE(w.isVisible());

  // The same name again, whatever the server's case or port: refused, file unchanged.
  for (const QString servidor : {"sqlite", "SQLite:1450"}) {
    prompt.clear();
    prompt.Answer(ui::answer::kOk);
    Escribir(w, servidor, " Test ");
    w.CmdRegistrar_Click();
    ASSERT_EQ(prompt.prompts().size(), 1u) << servidor.toStdString();
    EXPECT_EQ(prompt.prompts()[0].text, "La conexion que intenta registrar ya existe ");
    EXPECT_EQ(prompt.prompts()[0].title, "Atencion");
    EXPECT_EQ(prompt.prompts()[0].icon, ui::icon::kInformation);
    EXPECT_EQ(prompt.prompts()[0].buttons, ui::buttons::kOk);
    EXPECT_EQ(Lineas(bases()).size(), 1u);
  }
  w.close();
}

TEST_F(RegistrarTest, OperatorLogInIsTriedWhenTheSuiteLogInFails) {
  // The embedded engine names files exactly: "MINUS.db" is missing, "minus.db" is not.
  std::filesystem::copy_file(db.mainFile(), db.datos() / "minus.db");
  frmAcceso w(ctx());
  Escribir(w, "sqlite", "minus", " ana ", " pw ");
  w.CmdRegistrar_Click();

  EXPECT_TRUE(prompt.prompts().empty());
  EXPECT_EQ(ctx().gDB().gUsuario, "ana");
  EXPECT_EQ(ctx().gDB().gUserPassWord, "pw");
  EXPECT_EQ(ctx().gDB().gServidor, "sqlite");
  const std::string clave = ctx().tarvex.utilidades().Codificar("minus");
  EXPECT_EQ(Lineas(bases()),
            std::vector<std::string>{"MINUS / SQLITE,minus,minus," + clave + ",sqlite"});
  EXPECT_FALSE(ctx().gDB().gCnn().IsOpen());
  EXPECT_FALSE(ctx().gDB().gOpenFlag);
  // The list reloads and selects the new record.
  ASSERT_EQ(w.lstBases->count(), 1);
  EXPECT_EQ(w.TxtServidor->text(), "sqlite");
  EXPECT_EQ(w.TxtDbName->text(), "minus");
}

TEST_F(RegistrarTest, ARetryOfTheOperatorsLogInRegistersTheConnectionThatOpened) {
  DialogoConexionQt dialogo(ctx());
  frmAcceso w(ctx());
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  Escribir(w, "SQLITE", "FALTA");
  // The connection step's failure is answered "retry": a second window asks
  // again above the first, which stays open under its running command.
  CuandoAparezca(dialogo, [&w](frmAcceso& otra) {
    EXPECT_NE(&otra, &w);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(otra.TxtDbName->text(), "FALTA");
    otra.TxtDbName->setText("TEST");
    QTest::mouseClick(otra.bcAceptar, Qt::LeftButton);
  });
  prompt.Answer(ui::answer::kYes);
  QTest::mouseClick(w.CmdRegistrar, Qt::LeftButton);

  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].title, " Error de Conexion a Base de Datos");
  const std::string clave = ctx().tarvex.utilidades().Codificar("TEST");
  EXPECT_EQ(Lineas(bases()),
            std::vector<std::string>{"TEST / SQLITE,TEST,TEST," + clave + ",SQLITE"});
  EXPECT_FALSE(ctx().gDB().gCnn().IsOpen());
  w.close();
}

TEST_F(RegistrarTest, NeitherLogInWorkingWritesNothing) {
  frmAcceso w(ctx());
  Escribir(w, "SQLITE", "NOEXISTE");
  // The connection step's own failure message is answered No, then ours follows.
  prompt.Answer(ui::answer::kNo).Answer(ui::answer::kOk);
  w.CmdRegistrar_Click();
  ASSERT_EQ(prompt.prompts().size(), 2u);
  const auto& ultimo = prompt.prompts().back();
  EXPECT_EQ(ultimo.text,
            "NO SE PUDO CONECTAR AL SERVIDOR SQLITE VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD "
            "INGRESADO");
  EXPECT_EQ(ultimo.title, "AVISO AL OPERADOR");
  EXPECT_EQ(ultimo.icon, ui::icon::kInformation);
  EXPECT_FALSE(std::filesystem::exists(bases()));
  EXPECT_FALSE(ctx().gDB().gOpenFlag);
}

TEST_F(RegistrarTest, RegisteringStartsTheOdbcToolWithTheConnection) {
  const std::string salida = programa() + "odbc_args.txt";
  {
    std::ofstream script(programa() + "ODBC.exe");
    script << "#!/bin/sh\nprintf '%s|' \"$@\" > \"" << salida << ".tmp\" && mv \"" << salida
           << ".tmp\" \"" << salida << "\"\n";
  }
  std::filesystem::permissions(programa() + "ODBC.exe", std::filesystem::perms::owner_all);
  frmAcceso w(ctx());
  Escribir(w, "sqlite", "TEST");
  w.CmdRegistrar_Click();
  QElapsedTimer reloj;
  reloj.start();
  while (!std::filesystem::exists(salida) && reloj.elapsed() < 10000) QTest::qWait(20);
  std::ifstream f(salida);
  std::string argumentos;
  std::getline(f, argumentos);
  EXPECT_EQ(argumentos, "Server=sqlite;DB=TEST;|");
  EXPECT_EQ(Lineas(bases()).size(), 1u);
}

TEST_F(RegistrarTest, AFileFailureIsShownAndTheCommandStillCloses) {
  // BASES.TXT as a folder: the record cannot be appended.
  std::filesystem::create_directory(bases());
  frmAcceso w(ctx());
  Escribir(w, "SQLITE", "TEST");
  prompt.Answer(ui::answer::kOk);
  w.CmdRegistrar_Click();
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].text.rfind("SQL Server start failed.  \rSQL-DMO error:  75 ", 0),
            0u)
      << prompt.prompts()[0].text;
  EXPECT_EQ(prompt.prompts()[0].title, ctx().nombrePrograma);
  EXPECT_FALSE(ctx().gDB().gCnn().IsOpen());
  EXPECT_EQ(w.lstBases->count(), 0);
}

class GuardarConexionTest : public DialogoFixture {};

TEST_F(GuardarConexionTest, PasswordsSurviveTheFileWhateverTheyHold) {
  frmAcceso w(ctx());
  const std::vector<std::string> claves = {"a,b,c", "\"entre comillas\"", "contraseña ñandú €",
                                           " con bordes ", ""};
  for (std::size_t i = 0; i < claves.size(); ++i) {
    const std::string nombre = "BASE" + std::to_string(i) + " / SRV";
    w.GuardarConexion(nombre, "base", "usr", claves[i], "srv:1");
    w.DatosBase(nombre);
    EXPECT_EQ(w.datosBase().password, claves[i]) << i;
    EXPECT_EQ(w.datosBase().usuario, "usr") << i;
    EXPECT_EQ(w.datosBase().servidor, "srv:1") << i;
  }
  EXPECT_EQ(Lineas(bases()).size(), claves.size());
  // Windows-1252 on disk.
  w.GuardarConexion("ÑANDÚ / SRV", "ñandú", "u", "p", "srv");
  EXPECT_NE(os::ReadFileBytes(bases()).find("\xD1"
                                            "AND\xDA / SRV,\xF1"
                                            "and\xFA,"),
            std::string::npos);
}

TEST_F(GuardarConexionTest, AppendsOnItsOwnLineAndRefusesWhatTheFileCannotHold) {
  // A hand-edited file whose last line has no line end.
  os::WriteTextFile(bases(), "PRIMERA / S,primera,u,p,s");
  frmAcceso w(ctx());
  w.GuardarConexion("SEGUNDA / S", "segunda", "u", "p", "s");
  w.llenarlist();
  ASSERT_EQ(w.lstBases->count(), 2);
  EXPECT_EQ(w.lstBases->item(1)->text(), "SEGUNDA / S");

  const std::string antes = os::ReadFileBytes(bases());
  EXPECT_THROW(w.GuardarConexion("ŁÓDŹ / S", "łódź", "u", "p", "s"), os::TextFileError);
  EXPECT_THROW(w.GuardarConexion("N / S", "n", "u\nv", "p", "s"), std::invalid_argument);
  EXPECT_EQ(os::ReadFileBytes(bases()), antes);
}

class OracleTest : public DialogoFixture {};

TEST_F(OracleTest, ChoosingOracleMarksTheServer) {
  DialogoConexionQt dialogo(ctx());
  for (const char* servidor : {"SRV", "SRV#"}) {
    DB_Dll& gDB = ctx().gDB();
    gDB.gServidor = servidor;
    gDB.gDBName = "ORCL";
    gDB.gUsuario = "scott";
    CuandoAparezca(dialogo, [](frmAcceso& w) {
      w.CboPlataformaDB->setCurrentIndex(1);
      QTest::mouseClick(w.bcAceptar, Qt::LeftButton);
    });
    // Nothing answers for ORCL here; the failure is answered "No".
    prompt.clear();
    prompt.Answer(ui::answer::kNo);
    gDB.OpenServerADODB(true, 3, "", true, true);
    EXPECT_EQ(prompt.prompts().size(), 1u);
    EXPECT_FALSE(gDB.gOpenFlag);
    EXPECT_EQ(gDB.gServidor, "SRV#") << servidor;
    EXPECT_EQ(gDB.gProveedor, "OraOLEDB.Oracle.1") << servidor;
    EXPECT_EQ(gDB.gConnString.rfind("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;", 0), 0u);
  }
}

class PasoBTest : public RegistrarTest {};

TEST_F(PasoBTest, TypedEmbeddedConnectionOpensAfterARetry) {
  DialogoConexionQt dialogo(ctx());
  int vueltas = 0;
  std::function<void(frmAcceso&)> responder = [&](frmAcceso& w) {
    ++vueltas;
    // Each round starts from the previous answers.
    w.TxtServidor->setFocus();
    w.TxtServidor->selectAll();
    QTest::keyClicks(w.TxtServidor, "SQLITE");
    w.TxtDbName->setFocus();
    w.TxtDbName->selectAll();
    // The first round names a database that does not exist.
    QTest::keyClicks(w.TxtDbName, vueltas == 1 ? "FALTA" : "TEST");
    w.TxtUserId->setFocus();
    w.TxtUserId->selectAll();
    QTest::keyClicks(w.TxtUserId, "cualquiera");
    if (vueltas == 1) CuandoAparezca(dialogo, responder);
    QTest::keyClick(w.TxtUserId, Qt::Key_Return);
  };
  CuandoAparezca(dialogo, responder);
  prompt.Answer(ui::answer::kYes);
  DB_Dll& gDB = ctx().gDB();
  gDB.OpenServerADODB(true, 3, "", true, true);
  EXPECT_EQ(vueltas, 2);
  EXPECT_TRUE(gDB.gOpenFlag);
  EXPECT_TRUE(gDB.gCnn().IsOpen());
  EXPECT_EQ(gDB.gServidor, "SQLITE");
  EXPECT_EQ(gDB.gDBName, "TEST");
  EXPECT_EQ(gDB.gUsuario, "cualquiera");
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].title, " Error de Conexion a Base de Datos");
}

}  // namespace
}  // namespace ferolin::testing
