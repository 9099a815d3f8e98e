#include "connection_dialog/fallo.h"

#include "platform/db/errors.h"
#include "platform/os/codepage.h"

namespace ferolin {

outside::ErrorInfo ErrorDesde(const std::exception& e) {
  if (const auto* db = dynamic_cast<const db::DbError*>(&e)) {
    return {db->number(), db->description(), db->source()};
  }
  if (dynamic_cast<const os::TextFileError*>(&e)) {
    return {fallo::kAccesoArchivo, e.what(), "frmAcceso"};
  }
  return {fallo::kArgumentoInvalido, e.what(), "frmAcceso"};
}

}  // namespace ferolin
