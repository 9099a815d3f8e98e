#include "main_window/lista_ferolin.h"

#include "data_access/texto.h"

namespace ferolin::lista {

std::string CodigoDeClave(std::string_view clave) {
  // The prefix "FEROLIN_" is 8 bytes of ASCII, so cutting bytes is safe for
  // any UTF-8 key that carries it.
  if (clave.size() <= 8) return "";
  return texto::Recortar(clave.substr(8));
}

std::string SentenciaInsertarCuenta(std::string_view codigo, std::string_view comentario) {
  std::string s = "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_";
  s += texto::DoblarApostrofes(codigo);
  s += " ','";
  s += texto::DoblarApostrofes(comentario);
  s += "')";
  return s;
}

}  // namespace ferolin::lista
