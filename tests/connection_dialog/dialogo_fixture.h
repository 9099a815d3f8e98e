#pragma once
// A program context over a temporary program folder, for the dialog tests.

#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "connection_dialog/dialogo_conexion_qt.h"
#include "connection_dialog/frm_acceso.h"
#include "data_access/contexto_datos.h"
#include "platform/os/codepage.h"
#include "platform/os/environment.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"

namespace ferolin::testing {

class DialogoFixture : public ::testing::Test {
 protected:
  // The error report logs into the temporary folder of the environment.
  DialogoFixture() : temp_(Leer("TEMP")), tmp_(Leer("TMP")) {
    os::SetEnv("TEMP", carpeta.path().string());
    os::SetEnv("TMP", carpeta.path().string());
  }
  ~DialogoFixture() override {
    Reponer("TEMP", temp_);
    Reponer("TMP", tmp_);
  }

  // The context goes first: its connections must not outlive their files.
  void TearDown() override { ctx_.reset(); }

  ContextoDatos& ctx() {
    if (!ctx_) ctx_ = std::make_unique<ContextoDatos>(prompt, programa());
    return *ctx_;
  }
  virtual std::string programa() const { return carpeta.withSlash(); }

  std::string bases() const { return programa() + "BASES.TXT"; }
  void EscribirBases(const std::string& utf8) const { os::WriteTextFile(bases(), utf8); }

  ScriptedPrompt prompt;
  TempFolder carpeta;

 private:
  static std::optional<std::string> Leer(const char* nombre) {
    const char* valor = std::getenv(nombre);
    return valor ? std::optional<std::string>(valor) : std::nullopt;
  }
  static void Reponer(const char* nombre, const std::optional<std::string>& valor) {
    if (valor) {
      os::SetEnv(nombre, *valor);
    } else {
      os::UnsetEnv(nombre);
    }
  }
  std::optional<std::string> temp_, tmp_;
  std::unique_ptr<ContextoDatos> ctx_;
};

// Runs accion on the window of the pending request as soon as it shows; the
// action must close it.
inline void CuandoAparezca(DialogoConexionQt& dialogo, std::function<void(frmAcceso&)> accion,
                           int intentos = 200) {
  QTimer::singleShot(10, [&dialogo, accion, intentos] {
    frmAcceso* w = dialogo.ventanaActiva();
    if (w && w->isVisible()) {
      // Focus only moves inside the active window.
      EXPECT_TRUE(QTest::qWaitForWindowActive(w));
      accion(*w);
    } else if (intentos > 0) {
      CuandoAparezca(dialogo, accion, intentos - 1);
    } else {
      ADD_FAILURE() << "the connection dialog never showed";
    }
  });
}

}  // namespace ferolin::testing
