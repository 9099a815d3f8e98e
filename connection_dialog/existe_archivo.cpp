#include "connection_dialog/existe_archivo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace ferolin {

bool ExisteArchivo(const std::string& ruta) {
  std::string limpia = ruta;
  limpia.erase(std::remove(limpia.begin(), limpia.end(), '"'), limpia.end());
  if (limpia.empty()) return false;
  // Paths are UTF-8 in memory whatever the platform's narrow encoding is.
  const std::filesystem::path camino(std::u8string(limpia.begin(), limpia.end()));
  std::error_code ec;
  if (!std::filesystem::is_regular_file(camino, ec)) return false;
  std::ifstream f(camino, std::ios::binary);
  return f.is_open();
}

}  // namespace ferolin
