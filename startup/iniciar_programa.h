#pragma once
// Start-up from the launch-parameter string (or the settings file).

#include <string>

#include "startup/contexto_programa.h"

namespace ferolin {

// Fills gDB from the launch parameters and opens the connection, then tunes it
// and starts the services. Returns false when no connection could be opened:
// the program must end without showing a window.
bool IniciarPrograma(ContextoPrograma& ctx, bool UsarIniSinComando,
                     const std::string& LineaComando, std::string& ConnString, long lCursor);

std::string ServidorSinPuerto(const std::string& server);

}  // namespace ferolin
