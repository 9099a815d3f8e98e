#include "main_window/cuentas_leidas.h"

#include <algorithm>
#include <unordered_set>

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"

namespace ferolin {

namespace {

// The same statement as the code check's, for many codes: the trimmed-code
// comparison the database's index serves, through the synonyms.
std::string Sentencia(DB_Dll& gdb, const std::vector<std::string>& codigos) {
  std::string sql =
      "SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS with(nolock) WHERE LTRIM(RTRIM(CODIGO)) IN (";
  for (std::size_t i = 0; i < codigos.size(); ++i) {
    if (i > 0) sql += ',';
    sql += '\'';
    sql += texto::DoblarApostrofes(codigos[i]);
    sql += '\'';
  }
  sql += ')';
  return gdb.SS_TSinonimos(sql);
}

}  // namespace

void CuentasLeidas::Leer(DB_Dll& gdb, const std::vector<std::string>& codigos) {
  Olvidar();
  std::vector<std::string> pendientes;
  std::unordered_set<std::string> vistos;
  for (const std::string& c : codigos) {
    std::string codigo = texto::Recortar(c);
    if (!codigo.empty() && vistos.insert(codigo).second) pendientes.push_back(std::move(codigo));
  }
  // Filled aside, so nothing half-read is ever kept.
  std::unordered_map<std::string, std::optional<std::string>> leidas;
  try {
    for (std::size_t desde = 0; desde < pendientes.size(); desde += kCodigosPorSentencia) {
      const std::size_t hasta = std::min(pendientes.size(), desde + kCodigosPorSentencia);
      const std::vector<std::string> tramo(pendientes.begin() + static_cast<long>(desde),
                                           pendientes.begin() + static_cast<long>(hasta));
      db::Recordset rs;
      gdb.Operaciones().OpenRecordset(rs, Sentencia(gdb, tramo), gdb.gCnn(),
                                      db::cursor_type::kForwardOnly, db::lock_type::kReadOnly, -1);
      for (; !rs.Eof(); rs.MoveNext()) {
        const db::Field codigo = rs.Fields("Codigo");
        if (codigo.IsNull()) continue;
        const db::Field descripcion = rs.Fields("Descripcion");
        std::string leida = texto::Recortar(descripcion.IsNull() ? "" : descripcion.Text());
        auto [it, nueva] = leidas.try_emplace(texto::Recortar(codigo.Text()), std::move(leida));
        if (!nueva) it->second.reset();
      }
    }
  } catch (const db::DbError&) {
    // Checked one by one instead; each check reports its own failure.
    gdb.gCnn().Errors().Clear();
    return;
  }
  cuentas_ = std::move(leidas);
}

void CuentasLeidas::Olvidar() {
  cuentas_.clear();
}

const std::string* CuentasLeidas::Descripcion(const std::string& codigo) const {
  const auto it = cuentas_.find(codigo);
  if (it == cuentas_.end() || !it->second) return nullptr;
  return &*it->second;
}

}  // namespace ferolin
