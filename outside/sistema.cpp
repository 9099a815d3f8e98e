#include "outside/sistema.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>

#include "platform/os/environment.h"

namespace ferolin::outside {

std::string Sistema::NombreEquipo() const {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return os::GetEnv("HOSTNAME");
  return name;
}

std::string Sistema::UsuarioSistema() const {
  for (const char* variable : {"USER", "LOGNAME"}) {
    const std::string user = os::GetEnv(variable);
    if (!user.empty()) return user;
  }
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return std::to_string(::getuid());
}

std::string Sistema::CarpetaSistema() const {
  return os::TempFolder();
}

}  // namespace ferolin::outside
