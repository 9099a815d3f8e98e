#include "main_window/manejo_errores.h"

#include <exception>
#include <stdexcept>

#include "platform/db/errors.h"
#include "platform/os/codepage.h"

namespace ferolin {

outside::ErrorInfo ErrorActual() {
  try {
    throw;
  } catch (const db::DbError& e) {
    return {e.number(), e.description(), e.source()};
  } catch (const os::TextFileError& e) {
    return {75, e.what(), "Ferolin"};  // path or file access error
  } catch (const std::invalid_argument& e) {
    return {kArgumentoInvalido, e.what(), "Ferolin"};
  } catch (const std::bad_alloc&) {
    return {7, "Memoria insuficiente", "Ferolin"};
  } catch (const std::exception& e) {
    return {-1, e.what(), "Ferolin"};
  } catch (...) {
    return {-1, "Error desconocido", "Ferolin"};
  }
}

bool EjecutarPaso(outside::Utilidades& utilidades, const std::string& procedimiento,
                  const std::function<void()>& paso, bool saltarArgumentoInvalido) {
  for (;;) {
    outside::ErrorInfo error;
    try {
      paso();
      return true;
    } catch (...) {
      error = ErrorActual();
    }
    if (saltarArgumentoInvalido && error.number == kArgumentoInvalido) return true;
    const int respuesta = utilidades.ManejarError(error, procedimiento);
    if (respuesta == 4) continue;
    return respuesta == 5;
  }
}

}  // namespace ferolin
