#include "main_window/lista_ferolin.h"

#include "data_access/texto.h"

namespace ferolin::lista {

std::string CodigoDeClave(std::string_view clave) {
  // The prefix "FEROLIN_" is 8 bytes of ASCII, so cutting bytes is safe for
  // any UTF-8 key that carries it.
  if (clave.size() <= 8) return "";
  return texto::Recortar(clave.substr(8));
}

namespace {

constexpr const char* kInsertar = "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES";

void AgregarValores(std::string& s, std::string_view codigo, std::string_view comentario) {
  s += "('FEROLIN','FEROLIN_";
  s += texto::DoblarApostrofes(codigo);
  s += " ','";
  s += texto::DoblarApostrofes(comentario);
  s += "')";
}

}  // namespace

std::string SentenciaInsertarCuenta(std::string_view codigo, std::string_view comentario) {
  std::string s = kInsertar;
  AgregarValores(s, codigo, comentario);
  return s;
}

std::string SentenciaInsertarCuentas(const std::vector<Entrada>& entradas) {
  std::string s = kInsertar;
  for (std::size_t i = 0; i < entradas.size(); ++i) {
    if (i > 0) s += ',';
    AgregarValores(s, entradas[i].codigo, entradas[i].comentario);
  }
  return s;
}

bool PuedeIrEnBloque(const Entrada& entrada) {
  for (const std::string* t : {&entrada.codigo, &entrada.comentario}) {
    if (texto::Contiene(*t, "DROP") || texto::Contiene(*t, "CREATE")) return false;
  }
  return true;
}

}  // namespace ferolin::lista
