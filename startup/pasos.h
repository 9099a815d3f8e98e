#pragma once
// How the shared procedures run their steps: under an error report (retry
// runs the step again, ignore goes on with the next one, any other answer
// leaves the procedure) or skipping a failed step, as each procedure says.

#include <exception>
#include <string>

#include "outside/utilidades.h"

namespace ferolin::pasos {

// The caught failure as the reports take it.
outside::ErrorInfo InfoDe(const std::exception& e);

// A skipped failure leaves a trace on standard error; the operator sees nothing.
void Anotar(const std::string& rutina, const std::exception& e);

// Runs paso; on a failure asks reportar (ErrorInfo -> answer code). Returns
// true to go on with the next step, false to leave the procedure.
template <class Paso, class Reportar>
bool Reportado(Paso&& paso, Reportar&& reportar) {
  for (;;) {
    try {
      paso();
      return true;
    } catch (const std::exception& e) {
      const int respuesta = reportar(InfoDe(e));
      if (respuesta == 4) continue;
      return respuesta == 5;
    }
  }
}

// Runs paso; a failure is noted and skipped. Returns false when it failed.
template <class Paso>
bool Omitible(const std::string& rutina, Paso&& paso) {
  try {
    paso();
    return true;
  } catch (const std::exception& e) {
    Anotar(rutina, e);
    return false;
  }
}

}  // namespace ferolin::pasos
