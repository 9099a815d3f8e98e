#include "startup/pasos.h"

#include <cstdio>

#include "platform/db/errors.h"

namespace ferolin::pasos {

outside::ErrorInfo InfoDe(const std::exception& e) {
  if (const auto* db = dynamic_cast<const db::DbError*>(&e)) {
    return {db->number(), db->description(), db->source()};
  }
  // Not a database failure: an invalid argument or value reached a step
  // (the platform's "invalid procedure call").
  return {5, e.what(), "Ferolin"};
}

void Anotar(const std::string& rutina, const std::exception& e) {
  std::fprintf(stderr, "ferolin: %s: %s\n", rutina.c_str(), e.what());
}

}  // namespace ferolin::pasos
