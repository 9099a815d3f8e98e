#pragma once
// The error log KVERR.LOG: one line per report, CR LF, Windows-1252 on disk.

#include <ctime>
#include <fstream>
#include <optional>
#include <string>

namespace ferolin {

// The word the log writes for an answer code ("" for OK and unknown codes).
std::string PalabraRespuesta(int respuesta);

// "mm-dd-yyyy hh:mm:ss Rutina: - X Mensaje <mensaje> Respondió : <palabra>",
// without the line end.
std::string LineaRegistro(const std::tm& momento, const std::optional<std::string>& rutina,
                          const std::string& mensaje, int respuesta);

// "dd/mm/yy hh:mm", the suite's date-and-time format.
std::string FechaHoraCorta(const std::tm& momento);

std::tm Ahora();

// The log file held open for appending; writing failures are dropped, since a
// report must still return the operator's answer.
class ArchivoRegistro {
 public:
  explicit ArchivoRegistro(const std::string& ruta);
  void Escribir(const std::string& lineaUtf8);

 private:
  std::ofstream archivo_;
};

}  // namespace ferolin
