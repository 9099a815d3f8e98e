#pragma once
// Remembered column widths of the list lookup window: "CONSULTASLEN.KVT" in
// the program folder, one line per query: "TABLA","1500|3000|" (Windows-1252).

#include <string>
#include <vector>

namespace ferolin::consulta {

inline constexpr const char* kArchivoAnchos = "CONSULTASLEN.KVT";
inline constexpr const char* kArchivoAnchosAux = "CONSULTASLEN.AUX";

// The width texts of the last line for tabla (any case); empty when none.
// Raises std::exception on a malformed file.
std::vector<std::string> LeerAnchos(const std::string& carpeta, const std::string& tabla);

// Replaces tabla's line (other lines are kept, in order) through the
// temporary file. Raises std::exception when the files cannot be written.
void GrabarAnchos(const std::string& carpeta, const std::string& tabla,
                  const std::vector<std::string>& anchos);

// One line's two quoted fields; false when the line is not of that form.
bool PartirLinea(const std::string& linea, std::string& tabla, std::string& anchos);

}  // namespace ferolin::consulta
