#pragma once
// The program-wide error report, the error table, and the log line format
// shared with DB_Dll::TratamientoErrores.

#include <cstdint>
#include <optional>
#include <string>

#include "data_access/contexto_datos.h"
#include "outside/utilidades.h"

namespace ferolin {

std::int16_t ReporteError(ContextoDatos& contexto, const outside::ErrorInfo& CodErr,
                          int Botones = 18,
                          const std::optional<std::string>& Rutina = std::nullopt);

void GrabarErrorTabla(ContextoDatos& contexto, const std::string& sentencia,
                      const std::string& proceso, long numeroError, const std::string& descripcion);

}  // namespace ferolin
