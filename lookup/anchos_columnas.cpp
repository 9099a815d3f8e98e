#include "lookup/anchos_columnas.h"
#include "data_access/texto.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "lookup/sentencias.h"
#include "platform/os/codepage.h"

namespace ferolin::consulta {
namespace {

// One field of a comma-separated line: quoted (quotes end it) or bare.
bool Campo(const std::string& linea, std::size_t& pos, std::string& out) {
  while (pos < linea.size() && linea[pos] == ' ') ++pos;
  out.clear();
  if (pos < linea.size() && linea[pos] == '"') {
    std::size_t fin = linea.find('"', pos + 1);
    if (fin == std::string::npos) return false;
    out = linea.substr(pos + 1, fin - pos - 1);
    pos = fin + 1;
    while (pos < linea.size() && linea[pos] == ' ') ++pos;
  } else {
    std::size_t fin = linea.find(',', pos);
    out = texto::Recortar(
        linea.substr(pos, fin == std::string::npos ? std::string::npos : fin - pos));
    pos = fin == std::string::npos ? linea.size() : fin;
  }
  if (pos < linea.size() && linea[pos] == ',') ++pos;
  return true;
}

std::string Ruta(const std::string& carpeta, const char* nombre) {
  std::string c = carpeta;
  if (!c.empty() && c.back() != '/' && c.back() != '\\') c += '/';
  return c + nombre;
}

}  // namespace

bool PartirLinea(const std::string& linea, std::string& tabla, std::string& anchos) {
  std::size_t pos = 0;
  if (!Campo(linea, pos, tabla)) return false;
  return Campo(linea, pos, anchos);
}

std::vector<std::string> LeerAnchos(const std::string& carpeta, const std::string& tabla) {
  std::string ruta = Ruta(carpeta, kArchivoAnchos);
  std::vector<std::string> anchos;
  if (!std::filesystem::exists(ruta)) return anchos;
  for (const auto& linea : os::ReadTextLines(ruta)) {
    if (texto::Recortar(linea).empty()) continue;
    std::string t, a;
    if (!PartirLinea(linea, t, a)) throw std::runtime_error("Linea invalida en " + ruta);
    if (!texto::IgualSinCaso(t, tabla)) continue;
    anchos.clear();
    std::size_t p;
    while ((p = a.find('|')) != std::string::npos) {
      anchos.push_back(a.substr(0, p));
      a.erase(0, p + 1);
    }
  }
  return anchos;
}

void GrabarAnchos(const std::string& carpeta, const std::string& tabla,
                  const std::vector<std::string>& anchos) {
  std::string ruta = Ruta(carpeta, kArchivoAnchos);
  std::string aux = Ruta(carpeta, kArchivoAnchosAux);
  std::string contenido;
  if (std::filesystem::exists(ruta)) {
    for (const auto& linea : os::ReadTextLines(ruta)) {
      std::string t, a;
      if (PartirLinea(linea, t, a) && texto::IgualSinCaso(t, tabla)) continue;
      contenido += os::Utf8ToCp1252(linea) + "\r\n";
    }
  }
  std::string nueva = "\"" + tabla + "\",\"";
  for (const auto& w : anchos) nueva += w + "|";
  nueva += "\"";
  contenido += os::Utf8ToCp1252(nueva) + "\r\n";
  {
    std::ofstream out(aux, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("No se puede escribir " + aux);
    out.write(contenido.data(), static_cast<std::streamsize>(contenido.size()));
    out.close();
    if (!out) throw std::runtime_error("No se puede escribir " + aux);
  }
  std::filesystem::remove(ruta);
  std::filesystem::rename(aux, ruta);
}

}  // namespace ferolin::consulta
