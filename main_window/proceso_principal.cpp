// Saving: the grid replaces the stored list in one transaction.

#include <optional>
#include <vector>

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "main_window/manejo_errores.h"
#include "platform/db/connection.h"
#include "platform/db/engine.h"
#include "platform/db/errors.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

using namespace lista;

namespace {

// Engines known to take several rows in one VALUES list and to undo only the
// refused statement inside a transaction.
bool AdmiteBloques(DB_Dll& gdb) {
  if (texto::Contiene(gdb.gCnn().ConnectionString(), "ORACLE")) return false;
  switch (gdb.gCnn().engine().dialect()) {
    case db::Dialect::SqlServer:
    case db::Dialect::Sqlite:
    case db::Dialect::PostgreSql:
      return true;
    default:
      return false;
  }
}

}  // namespace

void Frm_Ferolin::ProcesoPrincipal() {
  auto& utilidades = ctx_.tarvex.utilidades();
  DB_Dll& gdb = ctx_.gDB();
  auto paso = [&](const std::function<void()>& f) {
    return EjecutarPaso(utilidades, "ProcesoPrincipal", f);
  };
  bool enTransaccion = false;
  bool puntoPorFila = false;
  bool enBloques = false;
  // Leaving the save undoes everything it wrote: the stored list stays as it was.
  auto deshacer = [&] {
    if (!enTransaccion) return;
    enTransaccion = false;
    paso([&] { gdb.gCnn().RollbackTrans(); });
  };

  if (!paso([&] {
        puntoPorFila = servicios_.puntoDeGuardadoPorFila.value_or(false);
        enBloques = AdmiteBloques(gdb);
        gdb.gCnn().BeginTrans();
        enTransaccion = true;
      })) {
    return;
  }

  // A refused delete would leave the old entries beside the new ones.
  gdb.gCnn().Errors().Clear();
  std::string borrar = kSentenciaBorrarLista;
  gdb.EjecutaConsultaSQL(borrar);
  if (!gdb.gCnn().Errors().Empty()) {
    const std::string descripcion = gdb.gCnn().Errors().Item(0).description;
    gdb.gCnn().Errors().Clear();
    deshacer();
    ctx_.prompt.Message(descripcion, ui::buttons::kOk, TituloPrograma());
    CartelMostrar("");
    return;
  }

  // A lost link ends the save at once: the server has discarded the
  // transaction, so no row can be retried or skipped into it.
  std::optional<db::ProviderError> perdida;
  auto cartel = [&](int i) {
    CartelMostrar(texto::Recortar(grilla_->TextMatrix(i, 0)) + " " +
                  texto::Recortar(grilla_->TextMatrix(i, 1)));
  };
  // One entry alone: a refused row is reported and left out. False when the
  // save must be left.
  auto grabarFila = [&](int i) {
    return paso([&] {
      const std::string codigo = texto::Recortar(grilla_->TextMatrix(i, 0));
      const std::string comentario = texto::Recortar(grilla_->TextMatrix(i, 2));
      cartel(i);
      if (codigo.empty()) return;
      if (puntoPorFila) gdb.gCnn().Execute("SAVEPOINT f1");
      gdb.gCnn().Errors().Clear();
      std::string insertar = SentenciaInsertarCuenta(codigo, comentario);
      gdb.EjecutaConsultaSQL(insertar);
      if (!gdb.gCnn().Errors().Empty()) {
        const db::ProviderError error = gdb.gCnn().Errors().Item(0);
        gdb.gCnn().Errors().Clear();
        if (gdb.gCnn().engine().IsDead()) {
          perdida = error;
          return;
        }
        if (puntoPorFila) gdb.gCnn().Execute("ROLLBACK TO SAVEPOINT f1");
        ctx_.prompt.Message(error.description, ui::buttons::kOk, TituloPrograma());
      }
      if (puntoPorFila) gdb.gCnn().Execute("RELEASE SAVEPOINT f1");
    });
  };
  // Several entries in one statement, to spare a round trip to the server
  // per row. A refused statement is undone whole by every engine the save
  // sends blocks to (the transaction stays), and its rows are then sent one
  // by one, so the operator sees the same reports as row by row.
  auto grabarBloque = [&](const std::vector<Entrada>& bloque) {
    try {
      if (puntoPorFila) gdb.gCnn().Execute("SAVEPOINT f1");
      gdb.gCnn().Errors().Clear();
      gdb.EjecutaConsultaSQL(SentenciaInsertarCuentas(bloque));
      if (gdb.gCnn().Errors().Empty()) {
        if (puntoPorFila) gdb.gCnn().Execute("RELEASE SAVEPOINT f1");
        return true;
      }
      const db::ProviderError error = gdb.gCnn().Errors().Item(0);
      gdb.gCnn().Errors().Clear();
      if (gdb.gCnn().engine().IsDead()) {
        perdida = error;
        return false;
      }
      if (puntoPorFila) {
        gdb.gCnn().Execute("ROLLBACK TO SAVEPOINT f1");
        gdb.gCnn().Execute("RELEASE SAVEPOINT f1");
      }
    } catch (const db::DbError&) {
      // The rows alone will meet the same failure and report it.
      gdb.gCnn().Errors().Clear();
    }
    return false;
  };

  std::vector<Entrada> bloque;
  std::vector<int> filasBloque;
  auto enviarBloque = [&] {
    bool entero = false;
    if (bloque.size() > 1) {
      cartel(filasBloque.front());
      if (!paso([&] { entero = grabarBloque(bloque); }) || perdida) return false;
    }
    if (!entero) {
      for (int i : filasBloque) {
        if (!grabarFila(i) || perdida) return false;
      }
    }
    bloque.clear();
    filasBloque.clear();
    return true;
  };

  const int filas = grilla_->Rows();
  bool seguir = true;
  for (int i = 1; i < filas && seguir; ++i) {
    if (!enBloques) {
      seguir = grabarFila(i) && !perdida;
      continue;
    }
    Entrada entrada{texto::Recortar(grilla_->TextMatrix(i, 0)),
                    texto::Recortar(grilla_->TextMatrix(i, 2))};
    if (entrada.codigo.empty()) continue;
    if (!PuedeIrEnBloque(entrada)) {
      seguir = enviarBloque() && grabarFila(i) && !perdida;
      continue;
    }
    bloque.push_back(std::move(entrada));
    filasBloque.push_back(i);
    if (bloque.size() == kEntradasPorBloque) seguir = enviarBloque();
  }
  if (seguir) seguir = enviarBloque();

  if (perdida) {
    // Reported once; whatever the answer, retrying or skipping cannot
    // succeed on a link that is gone.
    utilidades.ManejarError({perdida->number, perdida->description, perdida->source},
                            "ProcesoPrincipal");
    enTransaccion = false;
    try {
      gdb.gCnn().RollbackTrans();  // ends the client's side of the transaction
    } catch (const db::DbError&) {
      // Expected: the server cannot be told; it has undone the work itself.
    }
    gdb.gCnn().Errors().Clear();
    CartelMostrar("");
    return;
  }
  if (!seguir) {
    deshacer();
    return;
  }

  if (!paso([&] {
        gdb.gCnn().CommitTrans();
        enTransaccion = false;
      })) {
    deshacer();
    return;
  }
  CartelMostrar("");
}

}  // namespace ferolin
