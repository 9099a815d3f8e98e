#pragma once
// The registered-connections file BASES.TXT: one record of five comma-separated
// fields per line (name, database, user, encoded password, server[:port]).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferolin {

inline constexpr const char* kArchivoBases = "BASES.TXT";

struct RegistroBase {
  std::string nombre;
  std::string dbName;
  std::string usuario;
  std::string password;  // as stored: encoded
  std::string servidor;  // as typed, possibly "server:port"
};

// Reads the fields of one line the way comma-separated input is read: a field
// ends at "," or at the line end, surrounding blanks are dropped, and a field
// may be enclosed in double quotes (a doubled quote inside stands for one).
std::vector<std::string> LeerCampos(std::string_view linea);

// One record per line; missing fields are "", fields beyond the fifth are
// dropped so that a malformed line never spills into the next record.
RegistroBase RegistroDesdeLinea(std::string_view linea);

// The line GuardarConexion writes. Values are written bare as they always
// were; only a value that bare writing would corrupt (a comma, a quote, or
// blanks at its ends, which only the password keeps) is quoted. Throws
// std::invalid_argument for a value holding a line break.
std::string LineaRegistro(const RegistroBase& registro);

// Server trimmed, in upper case, cut before its first ":".
std::string ServidorClave(const std::string& servidor);
// The list entry: database in upper case, " / ", server key.
std::string NombreConexion(const std::string& dbName, const std::string& servidor);

struct ServidorPuerto {
  std::string servidor;
  std::optional<std::string> puerto;  // set when the server carried ":"
};
// "srv01:1450" -> {"SRV01", "1450"}; a server without ":" is returned as it is.
ServidorPuerto SepararPuerto(const std::string& servidor);

}  // namespace ferolin
