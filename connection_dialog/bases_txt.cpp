#include "connection_dialog/bases_txt.h"

#include <stdexcept>

#include "data_access/texto.h"

namespace ferolin {

namespace {

bool EsBlanco(char c) {
  return c == ' ' || c == '\t';
}

bool NecesitaComillas(const std::string& valor) {
  if (valor.find_first_of(",\"") != std::string::npos) return true;
  return !valor.empty() && (EsBlanco(valor.front()) || EsBlanco(valor.back()));
}

std::string Escribir(const std::string& valor) {
  if (valor.find_first_of("\r\n") != std::string::npos) {
    throw std::invalid_argument("un valor del registro contiene un salto de linea");
  }
  if (!NecesitaComillas(valor)) return valor;
  std::string out = "\"";
  for (char c : valor) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

}  // namespace

std::vector<std::string> LeerCampos(std::string_view linea) {
  while (!linea.empty() && (linea.back() == '\r' || linea.back() == '\n')) linea.remove_suffix(1);
  std::vector<std::string> campos;
  std::size_t i = 0;
  const std::size_t n = linea.size();
  if (texto::RecortarBlancosYTabulaciones(linea).empty()) return campos;
  while (true) {
    while (i < n && EsBlanco(linea[i])) ++i;
    std::string campo;
    if (i < n && linea[i] == '"') {
      ++i;
      while (i < n) {
        if (linea[i] == '"') {
          if (i + 1 < n && linea[i + 1] == '"') {
            campo += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        campo += linea[i++];
      }
      // Whatever follows the closing quote up to the separator is not data.
      while (i < n && linea[i] != ',') ++i;
    } else {
      const std::size_t inicio = i;
      while (i < n && linea[i] != ',') ++i;
      campo = texto::RecortarBlancosYTabulaciones(linea.substr(inicio, i - inicio));
    }
    campos.push_back(std::move(campo));
    if (i >= n) break;
    ++i;  // the ","
  }
  return campos;
}

RegistroBase RegistroDesdeLinea(std::string_view linea) {
  auto campos = LeerCampos(linea);
  campos.resize(5);
  return {campos[0], campos[1], campos[2], campos[3], campos[4]};
}

std::string LineaRegistro(const RegistroBase& r) {
  return Escribir(r.nombre) + "," + Escribir(r.dbName) + "," + Escribir(r.usuario) + "," +
         Escribir(r.password) + "," + Escribir(r.servidor);
}

std::string ServidorClave(const std::string& servidor) {
  std::string clave = texto::MayusculasUnicode(texto::RecortarBlancosYTabulaciones(servidor));
  if (auto p = clave.find(':'); p != std::string::npos) clave.erase(p);
  return clave;
}

std::string NombreConexion(const std::string& dbName, const std::string& servidor) {
  return texto::MayusculasUnicode(texto::RecortarBlancosYTabulaciones(dbName)) + " / " +
         ServidorClave(servidor);
}

ServidorPuerto SepararPuerto(const std::string& servidor) {
  const auto p = servidor.find(':');
  if (p == std::string::npos) return {servidor, std::nullopt};
  return {texto::MayusculasUnicode(texto::RecortarBlancosYTabulaciones(servidor.substr(0, p))),
          servidor.substr(p + 1)};
}

}  // namespace ferolin
