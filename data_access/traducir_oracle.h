#pragma once
// The reduced Oracle translation of the access log (TOP and LEN only), driven
// by the main object's connection string.

#include <string>

#include "data_access/contexto_datos.h"

namespace ferolin {

// Throws std::invalid_argument for a "top " without a "*" after it.
std::string TraducirOracle(ContextoDatos& contexto, const std::string& texto);

}  // namespace ferolin
