#pragma once
// frmAcceso, "Control de Acceso": the operator types or picks the database
// connection, registers it in BASES.TXT, or puts a launcher on the desktop.

#include <QDialog>
#include <string>
#include <vector>

#include "data_access/contexto_datos.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ferolin {

class frmAcceso : public QDialog {
  Q_OBJECT

 public:
  // Builds the window and runs its load: centred, list filled, hints shown.
  explicit frmAcceso(ContextoDatos& contexto, QWidget* parent = nullptr);
  ~frmAcceso() override;

  // True when the window was closed with "Aceptar".
  bool Aceptar = false;

  QListWidget* lstBases = nullptr;
  QGroupBox* framAcceso = nullptr;
  QLineEdit* TxtServidor = nullptr;
  QLineEdit* TxtDbName = nullptr;
  QLineEdit* TxtUserId = nullptr;
  QLineEdit* TxtUserPassword = nullptr;
  QLineEdit* TxtPuerto = nullptr;
  QComboBox* CboPlataformaDB = nullptr;
  QPushButton* bcAceptar = nullptr;
  QPushButton* bcCancelar = nullptr;
  QPushButton* CmdRegistrar = nullptr;
  QPushButton* CmdLineaComando = nullptr;

  void llenarlist();
  void DatosBase(const std::string& Nombre);
  void AsignarDatosBase();
  void MensajeInicial(QLineEdit* ObjTxt);
  void ExisteBaseDeDatos(const std::string& Servidor, const std::string& Dbname,
                         const std::string& Usuario, const std::string& Password,
                         const std::string& Proveedor, bool& result);
  void GuardarConexion(const std::string& Nombre, const std::string& Dbname,
                       const std::string& Usuario, const std::string& Password,
                       const std::string& Servidor);
  // Runs a command line and waits for it while window events keep running.
  void EjecutarCmdRegDB(const std::string& Archivo, std::string& ErrDevuelto, bool& result);

  // Command handlers, also reachable from tests without clicking.
  void bcAceptar_Click();
  void bcCancelar_Click();
  void lstBases_DblClick();
  void CmdRegistrar_Click();
  void CmdLineaComando_Click();

  // The record DatosBase last found (password decoded).
  struct DatosRegistro {
    std::string servidor;
    std::string dbName;
    std::string usuario;
    std::string password;
  };
  const DatosRegistro& datosBase() const { return datos_; }
  std::string archivoBases() const { return archivoBases_; }

 protected:
  // The lines of BASES.TXT (Windows-1252 on disk). Throws on a read failure.
  virtual std::vector<std::string> LeerLineasBases(const std::string& ruta);
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Escape and the close box: the same as "Cancelar".
  void reject() override;

 private:
  void ConstruirControles();
  void Centrar();
  // Where the desktop launcher points: the program's executable.
  std::string ProgramaEjecutable() const;

  ContextoDatos& ctx_;
  std::string archivoBases_;
  DatosRegistro datos_;
  std::string puerto_;
};

}  // namespace ferolin
