// DB_Dll: result sets and statements.

#include "data_access/con_reintentos.h"
#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

// How often a failed open runs again after the connection was re-established.
constexpr int kReejecucionesTrasReconectar = 1;

bool RutaOracle(const std::string& cadenaConexion, bool convOracle) {
  const auto p = texto::Buscar(cadenaConexion, "ORACLE");
  return convOracle && p != texto::npos && p > 0;
}

}  // namespace

void DB_Dll::AbrirRecordset(std::string& SentenciaSQL, db::Recordset& Lrcs,
                            db::Connection* Conexionactiva, int CursorType, int LockType,
                            int Options, bool ConvOracle) {
  int reejecuciones = 0;
  auto manejar = [&](const outside::ErrorInfo& e) -> int {
    const bool conexionPerdida =
        (e.number == db::err::kUnspecified || e.number == db::err::kConnectionUnusable) &&
        !Operaciones().Errors().Empty();
    if (conexionPerdida) {
      ReintentaConectar();
      while (!gOpenFlag) {
        ReintentaConectar();
        if (gOpenFlag) break;
        DB_Dll& principal = contexto_.gDB();
        const std::string CRLF = "\r\n";
        const std::string aviso = CRLF + CRLF + CRLF +
                                  "Se perdio la conexion con la base de datos " +
                                  principal.gDBName + CRLF + " Servidor " + principal.gServidor +
                                  CRLF + CRLF + "Elija SI para reintentar conectarse" + CRLF +
                                  "Elija NO para cerrar la aplicacion" + CRLF + CRLF + CRLF;
        if (contexto_.prompt.Message(aviso, ui::buttons::kYesNo + ui::icon::kCritical,
                                     "AVISO AL OPERADOR") != ui::answer::kYes) {
          contexto_.terminarPrograma();
          return ui::answer::kAbort;
        }
      }
      if (reejecuciones < kReejecucionesTrasReconectar) {
        ++reejecuciones;
        return ui::answer::kRetry;
      }
      // Lost again right after reconnecting: the operator hears about the
      // failure itself rather than getting a closed set without a word.
    }
    return TratamientoErrores(e, 18, std::string("AbrirRecordset"));
  };

  if (ConReintentos([&] { CierraRecordset(Lrcs); }, manejar) == Resultado::Abandonado) return;
  if (ConReintentos([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); }, manejar) ==
      Resultado::Abandonado) {
    return;
  }
  bool oracle = false;
  if (ConReintentos([&] { oracle = RutaOracle(Operaciones().ConnectionString(), ConvOracle); },
                    manejar) == Resultado::Abandonado) {
    return;
  }
  ConReintentos(
      [&] {
        const std::string fuente = oracle ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
        Operaciones().OpenRecordset(Lrcs, fuente, Conexionactiva ? *Conexionactiva : gCnn(),
                                    CursorType, LockType, Options);
      },
      manejar);
}

void DB_Dll::AbrirRecordsetSinReporte(std::string& SentenciaSQL, db::Recordset& Lrcs,
                                      db::Connection* Conexionactiva, int CursorType, int LockType,
                                      int Options, bool ConvOracle) {
  if (Lrcs.EditPending()) Lrcs.CancelUpdate();
  if (Lrcs.State() != db::state::kClosed) Lrcs.Close();
  SentenciaSQL = SS_TSinonimos(SentenciaSQL);
  const bool oracle = RutaOracle(Operaciones().ConnectionString(), ConvOracle);
  const std::string fuente = oracle ? ORACLE_Dicc(SentenciaSQL) : SentenciaSQL;
  Operaciones().OpenRecordset(Lrcs, fuente, Conexionactiva ? *Conexionactiva : gCnn(), CursorType,
                              LockType, Options);
}

void DB_Dll::CierraRecordset(db::Recordset& LrcsTemp) {
  ConReintentos(
      [&] {
        if (LrcsTemp.State() != db::state::kClosed) LrcsTemp.Close();
      },
      [&](const outside::ErrorInfo& e) -> int {
        if (e.number != db::err::kNotAllowedInContext) {
          return TratamientoErrores(e, 18, std::string("CierraRecordset"));
        }
        // A pending edit: drop it and close, whatever else goes wrong.
        try {
          LrcsTemp.CancelUpdate();
        } catch (const std::exception&) {
        }
        try {
          if (LrcsTemp.State() != db::state::kClosed) LrcsTemp.Close();
        } catch (const std::exception&) {
        }
        return ui::answer::kAbort;
      });
}

void DB_Dll::EjecutaConsultaSQL(std::string& SentenciaSQL, long* RecordsAffected,
                                std::unique_ptr<db::Recordset>* Lrcs) {
  EjecutarConsulta(SentenciaSQL, RecordsAffected, Lrcs, contexto_.gDB(), false);
}

void DB_Dll::EjecutaConsultaSQL(const std::string& SentenciaSQL) {
  std::string sentencia = SentenciaSQL;
  EjecutaConsultaSQL(sentencia);
}

void DB_Dll::EjecutaConsultaRSQL(std::string& SentenciaSQL, long* RecordsAffected,
                                 std::unique_ptr<db::Recordset>* Lrcs) {
  EjecutarConsulta(SentenciaSQL, RecordsAffected, Lrcs, contexto_.gDBAuxiliar(), true);
}

void DB_Dll::EjecutarConsulta(std::string& SentenciaSQL, long* RecordsAffected,
                              std::unique_ptr<db::Recordset>* Lrcs, DB_Dll& referencia,
                              bool muestraError) {
  using texto::Contiene;
  try {
    if (Contiene(SentenciaSQL, "DROP") && Contiene(SentenciaSQL, "CREATE") &&
        !Contiene(SentenciaSQL, "DELETE") && !Contiene(SentenciaSQL, "@ADMIN_")) {
      SentenciaSQL = SS_TSinonimos(SentenciaSQL);
    } else {
      SentenciaSQL = texto::Reemplazar(SentenciaSQL, "@Admin_", "");
    }
    if (Contiene(Operaciones().ConnectionString(), "ORACLE")) {
      EjecutarScriptOracle(SentenciaSQL, RecordsAffected);
      return;
    }
    auto resultado = Operaciones().Execute(SentenciaSQL, RecordsAffected);
    if (Lrcs) *Lrcs = std::move(resultado);
    // A truncation warning on a statement that ran is not left behind.
    db::ProviderErrors& errores = referencia.Operaciones().Errors();
    if ((errores.Count() == 1 || errores.Count() == 2) && !Contiene(SentenciaSQL, "TRANS") &&
        errores.Item(0).nativeError == db::native::kValueTooLong) {
      errores.Clear();
    }
  } catch (const std::exception& ex) {
    // The statement did not run: its errors stay for the caller to find,
    // also a truncation (the row was refused, not shortened).
    const outside::ErrorInfo e = ErrorDe(ex);
    db::ProviderErrors& propios = Operaciones().Errors();
    if (propios.Empty()) propios.Add({"", e.number, 0, e.description, e.source});
    const db::ProviderErrors& deReferencia = referencia.Operaciones().Errors();
    const bool truncado = !deReferencia.Empty() && !Contiene(SentenciaSQL, "TRANS") &&
                          deReferencia.Item(0).nativeError == db::native::kValueTooLong;
    if (!muestraError || truncado) return;
    const bool silenciosa = e.number == db::err::kUnspecified || e.number == db::err::kIntegrity ||
                            e.number == db::err::kObjectNotFound ||
                            e.number == db::err::kCommandText || Contiene(SentenciaSQL, "TRANS");
    if (!silenciosa) {
      contexto_.prompt.Message(e.description, ui::buttons::kOk + ui::icon::kCritical,
                               "Aviso al operador!!!");
    }
  }
}

}  // namespace ferolin
