#include "data_access/contexto_datos.h"

#include <cstdlib>

#include "data_access/db_dll.h"

namespace ferolin {

ContextoDatos::ContextoDatos(ui::OperatorPrompt& p, std::string carpeta, std::string nombre)
    : prompt(p),
      tarvex(p),
      carpetaPrograma(std::move(carpeta)),
      nombrePrograma(std::move(nombre)),
      // No clean-up and no further events: the connection is gone and the
      // operator chose not to wait for it.
      terminarPrograma([] { std::_Exit(EXIT_FAILURE); }) {}

ContextoDatos::~ContextoDatos() = default;

DB_Dll& ContextoDatos::gDB() {
  if (!gDB_) gDB_ = std::make_unique<DB_Dll>(*this);
  return *gDB_;
}

DB_Dll& ContextoDatos::gDBEstadisticas() {
  if (!gDBEstadisticas_) gDBEstadisticas_ = std::make_unique<DB_Dll>(*this);
  return *gDBEstadisticas_;
}

DB_Dll& ContextoDatos::gDBAuxiliar() {
  if (!gDBAuxiliar_) gDBAuxiliar_ = std::make_unique<DB_Dll>(*this);
  return *gDBAuxiliar_;
}

void ContextoDatos::LiberarGDB() {
  gDB_.reset();
}

}  // namespace ferolin
