#include "main_window/lista_ferolin.h"

#include <algorithm>
#include <cctype>

namespace ferolin::lista {

std::string Recortar(std::string_view text) {
  auto blanco = [](char c) { return c == ' '; };
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && blanco(text[b])) ++b;
  while (e > b && blanco(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::string CodigoDeClave(std::string_view clave) {
  // The prefix "FEROLIN_" is 8 bytes of ASCII, so cutting bytes is safe for
  // any UTF-8 key that carries it.
  if (clave.size() <= 8) return "";
  return Recortar(clave.substr(8));
}

std::string DuplicarApostrofes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 4);
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string SentenciaInsertarCuenta(std::string_view codigo, std::string_view comentario) {
  std::string s = "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_";
  s += DuplicarApostrofes(codigo);
  s += " ','";
  s += DuplicarApostrofes(comentario);
  s += "')";
  return s;
}

bool IgualesSinMayusculas(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace ferolin::lista
