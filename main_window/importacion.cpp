#include "main_window/importacion.h"

#include "platform/os/codepage.h"

namespace ferolin {

std::optional<LineaImportada> SepararLinea(std::string_view linea) {
  std::size_t pos = linea.find(',');
  if (pos == std::string_view::npos) pos = linea.find(';');
  if (pos == std::string_view::npos) pos = linea.find('\t');
  if (pos == std::string_view::npos) return std::nullopt;
  return LineaImportada{std::string(linea.substr(0, pos)), std::string(linea.substr(pos + 1))};
}

std::vector<std::string> LineasImportacion(std::string_view bytes) {
  return os::SplitLines(os::DecodeImportText(bytes));
}

}  // namespace ferolin
