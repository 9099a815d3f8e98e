#pragma once
// The one object that owns the program-wide state: the data-access objects,
// the companion objects, the lookup service and the program globals. main()
// creates it; tests create and discard one per test.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "data_access/contexto_datos.h"
#include "startup/valores_configuracion.h"

namespace ferolin {

class Lib_ClsCons3;

class ContextoPrograma : public ContextoDatos {
 public:
  ContextoPrograma(ui::OperatorPrompt& prompt, std::string carpetaPrograma,
                   std::string nombrePrograma = "ferolin");
  ~ContextoPrograma() override;

  // Launch globals.
  std::string gSeccionPuesto;
  double gFlatToolbars = 0;
  std::string gUsuarioLogeado;
  std::string gMenu;
  std::string gParametroAdicional;
  std::string gCaja;
  std::uint32_t gColorTextoEdicion = 0x000000;  // 0x00BBGGRR
  std::uint32_t gColorFondoEdicion = 0xFFFFFF;
  std::int16_t gTimeOut = 360;
  std::int32_t gIdAcceso = 0;
  std::string gTablaConfiguracion;

  ValoresConfiguracion configuracion;

  // The program's help file, set by the start-up.
  std::string archivoAyuda;

  // Where IniciarPrograma takes the process command line from when the caller
  // gives none: the process arguments without the program path, joined by
  // blanks. Tests replace it.
  std::function<std::string()> lineaComandoProceso;

  // The shared lookup service, created on first use.
  Lib_ClsCons3& servicioConsultas();

 private:
  std::unique_ptr<Lib_ClsCons3> servicioConsultas_;
};

}  // namespace ferolin
