#include "startup/archivo_ini.h"

#include <filesystem>
#include <system_error>

#include "data_access/texto.h"

namespace ferolin {

std::string RutaQuadrelIni(const std::string& carpeta) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path dir = carpeta.empty() ? fs::path(".") : fs::path(carpeta);
  for (fs::directory_iterator it(dir, ec), fin; !ec && it != fin; it.increment(ec)) {
    const std::string nombre = it->path().filename().string();
    if (texto::IgualSinCasoUnicode(nombre, "quadrel.ini") && it->is_regular_file(ec)) {
      return carpeta + nombre;
    }
  }
  return carpeta + "Quadrel.INI";
}

}  // namespace ferolin
