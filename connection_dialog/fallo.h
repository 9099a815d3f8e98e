#pragma once
// A caught failure of the dialog in the form the error reports take.

#include <exception>

#include "outside/utilidades.h"

namespace ferolin {

// Error numbers of the original runtime for the failures the dialog raises.
namespace fallo {
inline constexpr long kArgumentoInvalido = 5;
inline constexpr long kAccesoArchivo = 75;
}  // namespace fallo

// Database failures keep their number and source; file failures are 75,
// anything else 5.
outside::ErrorInfo ErrorDesde(const std::exception& e);

}  // namespace ferolin
