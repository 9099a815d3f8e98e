#pragma once
// How the lookup windows run their steps: under the program's error report
// (retry runs the step again, ignore goes on, any other answer leaves) or
// under continue-on-error (a failing step is skipped).

#include <exception>
#include <string>

#include "data_access/contexto_datos.h"
#include "data_access/error_report.h"
#include "platform/db/errors.h"

namespace ferolin::consulta {

// Error number given to failures that carry none of their own (an invalid call).
inline constexpr long kErrorSinNumero = 5;

inline outside::ErrorInfo InfoDe(const std::exception& e, const std::string& fuente) {
  if (auto* db = dynamic_cast<const db::DbError*>(&e))
    return {db->number(), db->description(), db->source()};
  return {kErrorSinNumero, e.what(), fuente};
}

// True to go on with the next step, false to leave the procedure.
template <typename F>
bool ConReporte(ContextoDatos& ctx, const std::string& rutina, F&& paso) {
  for (;;) {
    outside::ErrorInfo info;
    try {
      paso();
      return true;
    } catch (const std::exception& e) {
      info = InfoDe(e, "Lib_Consultas");
    }
    int r = ReporteError(ctx, info, 18, rutina);
    if (r == 4) continue;
    return r == 5;
  }
}

// The step is skipped when it fails, as the continue-on-error procedures do.
template <typename F>
void Omitible(F&& paso) {
  try {
    paso();
  } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): the rule of these steps
  }
}

}  // namespace ferolin::consulta
