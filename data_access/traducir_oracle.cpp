#include "data_access/traducir_oracle.h"

#include <stdexcept>

#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

std::string TraducirOracle(ContextoDatos& contexto, const std::string& texto) {
  if (!texto::Contiene(contexto.gDB().gConnString, "oracle")) return texto;
  if (contexto.tarvex.utilidades().ContarPalabras(texto) < 2) {
    return texto::IgualSinCaso(texto, "LEN") ? "LENGTH" : texto;
  }
  if (!texto::Contiene(texto, "top ")) return texto;
  const auto p = texto::Buscar(texto, "top");
  const std::string cabeza = texto.substr(0, p);
  const std::string despues = texto.substr(p + 3);
  const auto asterisco = despues.find('*');
  if (asterisco == std::string::npos) {
    throw std::invalid_argument("TOP sin \"*\" en: " + texto);
  }
  const std::string cantidad = despues.substr(0, asterisco);
  const std::string resto = despues.substr(asterisco + 1);
  return cabeza + " * " + resto + " WHERE ROWNUM <= " + cantidad;
}

}  // namespace ferolin
