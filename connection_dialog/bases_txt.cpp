#include "connection_dialog/bases_txt.h"

#include <QString>
#include <stdexcept>

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

std::string bases_txt::Recortar(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && EsBlanco(text[b])) ++b;
  while (e > b && EsBlanco(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

std::string bases_txt::Mayusculas(const std::string& text) {
  return QString::fromStdString(text).toUpper().toStdString();
}

std::vector<std::string> LeerCampos(std::string_view linea) {
  while (!linea.empty() && (linea.back() == '\r' || linea.back() == '\n')) linea.remove_suffix(1);
  std::vector<std::string> campos;
  std::size_t i = 0;
  const std::size_t n = linea.size();
  if (Recortar(linea).empty()) return campos;
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
      campo = Recortar(linea.substr(inicio, i - inicio));
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
  std::string clave = Mayusculas(Recortar(servidor));
  if (auto p = clave.find(':'); p != std::string::npos) clave.erase(p);
  return clave;
}

std::string NombreConexion(const std::string& dbName, const std::string& servidor) {
  return Mayusculas(Recortar(dbName)) + " / " + ServidorClave(servidor);
}

ServidorPuerto SepararPuerto(const std::string& servidor) {
  const auto p = servidor.find(':');
  if (p == std::string::npos) return {servidor, std::nullopt};
  return {Mayusculas(Recortar(servidor.substr(0, p))), servidor.substr(p + 1)};
}

}  // namespace ferolin
