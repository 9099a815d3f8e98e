#pragma once
// The connection dialog as the data-access layer asks for it: each request
// shows a fresh frmAcceso modally and hands back what the operator confirmed.
//
// Installing it is one line in main(), after the program context exists:
//   ferolin::DialogoConexionQt dialogoConexion(ctx);
// It sets ctx.dialogoConexion to itself and clears it again when destroyed.

#include <optional>

#include "data_access/contexto_datos.h"

class QWidget;

namespace ferolin {

class frmAcceso;

class DialogoConexionQt : public DialogoConexion {
 public:
  explicit DialogoConexionQt(ContextoDatos& contexto, QWidget* parent = nullptr);
  ~DialogoConexionQt() override;
  DialogoConexionQt(const DialogoConexionQt&) = delete;
  DialogoConexionQt& operator=(const DialogoConexionQt&) = delete;

  std::optional<Datos> Pedir(const Datos& iniciales) override;

  // The window of the request being answered, nullptr between requests.
  frmAcceso* ventanaActiva() const { return activa_; }

 private:
  ContextoDatos& ctx_;
  QWidget* parent_;
  frmAcceso* activa_ = nullptr;
};

}  // namespace ferolin
