#pragma once
// A program context on a throw-away SQLite database, its prompts scripted.

#include <memory>
#include <string>

#include "data_access/db_dll.h"
#include "startup/contexto_programa.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {

// The launch string for the test database, as the suite writes it.
inline std::string LineaPrueba(const std::string& usuario = "OPERADOR",
                               const std::string& extra = "") {
  return "@server=SQLITE; @dbname= TEST; @usuario= " + usuario +
         "; @Password= ; @ParametroAdicional=; @Caja=1;" + extra + "mirk@";
}

struct EntornoPrueba {
  explicit EntornoPrueba(TestDatabase::Datos datos = TestDatabase::Datos::Demo) : base(datos) {
    NuevoContexto();
  }

  // A fresh program run on the same database.
  ContextoPrograma& NuevoContexto() {
    ctx.reset();
    ctx = std::make_unique<ContextoPrograma>(prompt, base.folderWithSlash(), "ferolin");
    ctx->lineaComandoProceso = [] { return std::string(); };
    return *ctx;
  }

  // gDB opened directly, without the rest of the start-up.
  void Conectar(const std::string& usuario = "OPERADOR") {
    auto& db = ctx->gDB();
    db.gServidor = "SQLITE";
    db.gDBName = "TEST";
    db.gUsuario = usuario;
    db.OpenServerADODB(false, 3, "", true, true);
    ASSERT_TRUE(db.gOpenFlag);
  }

  TestDatabase base;
  ScriptedPrompt prompt;
  std::unique_ptr<ContextoPrograma> ctx;
};

}  // namespace ferolin::testing
