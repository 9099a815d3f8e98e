#pragma once

#include <string>

namespace ferolin {

// True when the file at the path, with every double quote removed from the
// path, can be opened for reading. A folder is not a file.
bool ExisteArchivo(const std::string& ruta);

}  // namespace ferolin
