#include "outside/dialogo_archivo.h"

#include "platform/ui/operator_prompt.h"

namespace ferolin::outside {

void DialogoArchivo::MostrarAbrir() {
  // Nothing of a previous choice survives a new dialog, also when it fails.
  cancelado_ = true;
  nombreArchivo_.clear();
  const auto chosen = prompt_->OpenFile(ui::FileRequest{Titulo, Filtro, {}});
  if (chosen && !chosen->empty()) {
    cancelado_ = false;
    nombreArchivo_ = *chosen;
  }
}

}  // namespace ferolin::outside
