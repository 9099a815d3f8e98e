#pragma once
// Builds INSERT and UPDATE statements from column/value pairs (the access log
// writes its row this way).

#include <string>
#include <vector>

#include "data_access/contexto_datos.h"

namespace ferolin {

struct CampoValor {
  std::string campo;
  std::string valor;  // already written as SQL text
};
using CamposValores = std::vector<CampoValor>;

// Adds one pair (Reiniciar: the list starts anew). The value loses its
// apostrophes, also in the caller's variable; "NULL" in any case is stored as
// Null, anything else through gDB's SQLValue with Tipo.
void AgregarCampo(ContextoDatos& contexto, CamposValores& campos, const std::string& Campo,
                  std::string& Valor, const std::string& Tipo, bool Reiniciar);

// Appends the statement and one empty entry to Sentencias. For an UPDATE the
// condition gets " WHERE " in front when it has none (also in Where). Without
// Mantener the list starts anew afterwards.
void ArmarSentencia(CamposValores& campos, std::vector<std::string>& Sentencias,
                    const std::string& Tabla, bool Actualizar, std::string& Where, bool Mantener);

}  // namespace ferolin
