#pragma once
// The companion library's program-wide objects: each created on first use,
// all released together when the program finishes.

#include <memory>
#include <string>

#include "outside/sistema.h"
#include "outside/teclado.h"
#include "outside/utilidades.h"

namespace ferolin::outside {

class Tarvex {
 public:
  explicit Tarvex(ui::OperatorPrompt& prompt) : prompt_(prompt) {}

  Utilidades& utilidades() {
    if (!utilidades_) utilidades_ = std::make_unique<Utilidades>(prompt_);
    return *utilidades_;
  }
  Sistema& sistema() {
    if (!sistema_) sistema_ = std::make_unique<Sistema>();
    return *sistema_;
  }
  Teclado& teclado() {
    if (!teclado_) teclado_ = std::make_unique<Teclado>();
    return *teclado_;
  }
  void Liberar() {
    utilidades_.reset();
    sistema_.reset();
    teclado_.reset();
  }

  std::string CarpetaPrograma;  // set at start-up, ends with a separator

 private:
  ui::OperatorPrompt& prompt_;
  std::unique_ptr<Utilidades> utilidades_;
  std::unique_ptr<Sistema> sistema_;
  std::unique_ptr<Teclado> teclado_;
};

}  // namespace ferolin::outside
