#pragma once
// The import file: lines of a code and a comment split at one separator.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferolin {

struct LineaImportada {
  std::string codigo;      // text before the separator, untrimmed
  std::string comentario;  // everything after it, further separators included
  friend bool operator==(const LineaImportada&, const LineaImportada&) = default;
};

// The separator is the first comma; without one, the first semicolon; without
// either, the first tab. nullopt when the line has none of the three.
std::optional<LineaImportada> SepararLinea(std::string_view linea);

// The lines of a file's raw bytes: decoded (UTF-8 with or without a byte-order
// mark, Windows-1252 otherwise) and split at CR LF, CR or LF.
std::vector<std::string> LineasImportacion(std::string_view bytes);

}  // namespace ferolin
