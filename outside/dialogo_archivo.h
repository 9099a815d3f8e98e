#pragma once
// The companion library's file-open dialog, shown through the operator prompt.

#include <string>

namespace ferolin::ui {
class OperatorPrompt;
}

namespace ferolin::outside {

class DialogoArchivo {
 public:
  explicit DialogoArchivo(ui::OperatorPrompt& prompt) : prompt_(&prompt) {}
  std::string Titulo;
  std::string Filtro;
  bool Opcion = false;
  void MostrarAbrir();
  bool Cancelado() const { return cancelado_; }
  const std::string& NombreArchivo() const { return nombreArchivo_; }

 private:
  ui::OperatorPrompt* prompt_;
  bool cancelado_ = true;
  std::string nombreArchivo_;
};

}  // namespace ferolin::outside
