#pragma once
// The stored form of the zero-rate list: one TA_CONFIGURACION row per account,
// group "FEROLIN", key "FEROLIN_" + code + " ", value = comment.

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace ferolin::lista
