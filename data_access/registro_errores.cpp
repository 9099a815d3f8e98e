#include "data_access/registro_errores.h"

#include <cstdio>

#include "platform/os/codepage.h"

namespace ferolin {

std::string PalabraRespuesta(int respuesta) {
  switch (respuesta) {
    case 2:
      return "Cancelar";
    case 3:
      return "Abortar";
    case 4:
      return "Reintentar";
    case 5:
      return "Ignorar";
    case 6:
      return "Sí";
    case 7:
      return "No";
    default:
      return "";
  }
}

std::string LineaRegistro(const std::tm& momento, const std::optional<std::string>& rutina,
                          const std::string& mensaje, int respuesta) {
  char fecha[32];
  std::strftime(fecha, sizeof fecha, "%m-%d-%Y %H:%M:%S", &momento);
  const std::string parteRutina = rutina ? "- " + *rutina : "";
  return std::string(fecha) + " Rutina: " + parteRutina + " Mensaje " + mensaje +
         " Respondió : " + PalabraRespuesta(respuesta);
}

std::string FechaHoraCorta(const std::tm& momento) {
  char texto[32];
  std::strftime(texto, sizeof texto, "%d/%m/%y %H:%M", &momento);
  return texto;
}

std::tm Ahora() {
  const std::time_t t = std::time(nullptr);
  std::tm m{};
  localtime_r(&t, &m);
  return m;
}

ArchivoRegistro::ArchivoRegistro(const std::string& ruta)
    : archivo_(ruta, std::ios::binary | std::ios::app) {}

void ArchivoRegistro::Escribir(const std::string& lineaUtf8) {
  if (!archivo_) return;
  archivo_ << os::Utf8ToCp1252(lineaUtf8) << "\r\n";
  archivo_.flush();
}

}  // namespace ferolin
