#pragma once
// The companion library's utilities object.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/db/recordset.h"

class QWidget;

namespace ferolin::ui {
class OperatorPrompt;
}

namespace ferolin::outside {

// A caught failure as the handlers hand it on.
struct ErrorInfo {
  long number = 0;
  std::string description;
  std::string source;
};

class Utilidades {
 public:
  explicit Utilidades(ui::OperatorPrompt& prompt);

  std::string CortarTexto(const std::string& text, std::size_t maxLength = 250) const;
  // Currency semantics: four decimals; text read like a number at its start,
  // accepting "," or "." as decimal separator.
  double TextoANumero(const std::string& text) const;
  std::int16_t TextoAIndice(const std::string& position) const;
  std::string ValorCampo(const db::Field& field) const;
  std::string QuitarCaracter(const std::string& text, char32_t c1,
                             std::optional<char32_t> c2 = std::nullopt) const;
  std::string Reemplazar(const std::string& text, const std::string& search,
                         const std::string& replacement) const;  // case-insensitive
  std::string ReemplazarNombre(const std::string& statement, const std::string& name,
                               const std::string& otherName) const;
  std::int32_t ContarPalabras(const std::string& text) const;
  // Trims blanks; with width > 0 the trimmed text is cut or padded with blanks
  // on the right to exactly width characters (an article code of fixed width).
  std::string AjustarTexto(const std::string& text, int width = 0) const;
  // Before a window is shown: centred over its parent (or the screen) and kept
  // inside the screen's available area. keepPosition != 0 only keeps it inside.
  void PrepararVentana(QWidget* window, int keepPosition = 0) const;
  // Asks the operator Retry / Ignore / Abort; returns 4, 5 or another answer.
  int ManejarError(const ErrorInfo& error, const std::string& procedure);
  // Reversible for any UTF-8 text: "~" followed by the bytes in upper-case hex
  // ("" stays ""). The output holds no comma, quote, "|", line break or outer
  // blank, so it survives comma-separated and INI files. Decodificar gives back
  // a text that is not of that form unchanged (values stored before encoding).
  std::string Codificar(const std::string& text) const;
  std::string Decodificar(const std::string& text) const;
  std::string CarpetaConBarra(const std::string& folder) const;

 private:
  ui::OperatorPrompt& prompt_;
};

}  // namespace ferolin::outside
