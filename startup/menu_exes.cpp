// Starting a sibling program of the suite with the current connection data.

#include <filesystem>
#include <system_error>

#include "data_access/db_dll.h"
#include "data_access/error_report.h"
#include "data_access/texto.h"
#include "platform/db/errors.h"
#include "platform/os/process.h"
#include "startup/menu_exes.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

namespace {

// The platform's numbers for a program file that is missing or cannot run.
constexpr long kArchivoNoEncontrado = 53;
constexpr long kErrorDeAcceso = 75;

}  // namespace

std::string ParametrosParaHermano(const std::string& servidor, const std::string& base,
                                  const std::string& usuario, const std::string& clave,
                                  const std::string& adicional, const std::string& usuarioLogeado,
                                  const std::string& caja) {
  return " ; @server=" + servidor + "; @dbname=" + base + "; @usuario=" + usuario +
         "; @Password=" + clave + "; @ParametroAdicional=" + adicional +
         "; mirk@ ; @UsuarioLogeado = " + usuarioLogeado + "; @Caja=" + caja + ";";
}

std::string ProgramaHermano(const std::string& carpeta, const std::string& Programa) {
  const auto resto = [&] { return Programa.size() > 6 ? Programa.substr(6) : std::string(); };
  if (Programa.find('\\') != std::string::npos || Programa.find('/') != std::string::npos) {
    return resto();
  }
  if (texto::Contiene(Programa, "SHELL")) return carpeta + resto();
  return carpeta + Programa;
}

void MenuExes(ContextoPrograma& ctx, const std::string& Programa, std::string& Parametro,
              long& Resultado) {
  Resultado = 0;
  auto& db = ctx.gDB();
  auto reportar = [&](const outside::ErrorInfo& e) {
    return static_cast<int>(ReporteError(ctx, e, 18, std::string("MenuExes")));
  };

  if (const auto blanco = Parametro.find(' '); blanco != std::string::npos) {
    Parametro = Parametro.substr(blanco + 1);
  }
  const std::string parametros =
      ParametrosParaHermano(db.gServidor, db.gDBName, db.gUsuario, db.gUserPassWord, Parametro,
                            ctx.gUsuarioLogeado, ctx.gCaja);
  std::string carpeta = ctx.carpetaPrograma;
  if (!pasos::Reportado(
          [&] { carpeta = ctx.tarvex.utilidades().CarpetaConBarra(ctx.carpetaPrograma); },
          reportar))
    return;
  const std::string programa = ProgramaHermano(carpeta, Programa);

  if (!pasos::Reportado(
          [&] {
            std::error_code ec;
            if (!std::filesystem::is_regular_file(programa, ec)) {
              throw db::DbError(kArchivoNoEncontrado, "No se encontró el archivo " + programa,
                                "MenuExes");
            }
            std::string error;
            // The parameter string goes as one argument, without its leading
            // blank: the started program joins its arguments with blanks and
            // reads back exactly this text.
            Resultado = os::StartProcess(programa, {parametros.substr(1)}, &error);
            if (Resultado == 0) {
              throw db::DbError(kErrorDeAcceso, "No se pudo iniciar " + programa + ": " + error,
                                "MenuExes");
            }
          },
          reportar))
    return;

  if (Resultado == 0) {
    ctx.prompt.Message("Opcion no Implementada!\rComuniquese con su proveedor de sistemas",
                       ui::buttons::kOk + ui::icon::kCritical, "Atención");
  }
}

}  // namespace ferolin
