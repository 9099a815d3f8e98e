#include "startup/contexto_programa.h"

#include "lookup/lib_cls_cons3.h"
#include "startup/servicios.h"

namespace ferolin {

ContextoPrograma::ContextoPrograma(ui::OperatorPrompt& prompt, std::string carpetaPrograma,
                                   std::string nombrePrograma)
    : ContextoDatos(prompt, std::move(carpetaPrograma), std::move(nombrePrograma)) {}

// The lookup service goes first: it reads through this context.
ContextoPrograma::~ContextoPrograma() {
  servicioConsultas_.reset();
}

Lib_ClsCons3& ContextoPrograma::servicioConsultas() {
  if (!servicioConsultas_) {
    servicioConsultas_ = std::make_unique<Lib_ClsCons3>(*this, [this](const std::string& clave) {
      std::string valorAux;
      return Cfg(*this, clave, valorAux);
    });
    servicioConsultas_->LanzadorProgramas = [this](const std::string& programa,
                                                   std::string& parametro, long& resultado) {
      MenuExes(*this, programa, parametro, resultado);
    };
  }
  return *servicioConsultas_;
}

}  // namespace ferolin
