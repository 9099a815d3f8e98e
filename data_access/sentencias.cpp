#include "data_access/sentencias.h"

#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

void AgregarCampo(ContextoDatos& contexto, CamposValores& campos, const std::string& Campo,
                  std::string& Valor, const std::string& Tipo, bool Reiniciar) {
  if (Reiniciar) campos.clear();
  campos.emplace_back();
  Valor = texto::QuitarApostrofes(Valor);
  CampoValor& registro = campos.back();
  registro.campo = Campo;
  registro.valor = texto::IgualSinCaso(Valor, "NULL")
                       ? "Null"
                       : contexto.gDB().SQLValue(db::Value::Text(Valor), Tipo);
}

void ArmarSentencia(CamposValores& campos, std::vector<std::string>& Sentencias,
                    const std::string& Tabla, bool Actualizar, std::string& Where, bool Mantener) {
  std::string sentencia;
  if (Actualizar) {
    std::string asignaciones;
    for (std::size_t i = 0; i < campos.size(); ++i) {
      if (i > 0) asignaciones += ",";
      asignaciones += campos[i].campo + " = " + campos[i].valor;
    }
    if (!texto::Contiene(Where, "WHERE")) Where = " WHERE " + Where;
    sentencia = "UPDATE " + Tabla + " SET " + asignaciones + " " + Where;
  } else {
    std::string nombres;
    std::string valores;
    for (std::size_t i = 0; i < campos.size(); ++i) {
      if (i > 0) {
        nombres += ",";
        valores += ",";
      }
      nombres += campos[i].campo;
      valores += campos[i].valor;
    }
    sentencia = "INSERT INTO " + Tabla + " " + "(" + nombres + ")" + " VALUES (" + valores + ")";
  }
  Sentencias.push_back(sentencia);
  Sentencias.emplace_back();
  if (!Mantener) campos.assign(1, CampoValor{});
}

}  // namespace ferolin
