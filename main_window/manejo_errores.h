#pragma once
// Runs the steps of a window procedure under the companion library's error
// handler: answer 4 runs the failing step again, 5 goes on with the next
// step, any other answer leaves the procedure.

#include <functional>
#include <string>

#include "outside/utilidades.h"

namespace ferolin {

// VB's "invalid procedure call or argument": handlers that skip it silently
// check for this number.
inline constexpr long kArgumentoInvalido = 5;

// The caught failure, as ManejarError receives it. Only for use inside a catch.
outside::ErrorInfo ErrorActual();

// Runs paso until it succeeds or the operator's answer says otherwise.
// Returns true when the procedure goes on with its next step, false when it
// must be left. With saltarArgumentoInvalido, an invalid-argument failure is
// not reported and the procedure goes on.
bool EjecutarPaso(outside::Utilidades& utilidades, const std::string& procedimiento,
                  const std::function<void()>& paso, bool saltarArgumentoInvalido = false);

}  // namespace ferolin
