#pragma once
// Lookup masks: which columns and filter a lookup by table name uses. They
// live in a file of fixed 1202-byte records (Windows-1252, blank padded), the
// layout other programs of the suite read and write too.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ferolin {

inline constexpr std::size_t kLargoTitulo = 100;
inline constexpr std::size_t kLargoTabla = 100;
inline constexpr std::size_t kLargoCampos = 500;
inline constexpr std::size_t kLargoFiltro = 500;
inline constexpr std::size_t kLargoRegMascara = 1202;  // the four fields plus CR LF

// One record. Texts are UTF-8 in memory; as read they keep their padding.
struct RegMascara {
  std::string Titulo;
  std::string Tabla;
  std::string Campos;  // "|COL1|COL2|"
  std::string Filtro;  // condition without WHERE
  std::string FinDeLinea = "\r\n";
};

// The record's 1202 bytes: each text converted to Windows-1252, left-aligned,
// blank padded or cut to its field length.
std::string CodificarMascara(const RegMascara& reg);
// The inverse; a short buffer reads as if padded with zero bytes.
RegMascara DecodificarMascara(std::string_view bytes);

// Every record of the file in order (a partial last record is read zero
// padded); empty when the file does not exist or cannot be read.
std::vector<RegMascara> LeerMascaras(const std::string& ruta);

// Appends one record after the last whole record (the file is created when
// missing). Raises std::runtime_error when the file cannot be written.
void AgregarMascara(const std::string& ruta, const RegMascara& reg);

// The eleven default masks, in file order.
const std::vector<RegMascara>& MascarasPorDefecto();

// Writes the default masks to ruta. The start-up calls it when no file exists
// there. Raises std::runtime_error when the file cannot be written.
void EscribirMascarasPorDefecto(const std::string& ruta);

}  // namespace ferolin
