#include "connection_dialog/dialogo_conexion_qt.h"

#include <QComboBox>
#include <QLineEdit>

#include "connection_dialog/frm_acceso.h"

namespace ferolin {

DialogoConexionQt::DialogoConexionQt(ContextoDatos& contexto, QWidget* parent)
    : ctx_(contexto), parent_(parent) {
  ctx_.dialogoConexion = this;
}

DialogoConexionQt::~DialogoConexionQt() {
  if (ctx_.dialogoConexion == this) ctx_.dialogoConexion = nullptr;
}

// Ocultar keeps the base's no-op on purpose: the window of a request is gone
// once Pedir returns, and a retry asked from inside one of its commands
// ("Registrar" testing the operator's log-in) opens a second window above it;
// hiding the first would end its modal wait under the running command.
std::optional<DialogoConexion::Datos> DialogoConexionQt::Pedir(const Datos& iniciales) {
  frmAcceso ventana(ctx_, activa_ ? static_cast<QWidget*>(activa_) : parent_);
  frmAcceso* anterior = activa_;
  activa_ = &ventana;

  ventana.TxtDbName->setText(QString::fromStdString(iniciales.dbName));
  ventana.TxtServidor->setText(QString::fromStdString(iniciales.servidor));
  ventana.TxtUserId->setText(QString::fromStdString(iniciales.usuario));
  ventana.TxtUserPassword->setText(QString::fromStdString(iniciales.password));
  ventana.CboPlataformaDB->setCurrentIndex(0);
  ventana.exec();
  activa_ = anterior;

  if (!ventana.Aceptar) return std::nullopt;
  Datos respuesta;
  respuesta.dbName = ventana.TxtDbName->text().toStdString();
  respuesta.servidor = ventana.TxtServidor->text().toStdString();
  respuesta.usuario = ventana.TxtUserId->text().toStdString();
  respuesta.password = ventana.TxtUserPassword->text().toStdString();
  respuesta.plataforma = ventana.CboPlataformaDB->currentIndex();
  return respuesta;
}

}  // namespace ferolin
