#pragma once
// Program-wide values loaded from the configuration table at start-up, one per
// key, named after it. Filled by CargarConfiguracion.

#include <string>

namespace ferolin {

struct ValoresConfiguracion {
  bool cargada = false;  // CargarConfiguracion has run
};

}  // namespace ferolin
