#pragma once
// Start-up from the launch-parameter string (or the settings file).

#include <string>

#include "startup/contexto_programa.h"

namespace ferolin {

// Fills gDB from the launch parameters and opens the connection, then tunes it
// and starts the services. Returns false when no connection could be opened:
// the program must end without showing a window.
bool IniciarPrograma(ContextoPrograma& ctx, bool UsarIniSinComando, const std::string& LineaComando,
                     std::string& ConnString, long lCursor);

std::string ServidorSinPuerto(const std::string& server);

// The values of a launch-parameter string ("@key=value;" items closed by
// "mirk@"), each key found by its first occurrence without regard to case.
struct ParametrosLanzamiento {
  std::string ParametroAdicional;
  std::string Menu;
  std::string Server;
  std::string DbName;
  std::string Usuario;
  std::string Password;
  std::string UsuarioLogeado;
  std::string Caja = "1";
};
ParametrosLanzamiento LeerParametrosLanzamiento(const std::string& linea);

// The value of one key: the text after its first occurrence up to the next
// ";", without any "=", trimmed. defecto when the key does not occur; "" when
// no ";" follows it.
std::string ValorParametro(const std::string& linea, const std::string& clave,
                           const std::string& defecto = "");

// The process arguments without the program path, joined by blanks.
std::string LineaComandoDelProceso();

}  // namespace ferolin
