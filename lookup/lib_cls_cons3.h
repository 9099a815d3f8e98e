#pragma once
// The lookup service: turns a statement or a table name into a lookup window
// and hands back what the operator chose. It also offers three small pickers
// (check list, menu, lines of a file) over the list window.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data_access/contexto_datos.h"
#include "lookup/mascaras.h"

class QWidget;

namespace ferolin {

class Lib_ClsCons3 {
 public:
  // cfg reads one configuration key (the start-up's Cfg): one blank for a
  // missing key, "" without an open connection.
  using LectorCfg = std::function<std::string(const std::string& clave)>;
  // Starts a sibling program (the start-up's MenuExes); Resultado is the task
  // id, 0 when nothing started.
  using Lanzador =
      std::function<void(const std::string& Programa, std::string& Parametro, long& Resultado)>;
  // Dresses a window (skin, icon); may be empty.
  using Vestidor = std::function<void(QWidget& ventana)>;

  Lib_ClsCons3(ContextoDatos& contexto, LectorCfg cfg);
  ~Lib_ClsCons3();
  Lib_ClsCons3(const Lib_ClsCons3&) = delete;
  Lib_ClsCons3& operator=(const Lib_ClsCons3&) = delete;

  // Stock colours (0x00BBGGRR as text); a blank one leaves rows uncoloured.
  std::string StkNivel1;
  std::string StkNivel2;
  std::string StkNivel3;
  std::string StkNivel4;
  std::string MuestraStock;                // "SI" colours article lookups
  std::vector<std::string> CmpsDevueltos;  // kept for callers; ConsultaSearch takes its own
  // Values chosen in the last lookup. HayValores is false after a cancel (the
  // lookup handed back no collection); Valores is then empty.
  std::vector<std::string> Valores;
  bool HayValores = true;
  std::vector<std::string> Cantidades;  // always empty: quantities stay in the list
  bool Checks = false;  // next lookup lets the operator tick rows; reset by every call
  std::string ValorDevuelto;
  std::string gConnString;
  std::string gRutaMascaraConsultas;
  bool gUsarMascarasConsultas = false;
  bool UsaCantidades = false;
  std::string CampoDevuelto;  // reset to "" by every call

  // Set by whoever creates the service; handed to every window.
  Lanzador LanzadorProgramas;
  Vestidor PrepararVentana;

  // sql: a SELECT statement or a table / view name. CmpsDevueltos (in/out):
  // columns returned in Valores; emptied on return. CampoBusqueda and Where
  // are in/out and may be changed by the service.
  void ConsultaSearch(const std::string& sql, std::vector<std::string>* CmpsDevueltos = nullptr,
                      const std::string& Clave = "", std::string* CampoBusqueda = nullptr,
                      std::string* Where = nullptr, const std::string& SentenciaOpcional = "",
                      bool TreeView = false, const std::string& ValoresDefault = "");

  // The statement ConsultaSearch would run (steps before any window shows):
  // nullopt when the lookup is refused (the masks message has been shown).
  std::optional<std::string> ArmarSentencia(const std::string& sql, std::string& CampoBusqueda,
                                            std::string& Where,
                                            const std::string& SentenciaOpcional = "");

  // Pickers. Option texts of CheckOpciones start with a flag character ("1"
  // ticked). CheckOpciones returns "" and leaves the ticked options in Valores.
  std::string CheckOpciones(const std::string& Titulo,
                            const std::vector<std::string>& CmpsDevueltos,
                            const std::vector<std::string>& Opc);
  std::string MenuOpciones(const std::string& Titulo, const std::vector<std::string>& Opc);
  std::string ConsultaDesdeArchivo(const std::string& Titulo, const std::string& QueArchivo,
                                   const std::string& Separador = "");

  ContextoDatos& contexto() { return contexto_; }
  const LectorCfg& cfg() const { return cfg_; }

 private:
  std::string Leer(const std::string& clave) const;
  std::optional<std::string> ConsultaMascara(const std::string& s, long n,
                                             std::string& CampoBusqueda, const std::string& Where,
                                             bool& hubo);

  ContextoDatos& contexto_;
  LectorCfg cfg_;
  bool UsaConsultaLike_ = false;
  RegMascara RegMascara_;
};

}  // namespace ferolin
