// DB_Dll: the data-access error report.

#include "data_access/db_dll.h"
#include "data_access/registro_errores.h"
#include "data_access/texto.h"

namespace ferolin {

std::int16_t DB_Dll::TratamientoErrores(const outside::ErrorInfo& CodErr, int Botones,
                                        const std::optional<std::string>& Rutina) {
  std::string archivo = gLogErr;
  if (archivo.empty()) {
    archivo = contexto_.carpetaPrograma;
    if (archivo.empty() || archivo.back() != '/') archivo += "/";
    archivo += "KVERR.LOG";
  }
  const std::string mensaje = "Ha ocurrido el Siguiente Error (" + std::to_string(CodErr.number) +
                              ") " + texto::Recortar(CodErr.description);
  const std::string titulo =
      CodErr.source + (Rutina ? " - " + *Rutina : "") + " Aviso al operador!!! - 5 ";
  if (CodErr.number == 0) return 0;
  const int respuesta = contexto_.prompt.Message(mensaje, Botones, titulo);
  if (respuesta != 0) {
    ArchivoRegistro(archivo).Escribir(
        LineaRegistro(Ahora(), Rutina, texto::Recortar(mensaje), respuesta));
  }
  return static_cast<std::int16_t>(respuesta);
}

}  // namespace ferolin
