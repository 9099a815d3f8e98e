#pragma once
// The lookup service: turns a statement or a table name into a lookup window
// and hands back what the operator chose.

#include <functional>
#include <string>
#include <vector>

#include "data_access/contexto_datos.h"

namespace ferolin {

class Lib_ClsCons3 {
 public:
  // cfg reads one configuration key (the start-up's Cfg).
  using LectorCfg = std::function<std::string(const std::string& clave)>;
  Lib_ClsCons3(ContextoDatos& contexto, LectorCfg cfg);
  ~Lib_ClsCons3();

  std::string gConnString;
  std::string gRutaMascaraConsultas;
  bool gUsarMascarasConsultas = false;
  bool UsaCantidades = false;
  bool Checks = false;
  std::string CampoDevuelto;
  std::string ValorDevuelto;
  std::vector<std::string> Valores;

  void ConsultaSearch(const std::string& sql);

 private:
  ContextoDatos& contexto_;
  LectorCfg cfg_;
};

}  // namespace ferolin
