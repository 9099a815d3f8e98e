#pragma once
// The companion library's system object and settings reader.

#include <string>

namespace ferolin::outside {

class Sistema {
 public:
  std::string NombreEquipo() const;    // workstation name
  std::string UsuarioSistema() const;  // operating-system user
  std::string CarpetaSistema() const;  // log folder when none is configured
};

// Windows profile rules: first section and key that match without regard to
// case, value trimmed, no inline comments, no continuation lines. The file is
// Windows-1252 on disk. Returns defaultValue when file, section or key is missing.
std::string LeerIni(const std::string& fileName, const std::string& section, const std::string& key,
                    const std::string& defaultValue);

}  // namespace ferolin::outside
