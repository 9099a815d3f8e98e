#pragma once
// Window skins: Qt style sheets in the program's Styles/ folder, one per skin
// of the suite, chosen per operating-system user and database in the local
// settings file (key "Styles" of section <USER>_<DATABASE>Styles).

#include <cstdint>
#include <string>

namespace ferolin {

struct EleccionEstilo {
  std::string archivo;   // relative to the program folder, e.g. "Styles/Vista.qss"
  std::string opciones;  // the skin's settings name, "" for most skins
};

// 1 Vista, 2 WinXP.Luna, 3 WinXP.Royale, 4 iTunes (with "Normalitunes.ini"),
// any other value Office2007.
EleccionEstilo ElegirEstilo(long valor);

// The skin value as stored: the leading number of the text, default "4"; a
// value outside the 16-bit range counts as any other value.
long ValorEstilo(const std::string& texto);

// Dynamic properties AplicarEstilo leaves on the window: the skin file applied
// and its settings name.
inline constexpr const char* kPropiedadEstilo = "ferolinEstilo";
inline constexpr const char* kPropiedadOpcionesEstilo = "ferolinOpcionesEstilo";

}  // namespace ferolin
