// A list of statements run as one script inside one transaction on gDB.

#include "data_access/db_dll.h"
#include "data_access/error_report.h"
#include "data_access/texto.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

namespace {

constexpr char kCR = '\r';
constexpr const char* kCRLF = "\r\n";
constexpr const char* kRutina = "GActualizarDatoScript";

// EjecutaConsultaSQL reports nothing; the outcome is read from the provider
// error collection, so anything it raises is only noted.
void Ejecutar(DB_Dll& db, const std::string& sentencia) {
  std::string texto = sentencia;
  try {
    db.EjecutaConsultaSQL(texto);
  } catch (const std::exception& e) {
    pasos::Anotar(kRutina, e);
  }
}

}  // namespace

ResultadoScript GActualizarDatoScript(ContextoPrograma& ctx,
                                      const std::vector<std::string>& Sentencias,
                                      bool IgnorarDuplicados, bool IgnorarRestriccion,
                                      bool MostrarMensaje) {
  ResultadoScript r;
  auto& db = ctx.gDB();
  auto reportar = [&](const outside::ErrorInfo& e) {
    return static_cast<int>(ReporteError(ctx, e, 18, std::string(kRutina)));
  };

  std::string cuerpo;
  for (const auto& s : Sentencias) {
    if (!texto::Recortar(s).empty()) cuerpo += kCR + s;
  }
  if (cuerpo.empty()) return r;

  const std::string script = std::string("BEGIN TRANSACTION ") + kCR + kCR + cuerpo + kCR;
  r.TextoEjecutado = script;
  // Errors left by earlier statements must not count against this script.
  if (!pasos::Reportado([&] { db.Operaciones().Errors().Clear(); }, reportar)) return r;
  Ejecutar(db, script);

  long codigo = 0;
  std::string mostrar;
  bool seguir = pasos::Reportado(
      [&] {
        auto& errores = db.Operaciones().Errors();
        if (errores.Empty()) return;
        codigo = errores.Item(0).nativeError;
        r.Fallo = true;
        std::string mensaje;
        const std::size_t n = errores.Count() == 1 ? 1 : errores.Count() - 1;
        for (std::size_t i = 0; i < n; ++i) {
          const auto& e = errores.Item(i);
          mensaje += std::to_string(e.nativeError) + " : " + e.description + kCRLF;
        }
        r.MensajeError = mensaje;
        mostrar = mensaje;
        if ((IgnorarDuplicados && codigo == db::native::kDuplicateKey) ||
            (IgnorarRestriccion && codigo == db::native::kConstraintConflict)) {
          r.MensajeError = errores.Item(0).description;
          mostrar.clear();
        }
        errores.Clear();
      },
      reportar);
  if (!seguir) return r;

  if (r.Fallo) {
    Ejecutar(db, "ROLLBACK TRANSACTION");
    if (!pasos::Reportado(
            [&] { GrabarErrorTabla(ctx, script, ctx.nombrePrograma, codigo, r.MensajeError); },
            reportar))
      return r;
    if (!texto::Recortar(mostrar).empty() && MostrarMensaje) {
      if (!pasos::Reportado(
              [&] {
                ctx.prompt.Message(mostrar, ui::buttons::kOk + ui::icon::kCritical,
                                   "Aviso al Operador!");
              },
              reportar))
        return r;
    }
  } else {
    // A refused commit loses the script's changes: it is a failure, reported
    // like any other step, and the transaction is not left open.
    const bool confirmado = pasos::Reportado(
        [&] {
          r.Fallo = false;
          std::string commit = "COMMIT TRANSACTION";
          db.EjecutaConsultaSQL(commit);
          auto& errores = db.Operaciones().Errors();
          if (errores.Empty()) return;
          const db::ProviderError e = errores.Item(0);
          errores.Clear();
          r.Fallo = true;
          codigo = e.nativeError;
          r.MensajeError = e.description;
          throw db::DbError(e.number != 0 ? e.number : db::err::kUnspecified, e.description);
        },
        reportar);
    if (r.Fallo) Ejecutar(db, "ROLLBACK TRANSACTION");
    if (!confirmado) return r;
  }
  r.CodigoError = codigo;
  return r;
}

}  // namespace ferolin
