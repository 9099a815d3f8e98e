// Saving: the grid replaces the stored list in one transaction.

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "main_window/manejo_errores.h"
#include "platform/db/connection.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

using namespace lista;

namespace {

bool EsPostgres(const std::string& dbms) {
  return texto::Contiene(dbms, "postgres");
}

}  // namespace

void Frm_Ferolin::ProcesoPrincipal() {
  auto& utilidades = ctx_.tarvex.utilidades();
  DB_Dll& gdb = ctx_.gDB();
  auto paso = [&](const std::function<void()>& f) {
    return EjecutarPaso(utilidades, "ProcesoPrincipal", f);
  };
  bool enTransaccion = false;
  bool postgres = false;  // one savepoint per insert
  // Leaving the save undoes everything it wrote: the stored list stays as it was.
  auto deshacer = [&] {
    if (!enTransaccion) return;
    enTransaccion = false;
    paso([&] { gdb.gCnn().RollbackTrans(); });
  };

  if (!paso([&] {
        postgres = servicios_.puntoDeGuardadoPorFila.value_or(EsPostgres(gdb.gCnn().DbmsName()));
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

  const int filas = grilla_->Rows();
  for (int i = 1; i < filas; ++i) {
    const bool seguir = paso([&] {
      const std::string codigo = texto::Recortar(grilla_->TextMatrix(i, 0));
      const std::string comentario = texto::Recortar(grilla_->TextMatrix(i, 2));
      CartelMostrar(codigo + " " + texto::Recortar(grilla_->TextMatrix(i, 1)));
      if (codigo.empty()) return;
      // PostgreSQL aborts the whole transaction on a refused statement; a
      // savepoint keeps the refusal to this one row.
      if (postgres) gdb.gCnn().Execute("SAVEPOINT f1");
      gdb.gCnn().Errors().Clear();
      std::string insertar = SentenciaInsertarCuenta(codigo, comentario);
      gdb.EjecutaConsultaSQL(insertar);
      if (!gdb.gCnn().Errors().Empty()) {
        const std::string descripcion = gdb.gCnn().Errors().Item(0).description;
        gdb.gCnn().Errors().Clear();
        if (postgres) gdb.gCnn().Execute("ROLLBACK TO SAVEPOINT f1");
        ctx_.prompt.Message(descripcion, ui::buttons::kOk, TituloPrograma());
      }
      if (postgres) gdb.gCnn().Execute("RELEASE SAVEPOINT f1");
    });
    if (!seguir) {
      deshacer();
      return;
    }
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
