#pragma once
// Shared procedures every program of the suite runs besides the start-up:
// configuration store, access log, script updates, statistics connection,
// window dressing and the launcher of sibling programs.

#include <string>
#include <vector>

#include "startup/contexto_programa.h"

class QWidget;

namespace ferolin {

// Configuration store.
std::string Cfg(ContextoPrograma& ctx, const std::string& Clave, std::string& ValorAux);
std::string CfgKV(ContextoPrograma& ctx, const std::string& Clave, std::string& ValorAux);
void GrabaCfgKV(ContextoPrograma& ctx, const std::string& Clave, const std::string& Valor,
                const std::string& ValorAux = "", bool PoliticaNegocio = false,
                const std::string& Grupo = "", bool Recortar = true);
void CargarConfiguracion(ContextoPrograma& ctx, const std::string& carpetaPrograma);

// Statistics connection.
void AbrirEstadisticas(ContextoPrograma& ctx);

// Access log.
void RegistrarIngreso(ContextoPrograma& ctx, const std::string& nombreMenu);
void RegistrarEgreso(ContextoPrograma& ctx);
void FinalizarPrograma(ContextoPrograma& ctx);
std::string FormatoFechaHora();
std::string FormatoFecha();
std::string FormatoHora();

// Script updates in one transaction.
struct ResultadoScript {
  bool Fallo = false;
  long CodigoError = 0;
  std::string TextoEjecutado;
  std::string MensajeError;
};
ResultadoScript GActualizarDatoScript(ContextoPrograma& ctx,
                                      const std::vector<std::string>& Sentencias,
                                      bool IgnorarDuplicados = false,
                                      bool IgnorarRestriccion = false, bool MostrarMensaje = true);

// Window dressing.
void AplicarEstilo(ContextoPrograma& ctx, QWidget& ventana);
void AplicarIconoYBarras(ContextoPrograma& ctx, QWidget& ventana);

// Launching sibling programs.
void MenuExes(ContextoPrograma& ctx, const std::string& Programa, std::string& Parametro,
              long& Resultado);

}  // namespace ferolin
