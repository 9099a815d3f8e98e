// DB_Dll: existence and value lookups.

#include "data_access/con_reintentos.h"
#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

using texto::Recortar;

bool EsNumerico(int tipo) {
  return tipo == 3 || tipo == 4 || tipo == 5;
}

// A step with nothing to work on (a result set that was never opened because
// the operator ignored the failure) fails like any other step.
db::Recordset& Requerir(const std::unique_ptr<db::Recordset>& rs) {
  if (!rs) {
    throw db::DbError(err_programa::kObjetoNoEstablecido, "Variable de objeto no establecida",
                      "Ferolin");
  }
  return *rs;
}

}  // namespace

int DB_Dll::AvisoAlOperador(const outside::ErrorInfo& e) {
  return contexto_.prompt.Message(
      e.description, ui::buttons::kAbortRetryIgnore + ui::icon::kCritical, "Aviso al Operador");
}

bool DB_Dll::ExisteEnRecordset(DB_Dll& sobre, db::Recordset& Lrcs, const std::string& sql,
                               bool SoloLectura) {
  auto manejar = [&](const outside::ErrorInfo& e) { return AvisoAlOperador(e); };
  auto paso = [&](auto&& f) { return ConReintentos(f, manejar) != Resultado::Abandonado; };
  if (!paso([&] {
        if (Lrcs.State() != db::state::kClosed) Lrcs.Close();
      })) {
    return false;
  }
  const int cursor = SoloLectura ? db::cursor_type::kForwardOnly : Lrcs.CursorType();
  const int bloqueo = SoloLectura ? db::lock_type::kReadOnly : Lrcs.LockType();
  if (!paso([&] {
        sobre.Operaciones().OpenRecordset(Lrcs, sql, sobre.gCnn(), cursor, bloqueo, -1);
      })) {
    return false;
  }
  bool resultado = false;
  if (!paso([&] { resultado = !Lrcs.Bof(); })) return false;
  return resultado;
}

bool DB_Dll::ExisteEnTabla(const std::string& Tabla, const std::string& ValorBuscado,
                           const std::string& Campo, db::Recordset* Lrcs, int Tipodato,
                           const std::string& Condicion, bool SoloLectura) {
  std::string sql;
  if (!Condicion.empty()) {
    sql = "SELECT TOP 1 * FROM " + Tabla + " with(nolock) " +
          (texto::Contiene(Condicion, " WHERE ") ? " " : " WHERE ") + Condicion;
  } else if (Tipodato == 8) {
    sql = "SELECT TOP 1  * FROM " + Tabla + " with(nolock)  WHERE LTRIM(RTRIM(" + Campo + ")) ='" +
          texto::DoblarApostrofes(Recortar(ValorBuscado)) + "'";
  } else {
    sql = "SELECT TOP 1 * FROM " + Tabla + " with(nolock)  WHERE " + Campo + " = ";
    if (Tipodato == 7) {
      sql += Recortar(ValorBuscado) + " ";
    } else if (EsNumerico(Tipodato)) {
      sql += ClaveNumerica(ValorBuscado);
    } else {
      sql += ValorBuscado;
    }
  }
  sql = SS_TSinonimos(sql);

  bool resultado = false;
  auto manejar = [&](const outside::ErrorInfo& e) { return AvisoAlOperador(e); };
  auto paso = [&](auto&& f) { return ConReintentos(f, manejar) != Resultado::Abandonado; };
  if (Lrcs) return ExisteEnRecordset(*this, *Lrcs, sql, SoloLectura);
  std::string fuente;
  std::unique_ptr<db::Recordset> rs;
  if (!paso([&] { fuente = ORACLE_Dicc(sql); })) return false;
  if (!paso([&] {
        auto nuevo = std::make_unique<db::Recordset>();
        Operaciones().OpenRecordset(*nuevo, fuente, gCnn(), db::cursor_type::kForwardOnly,
                                    db::lock_type::kReadOnly, -1);
        rs = std::move(nuevo);
      })) {
    return false;
  }
  if (!paso([&] { resultado = !Requerir(rs).Bof(); })) return false;
  if (!paso([&] { Requerir(rs).Close(); })) return false;
  return resultado;
}

bool DB_Dll::ExisteEnTablaST(const std::string& Tabla, const std::string& ValorBuscado,
                             const std::string& Campo, db::Recordset* Lrcs, int Tipodato,
                             const std::string& Condicion, bool SoloLectura) {
  std::string sql;
  if (!Condicion.empty()) {
    sql = "SELECT * FROM " + Tabla + " with(nolock)  " +
          (texto::Contiene(Condicion, " WHERE ") ? " " : " WHERE ") + Condicion;
  } else {
    sql = "SELECT * FROM " + Tabla + " with(nolock)   WHERE " + Campo;
    if (Tipodato == 8) {
      sql += " ='" + texto::DoblarApostrofes(ValorBuscado) + "'";
    } else if (Tipodato == 7) {
      sql += " = " + Recortar(ValorBuscado) + " ";
    } else if (EsNumerico(Tipodato)) {
      sql += " = " + ClaveNumerica(ValorBuscado);
    } else {
      sql += " = " + ValorBuscado;
    }
  }

  DB_Dll& principal = contexto_.gDB();
  bool resultado = false;
  auto manejar = [&](const outside::ErrorInfo& e) { return AvisoAlOperador(e); };
  auto paso = [&](auto&& f) { return ConReintentos(f, manejar) != Resultado::Abandonado; };
  if (Lrcs) return ExisteEnRecordset(principal, *Lrcs, sql, SoloLectura);
  std::unique_ptr<db::Recordset> rs;
  if (!paso([&] {
        auto nuevo = std::make_unique<db::Recordset>();
        principal.Operaciones().OpenRecordset(*nuevo, sql, principal.gCnn(),
                                              db::cursor_type::kForwardOnly,
                                              db::lock_type::kReadOnly, -1);
        rs = std::move(nuevo);
      })) {
    return false;
  }
  if (!paso([&] { resultado = !Requerir(rs).Bof(); })) return false;
  if (!paso([&] { Requerir(rs).Close(); })) return false;
  return resultado;
}

std::string DB_Dll::DatosTabla(const std::string& Tabla, const std::string& ValorBuscado,
                               const std::string& CampoDevuelto, const std::string& Campo,
                               int Tipodato, const std::string& Condicion, bool UsaTrim,
                               bool IgnoraError) {
  const std::string inicio = "SELECT TOP 1 * FROM " + Tabla + " with(nolock)  WHERE ";
  const std::string fin = Recortar(Condicion).empty() ? "" : " AND " + Condicion;
  std::string sql;
  if (Tipodato == 8 && UsaTrim) {
    sql = inicio + "LTRIM(RTRIM(" + Campo + ")) ='" +
          texto::DoblarApostrofes(Recortar(ValorBuscado)) + "' " + fin;
  } else if (Tipodato == 8) {
    sql = inicio + Campo + " ='" + texto::DoblarApostrofes(ValorBuscado) + "' " + fin;
  } else if (Tipodato == 7) {
    sql = inicio + Campo + " = #" + Recortar(ValorBuscado) + "# " + fin;
  } else if (EsNumerico(Tipodato)) {
    sql = inicio + Campo + " = " + ClaveNumerica(ValorBuscado) + fin;
  } else {
    sql = inicio + Campo + " = " + ValorBuscado + fin;
  }

  std::string valor;
  db::Recordset rs;
  auto manejar = [&](const outside::ErrorInfo& e) {
    return IgnoraError ? ui::answer::kAbort : AvisoAlOperador(e);
  };
  auto paso = [&](auto&& f) { return ConReintentos(f, manejar) != Resultado::Abandonado; };
  if (!paso([&] { AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); })) return "";
  if (!gOpenFlag) return "";
  if (!paso([&] {
        if (!rs.Eof()) valor = utilidades_.ValorCampo(rs.Fields(CampoDevuelto));
      })) {
    return "";
  }
  if (!paso([&] { CierraRecordset(rs); })) return "";
  return valor;
}

db::Value DB_Dll::BuscarExtremo(const std::string& sql, const std::string& alias) {
  db::Recordset rs;
  Operaciones().OpenRecordset(rs, sql, gCnn(), db::cursor_type::kForwardOnly,
                              db::lock_type::kReadOnly, -1);
  if (rs.Bof() && rs.Eof()) return db::Value();
  return db::Value::Text(utilidades_.ValorCampo(rs.Fields(alias)));
}

db::Value DB_Dll::BuscaMaximo(const std::string& QueTabla, const std::string& QueCampo, int Tipo,
                              const std::string& Condicion) {
  // An empty condition counts as none: " WHERE " followed by nothing cannot run.
  std::string condicion = Condicion;
  bool sinCeros = false;
  for (;;) {
    std::string sql = "SELECT MAX(" + QueCampo + ") AS MAYOR FROM " + QueTabla;
    if (!Recortar(condicion).empty()) sql += " WHERE " + Recortar(condicion);
    const db::Value mayor = BuscarExtremo(sql, "MAYOR");
    if (mayor.IsNull()) return mayor;
    // Article codes that begin with a zero are left out, once: the exclusion
    // tests idarticulo, so a second round could never end.
    if (!sinCeros && texto::IgualSinCaso(QueTabla, "V_MA_ARTICULOS") &&
        texto::EmpiezaCon(Recortar(mayor.ToText()), "0")) {
      const std::string sinCero = " substring(ltrim(idarticulo),1,1)<>'0'";
      condicion =
          condicion.empty() ? sinCero : condicion + " and substring(ltrim(idarticulo),1,1)<>'0'";
      sinCeros = true;
      continue;
    }
    if (Tipo == 7) return mayor;
    return db::Value::Real(texto::ValorNumerico(mayor.ToText()));
  }
}

db::Value DB_Dll::BuscaMinimo(const std::string& QueTabla, const std::string& QueCampo,
                              int /*Tipo*/, const std::string& Condicion) {
  std::string sql = "SELECT MIN(" + QueCampo + ") AS MENOR FROM " + QueTabla + "  with(nolock) ";
  if (!Recortar(Condicion).empty()) sql += " WHERE " + Recortar(Condicion);
  const db::Value menor = BuscarExtremo(sql, "MENOR");
  if (menor.IsNull()) return menor;
  return db::Value::Real(texto::ValorNumerico(menor.ToText()));
}

db::Value DB_Dll::BuscaUltimoCodigo(const std::string& QueTabla, const std::string& QueCampo,
                                    int /*Tipo*/, const std::string& Condicion) {
  std::string sql = "SELECT MAX(" + QueCampo + ") AS MAYOR FROM " + QueTabla;
  if (!Recortar(Condicion).empty()) sql += " WHERE " + Condicion;
  const db::Value mayor = BuscarExtremo(sql, "MAYOR");
  if (mayor.IsNull()) return mayor;
  return db::Value::Real(texto::ValorNumerico(mayor.ToText()));
}

}  // namespace ferolin
