#include "data_access/error_report.h"

#include <cstdlib>

#include "data_access/db_dll.h"
#include "data_access/registro_errores.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

std::string Variable(const char* nombre) {
  const char* v = std::getenv(nombre);
  return v ? v : "";
}

// TEMP only says whether to look at TMP; without both, the companion's folder.
std::string CarpetaRegistro(ContextoDatos& contexto) {
  std::string carpeta;
  if (!Variable("TEMP").empty()) carpeta = Variable("TMP");
  if (carpeta.empty()) carpeta = contexto.tarvex.sistema().CarpetaSistema();
  carpeta = contexto.tarvex.utilidades().CarpetaConBarra(carpeta);
  if (carpeta.empty() || carpeta.back() != '/') carpeta += "/";
  return carpeta;
}

}  // namespace

std::int16_t ReporteError(ContextoDatos& contexto, const outside::ErrorInfo& CodErr, int Botones,
                          const std::optional<std::string>& Rutina) {
  ArchivoRegistro archivo(CarpetaRegistro(contexto) + "KVERR.LOG");
  const std::string mensaje = "Ha ocurrido el Siguiente Error (" + std::to_string(CodErr.number) +
                              ") " + texto::Recortar(CodErr.description);
  const std::string titulo =
      CodErr.source + (Rutina ? " - " + *Rutina : "") + " Aviso al operador!!! - 2 ";
  if (CodErr.number == 0) return 0;
  const int respuesta = contexto.prompt.Message(mensaje, Botones, titulo);
  if (respuesta != 0) {
    archivo.Escribir(LineaRegistro(Ahora(), Rutina, texto::Recortar(mensaje), respuesta));
  }
  return static_cast<std::int16_t>(respuesta);
}

void GrabarErrorTabla(ContextoDatos& contexto, const std::string& sentencia,
                      const std::string& proceso, long numeroError,
                      const std::string& descripcion) {
  DB_Dll& db = contexto.gDB();
  db::Recordset rs;
  try {
    std::string sql = "select  top 1 * from AUX_ERR  with(nolock) ";
    db.AbrirRecordsetSinReporte(sql, rs, nullptr, db::cursor_type::kDynamic,
                                db::lock_type::kOptimistic, -1, true);
    rs.AddNew();
    rs.SetField("Proceso", db::Value::Text(proceso));
    rs.SetField("Fecha", db::Value::Text(FechaHoraCorta(Ahora())));
    rs.SetField("Error", db::Value::Integer(numeroError));
    rs.SetField("Descripcion",
                db::Value::Text(contexto.tarvex.utilidades().CortarTexto(descripcion, 250)));
    rs.SetField("sql", db::Value::Text(sentencia));
    rs.SetField("PC", db::Value::Text(contexto.tarvex.sistema().NombreEquipo()));
    rs.SetField("Usuario", db::Value::Text(db.gUsuario));
    rs.Update();
    rs.Close();
  } catch (const std::exception&) {
    // Recording the failure must never become a failure of its own; the
    // caller has already reported it to the operator.
    try {
      if (rs.EditPending()) rs.CancelUpdate();
    } catch (const std::exception&) {
    }
  }
}

}  // namespace ferolin
