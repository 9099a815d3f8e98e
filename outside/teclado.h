#pragma once
// The companion library's keyboard object. Key codes are virtual-key codes.

#include <string>

namespace ferolin::outside {

class Teclado {
 public:
  // True for the keys that confirm a grid cell's edit: 13, 27, 38, 40 (and Tab, 9).
  bool EsTeclaDeSalida(int keyCode) const;
  // First character is the regional decimal separator.
  std::string SeparadorDecimal() const;
};

}  // namespace ferolin::outside
