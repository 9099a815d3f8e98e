#pragma once
// What the lookup tests share: a program context over a scripted prompt and a
// temporary SQLite database, with the main connection open.

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "data_access/contexto_datos.h"
#include "data_access/db_dll.h"
#include "lookup/lib_cls_cons3.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {

struct EntornoConsulta {
  explicit EntornoConsulta(TestDatabase::Datos datos = TestDatabase::Datos::Vacia)
      : db(datos), ctx(prompt, db.folderWithSlash()) {
    ctx.tarvex.CarpetaPrograma = db.folderWithSlash();
    ctx.gDB().OpenServerADODB(false, 3, db.connectionString(), false, true);
  }
  // The configuration keys the service and windows read; a missing key reads
  // as one blank, as the configuration store gives it.
  Lib_ClsCons3::LectorCfg Lector() {
    return [this](const std::string& clave) {
      auto it = cfg.find(clave);
      return it == cfg.end() ? std::string(" ") : it->second;
    };
  }
  std::unique_ptr<Lib_ClsCons3> Servicio() { return std::make_unique<Lib_ClsCons3>(ctx, Lector()); }

  TestDatabase db;
  ScriptedPrompt prompt;
  ContextoDatos ctx;
  std::map<std::string, std::string> cfg;
};

// Runs accion on the modal window once it is shown (the lookups block in
// exec()); accion must hide or close it.
inline void AlMostrarse(std::function<void(QWidget&)> accion) {
  auto intento = std::make_shared<std::function<void(int)>>();
  *intento = [accion, intento](int restantes) {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w->isVisible()) {
      accion(*w);
      return;
    }
    if (restantes > 0) QTimer::singleShot(10, [intento, restantes] { (*intento)(restantes - 1); });
  };
  QTimer::singleShot(0, [intento] { (*intento)(300); });
}

}  // namespace ferolin::testing
