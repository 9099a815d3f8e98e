#pragma once
// What the data-access layer needs of the running program: the operator, the
// companion objects, the program's identity, the connection dialog, and the
// program-wide DB_Dll instances (created on first use).

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "outside/tarvex.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

class DB_Dll;

// The connection dialog as OpenServerADODB uses it. The program's dialog
// implements it; tests script it.
class DialogoConexion {
 public:
  struct Datos {
    std::string servidor;
    std::string dbName;
    std::string usuario;
    std::string password;
    int plataforma = 0;  // 0 SQL Server, above 0 Oracle
  };
  virtual ~DialogoConexion() = default;
  // Shows the dialog modally with these values; the answers when the operator
  // confirmed, nullopt when cancelled.
  virtual std::optional<Datos> Pedir(const Datos& iniciales) = 0;
  virtual void Ocultar() {}
};

class ContextoDatos {
 public:
  ContextoDatos(ui::OperatorPrompt& prompt, std::string carpetaPrograma,
                std::string nombrePrograma = "ferolin");
  virtual ~ContextoDatos();
  ContextoDatos(const ContextoDatos&) = delete;
  ContextoDatos& operator=(const ContextoDatos&) = delete;

  ui::OperatorPrompt& prompt;
  outside::Tarvex tarvex;
  std::string carpetaPrograma;    // ends with a separator
  std::string nombrePrograma;     // executable name without extension
  bool confidencialidad = false;  // configuration key SS_CONFIDENCIALIDAD = "SI"
  DialogoConexion* dialogoConexion = nullptr;
  // Ends the program at once, without clean-up (a lost connection the operator
  // refuses to re-establish). Tests replace it.
  std::function<void()> terminarPrograma;

  DB_Dll& gDB();
  DB_Dll& gDBEstadisticas();
  DB_Dll& gDBAuxiliar();
  void LiberarGDB();  // FinalizarPrograma releases the main object

 private:
  std::unique_ptr<DB_Dll> gDB_;
  std::unique_ptr<DB_Dll> gDBEstadisticas_;
  std::unique_ptr<DB_Dll> gDBAuxiliar_;
};

}  // namespace ferolin
