// DB_Dll: scripts on an Oracle connection, one statement at a time.

#include <algorithm>
#include <array>

#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

using texto::npos;

constexpr std::array<const char*, 12> kInicios{
    "INSERT ",         "DELETE ", "UPDATE ",  "CREATE ",      "DROP ",    "ALTER ",
    "SET TRANSACTION", "COMMIT",  "ROLLBACK", "IF NOT EXIST", "IF EXIST", "GRANT "};

// The first position at or after `desde` where a statement starts.
std::size_t SiguienteInicio(const std::string& script, std::size_t desde) {
  std::size_t menor = npos;
  for (const char* clave : kInicios) menor = std::min(menor, texto::Buscar(script, clave, desde));
  return menor;
}

std::string Normalizar(std::string s) {
  using texto::Reemplazar;
  s = Reemplazar(s, "SET NOCOUNT ON", "");
  s = Reemplazar(s, "SET NOCOUNT OFF", "");
  s = Reemplazar(s, " GO ", " ");
  s = Reemplazar(s, "\r\nGO ", " ");
  s = Reemplazar(s, "\r\nGO\r\n", " ");
  s = Reemplazar(s, "\r", " ");
  s = Reemplazar(s, "BEGIN TRANSACTION", "SET TRANSACTION");
  s = Reemplazar(s, "BEGIN TRANS", "SET TRANSACTION");
  s = Reemplazar(s, "COMMIT TRANSACTION", "COMMIT");
  s = Reemplazar(s, "COMMIT TRANS", "COMMIT");
  s = Reemplazar(s, "ROLLBACK TRANSACTION", "ROLLBACK");
  return Reemplazar(s, "ROLLBACK TRANS", "ROLLBACK");
}

}  // namespace

std::string DB_Dll::DescartarSentenciaOracle(const std::string& sentencia) {
  if (texto::Contiene(sentencia, "SET NOCOUNT") || texto::Contiene(sentencia, "IF NOT EXIST")) {
    return "";
  }
  return sentencia;
}

void DB_Dll::EjecutarScriptOracle(std::string& SentenciaSQL, long* RecordsAffected) {
  constexpr long kAvisoOracle = 265929;
  OperacionesConexion& cnn = Operaciones();
  SentenciaSQL = Normalizar(SentenciaSQL);
  for (;;) {
    const std::size_t inicio = SiguienteInicio(SentenciaSQL, 0);
    if (inicio == npos) break;
    const std::size_t fin = SiguienteInicio(SentenciaSQL, inicio + 1);
    // Line feeds stay in the script; a marker on a line of its own is still one.
    const std::string sentencia = texto::RecortarBlancosYSaltos(
        SentenciaSQL.substr(inicio, fin == npos ? npos : fin - inicio));
    if (texto::IgualSinCaso(sentencia, "SET TRANSACTION")) {
      cnn.BeginTrans();
    } else if (texto::IgualSinCaso(sentencia, "COMMIT")) {
      cnn.CommitTrans();
    } else if (texto::IgualSinCaso(sentencia, "ROLLBACK")) {
      cnn.RollbackTrans();
    } else {
      const std::string oracle = DescartarSentenciaOracle(ORACLE_Dicc(sentencia));
      if (!texto::RecortarBlancosYSaltos(oracle).empty()) {
        long filas = 0;
        cnn.Execute(oracle, &filas);
        // A statement that reports no count (-1) adds nothing.
        if (RecordsAffected && filas > 0) *RecordsAffected += filas;
      }
    }
    SentenciaSQL = fin == npos ? std::string() : SentenciaSQL.substr(fin);
  }
  db::ProviderErrors& errores = cnn.Errors();
  if (errores.Count() == 1 && errores.Item(0).number == kAvisoOracle) errores.Clear();
}

}  // namespace ferolin
