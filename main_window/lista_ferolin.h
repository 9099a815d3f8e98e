#pragma once
// The stored form of the zero-rate list: one TA_CONFIGURACION row per account,
// group "FEROLIN", key "FEROLIN_" + code + " ", value = comment.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferolin::lista {

inline constexpr const char* kSentenciaLista =
    "SELECT * FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN' ORDER BY CLAVE";
inline constexpr const char* kSentenciaBorrarLista =
    "delete ta_configuracion where grupo = 'FEROLIN'";

// The account code held by a stored key: from its 9th character on, trimmed.
// The prefix itself is not looked at.
std::string CodigoDeClave(std::string_view clave);

// The insert of one entry; code and comment are stored as given (callers trim).
std::string SentenciaInsertarCuenta(std::string_view codigo, std::string_view comentario);

struct Entrada {
  std::string codigo;
  std::string comentario;
};

// Entries a save sends in one statement. SQL Server takes at most 1,000 rows
// in a VALUES list; a refused block is sent again row by row, so smaller
// blocks also keep that replay short.
inline constexpr std::size_t kEntradasPorBloque = 200;

// One insert of several entries, each stored as SentenciaInsertarCuenta
// stores it.
std::string SentenciaInsertarCuentas(const std::vector<Entrada>& entradas);

// Whether an entry may share a block: text holding both DROP and CREATE makes
// the statement go through the synonym translation, which must then see
// only this entry's text, as when it is saved alone.
bool PuedeIrEnBloque(const Entrada& entrada);

}  // namespace ferolin::lista
