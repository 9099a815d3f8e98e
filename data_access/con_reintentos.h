#pragma once
// The suite's rule for a failing step: the handler answers as an error report
// does; 4 runs the step again, 5 goes on with the step after it, any other
// answer leaves the procedure.

#include <exception>
#include <new>
#include <string>

#include "outside/utilidades.h"
#include "platform/db/errors.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

enum class Resultado { Hecho, Omitido, Abandonado };

// Numbers for failures that do not come from the database client.
namespace err_programa {
inline constexpr long kArgumentoNoValido = 5;  // a text operation given an unusable text
inline constexpr long kSinMemoria = 7;
inline constexpr long kObjetoNoEstablecido = 91;
}  // namespace err_programa

inline outside::ErrorInfo ErrorDe(const db::DbError& e) {
  return {e.number(), e.description(), e.source()};
}

inline outside::ErrorInfo ErrorDe(const std::exception& e) {
  if (auto* d = dynamic_cast<const db::DbError*>(&e)) return ErrorDe(*d);
  const long numero = dynamic_cast<const std::bad_alloc*>(&e) ? err_programa::kSinMemoria
                                                              : err_programa::kArgumentoNoValido;
  return {numero, e.what(), "Ferolin"};
}

// Runs paso until it succeeds or the handler's answer says otherwise.
// manejar(const outside::ErrorInfo&) returns an answer code.
template <class Paso, class Manejar>
Resultado ConReintentos(Paso&& paso, Manejar&& manejar) {
  for (;;) {
    outside::ErrorInfo error;
    try {
      paso();
      return Resultado::Hecho;
    } catch (const std::exception& e) {
      error = ErrorDe(e);
    }
    const int respuesta = manejar(error);
    if (respuesta == ui::answer::kRetry) continue;
    return respuesta == ui::answer::kIgnore ? Resultado::Omitido : Resultado::Abandonado;
  }
}

}  // namespace ferolin
