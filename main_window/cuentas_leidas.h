#pragma once
// The accounts a long load or import is about to check, read from MA_CUENTAS
// in a few statements instead of one per entry: on a server each statement
// costs a round trip, and a list of thousands of entries spent most of its
// load waiting on them.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ferolin {

class DB_Dll;

class CuentasLeidas {
 public:
  // Codes sent in one statement.
  static constexpr std::size_t kCodigosPorSentencia = 500;

  // Reads the accounts whose trimmed code is one of `codigos` (blank codes
  // are left out). A failure forgets everything read and leaves no errors
  // behind: every code is then checked on its own, and that check reports
  // what is wrong.
  void Leer(DB_Dll& gdb, const std::vector<std::string>& codigos);
  void Olvidar();

  // The trimmed description of the account whose trimmed code is exactly
  // `codigo`, byte for byte. nullptr when no account was read with that code,
  // or several were (the database then chooses): the caller checks the code
  // itself, so a code differing only in case still finds its account.
  const std::string* Descripcion(const std::string& codigo) const;

 private:
  // nullopt: more than one account has the code.
  std::unordered_map<std::string, std::optional<std::string>> cuentas_;
};

}  // namespace ferolin
