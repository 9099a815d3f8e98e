// Starting a sibling program: the command line it receives reads back to the
// same connection data.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data_access/db_dll.h"
#include "platform/os/environment.h"
#include "startup/iniciar_programa.h"
#include "startup/servicios.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"

namespace ferolin {
namespace {

namespace fs = std::filesystem;

struct Lanzamiento {
  Lanzamiento() : ctx(prompt, carpeta.withSlash()) {
    auto& db = ctx.gDB();
    db.gServidor = "np/SRV01:1433";
    db.gDBName = "GESTION";
    db.gUsuario = "sa";
    db.gUserPassWord = "c$(x) `y` |&<> 'z'  \"w\"";
    ctx.gUsuarioLogeado = "Juan Pérez";
    ctx.gCaja = "7";
    os::SetEnv("FEROLIN_ECO_SALIDA", salida().string());
  }
  ~Lanzamiento() { os::UnsetEnv("FEROLIN_ECO_SALIDA"); }
  fs::path salida() const { return carpeta.path() / "eco.txt"; }

  std::string Esperar() const {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(salida()) && std::chrono::steady_clock::now() < limite) {
      QThread::msleep(20);
    }
    std::ifstream f(salida(), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }

  testing::TempFolder carpeta;
  testing::ScriptedPrompt prompt;
  ContextoPrograma ctx;
};

TEST(MenuExes, ElProgramaRecibeLosMismosDatosDeConexion) {
  Lanzamiento l;
  const fs::path eco =
      fs::path(QCoreApplication::applicationDirPath().toStdString()) / "eco_parametros";
  ASSERT_TRUE(fs::exists(eco)) << eco;
  fs::copy_file(eco, l.carpeta.path() / "V_TA_TABLAS");

  std::string parametro = "001 ABC";
  long tarea = 0;
  MenuExes(l.ctx, "SHELL:V_TA_TABLAS", parametro, tarea);
  EXPECT_NE(tarea, 0);
  EXPECT_EQ(parametro, "ABC");

  const std::string recibida = l.Esperar();
  EXPECT_EQ(recibida,
            "; @server=np/SRV01:1433; @dbname=GESTION; @usuario=sa; "
            "@Password=c$(x) `y` |&<> 'z'  \"w\"; @ParametroAdicional=ABC; mirk@ ; "
            "@UsuarioLogeado = Juan Pérez; @Caja=7;");
  const ParametrosLanzamiento p = LeerParametrosLanzamiento(recibida);
  EXPECT_EQ(p.Server, "np/SRV01:1433");
  EXPECT_EQ(ServidorSinPuerto(p.Server), "SRV01");
  EXPECT_EQ(p.DbName, "GESTION");
  EXPECT_EQ(p.Usuario, "sa");
  EXPECT_EQ(p.Password, "c$(x) `y` |&<> 'z'  \"w\"");
  EXPECT_EQ(p.UsuarioLogeado, "Juan Pérez");
  EXPECT_EQ(p.Caja, "7");
  EXPECT_EQ(p.ParametroAdicional, "ABC");
  EXPECT_TRUE(l.prompt.prompts().empty());
}

TEST(MenuExes, ProgramaInexistenteInformaYAvisa) {
  {
    // Ignore goes on to the "not implemented" message.
    Lanzamiento l;
    l.prompt.Answer(5).Answer(1);
    std::string parametro;
    long tarea = -1;
    MenuExes(l.ctx, "NO_EXISTE", parametro, tarea);
    EXPECT_EQ(tarea, 0);
    ASSERT_EQ(l.prompt.prompts().size(), 2u);
    EXPECT_NE(l.prompt.prompts()[0].title.find("MenuExes"), std::string::npos);
    const auto& aviso = l.prompt.prompts()[1];
    EXPECT_EQ(aviso.text, "Opcion no Implementada!\rComuniquese con su proveedor de sistemas");
    EXPECT_EQ(aviso.title, "Atención");
    EXPECT_EQ(aviso.icon, 16);
  }
  {
    // Abort leaves at once.
    Lanzamiento l;
    l.prompt.Answer(3);
    std::string parametro;
    long tarea = 0;
    MenuExes(l.ctx, "NO_EXISTE", parametro, tarea);
    EXPECT_EQ(tarea, 0);
    EXPECT_EQ(l.prompt.prompts().size(), 1u);
  }
}

}  // namespace
}  // namespace ferolin
