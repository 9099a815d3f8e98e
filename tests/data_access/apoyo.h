#pragma once
// What the data-access tests share: a program context over a scripted prompt,
// a scripted connection dialog, and a connection double that records what
// DB_Dll asks of the connection and fails where the test says.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data_access/contexto_datos.h"
#include "data_access/db_dll.h"
#include "data_access/operaciones_conexion.h"
#include "platform/db/engine.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"

namespace ferolin::testing {

// Thrown by the test's terminarPrograma to stop the flow where the program
// would end. Not a std::exception, so no handler of the program catches it.
struct ProgramaTerminado {};

class DialogoGuionado : public DialogoConexion {
 public:
  std::optional<Datos> Pedir(const Datos& iniciales) override {
    pedidos.push_back(iniciales);
    if (respuestas.empty()) return std::nullopt;
    auto r = respuestas.front();
    respuestas.pop_front();
    return r;
  }
  void Ocultar() override { ++ocultado; }
  std::deque<std::optional<Datos>> respuestas;
  std::vector<Datos> pedidos;
  int ocultado = 0;
};

// A failure the double raises: the provider error is added to the
// collection (unless its sqlState is "-"), and DbError(numero) is thrown.
struct Fallo {
  long numero = db::err::kUnspecified;
  std::string sqlState = "08S01";
  long nativo = 0;
  std::string descripcion = "falla simulada";
};

class ConexionDoble : public ConexionDirecta {
 public:
  // soloGrabar: nothing reaches the real connection except its error collection.
  ConexionDoble(db::Connection& cnn, bool soloGrabar)
      : ConexionDirecta(cnn), soloGrabar_(soloGrabar) {}

  void Open(const std::string& cs, const std::string& u, const std::string& p) override {
    registro.push_back("open " + cs + " |" + u + "|" + p);
    if (Fallar(fallosAbrir)) return;
    if (!soloGrabar_) ConexionDirecta::Open(cs, u, p);
  }
  void Close() override {
    registro.push_back("close");
    if (!soloGrabar_) ConexionDirecta::Close();
  }
  std::unique_ptr<db::Recordset> Execute(const std::string& sql, long* ra) override {
    registro.push_back("exec " + sql);
    if (Fallar(fallosEjecutar)) return nullptr;
    if (!soloGrabar_) return ConexionDirecta::Execute(sql, ra);
    if (ra) *ra = filasPorSentencia;
    return std::make_unique<db::Recordset>();
  }
  void BeginTrans() override { Transaccion("begin", &ConexionDirecta::BeginTrans); }
  void CommitTrans() override { Transaccion("commit", &ConexionDirecta::CommitTrans); }
  void RollbackTrans() override { Transaccion("rollback", &ConexionDirecta::RollbackTrans); }
  std::string ConnectionString() const override {
    return cadena ? *cadena : ConexionDirecta::ConnectionString();
  }
  void OpenRecordset(db::Recordset& rs, const std::string& source, db::Connection& on, int c, int l,
                     int o) override {
    registro.push_back("rs " + source);
    if (Fallar(fallosRecordset)) return;
    if (recordsetsVacios) {
      db::StatementResult vacio;
      vacio.returnsRows = true;
      db::ColumnInfo codigo;
      codigo.name = "CODIGO";
      vacio.columns.push_back(codigo);
      rs.Attach(&on, std::move(vacio), source);
      return;
    }
    ConexionDirecta::OpenRecordset(rs, source, on, c, l, o);
  }

  std::vector<std::string> registro;
  std::optional<std::string> cadena;  // reported instead of the real connection string
  std::deque<std::optional<Fallo>> fallosAbrir, fallosEjecutar,
      fallosRecordset;  // nullopt: succeed
  long filasPorSentencia = 1;
  bool recordsetsVacios = false;  // result sets open empty, nothing reaches the database

 private:
  // Pops the next scripted outcome; throws when it is a failure.
  bool Fallar(std::deque<std::optional<Fallo>>& cola) {
    if (cola.empty()) return false;
    auto f = cola.front();
    cola.pop_front();
    if (!f) return false;
    if (f->sqlState != "-") {
      Errors().Add({f->sqlState, f->numero, f->nativo, f->descripcion, "Proveedor"});
    }
    throw db::DbError(f->numero, f->descripcion, "Proveedor");
  }
  void Transaccion(const char* nombre, void (ConexionDirecta::*real)()) {
    registro.push_back(nombre);
    if (!soloGrabar_) (this->*real)();
  }
  bool soloGrabar_;
};

// A context whose program folder is a temporary folder.
struct Entorno {
  Entorno() {
    ctx.terminarPrograma = [this] {
      ++terminado;
      throw ProgramaTerminado{};
    };
  }
  ScriptedPrompt prompt;
  TempFolder carpeta;
  ContextoDatos ctx{prompt, carpeta.withSlash(), "ferolin"};
  int terminado = 0;

  ConexionDoble& Doble(DB_Dll& db, bool soloGrabar) {
    auto d = std::make_unique<ConexionDoble>(db.gCnn(), soloGrabar);
    auto& r = *d;
    db.UsarOperaciones(std::move(d));
    return r;
  }
};

}  // namespace ferolin::testing
