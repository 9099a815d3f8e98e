#include "outside/teclado.h"

#include <QLocale>
#include <QString>

#include "platform/ui/keys.h"

namespace ferolin::outside {

bool Teclado::EsTeclaDeSalida(int keyCode) const {
  switch (keyCode) {
    case ui::vk::kTab:
    case ui::vk::kReturn:
    case ui::vk::kEscape:
    case ui::vk::kUp:
    case ui::vk::kDown:
      return true;
    default:
      return false;
  }
}

std::string Teclado::SeparadorDecimal() const {
  const QString point = QLocale::system().decimalPoint();
  return point.isEmpty() ? std::string(".") : point.toStdString();
}

}  // namespace ferolin::outside
