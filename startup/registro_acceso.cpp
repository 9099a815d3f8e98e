// The access log: one Control_Acceso row per program run, its entry written at
// start-up and its exit time when the main window unloads.

#include <QDateTime>

#include "data_access/db_dll.h"
#include "data_access/sentencias.h"
#include "data_access/texto.h"
#include "outside/sistema.h"
#include "platform/db/errors.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

namespace {

constexpr const char* kRutinaIngreso = "RegistrarIngreso";

std::string Ahora(const char* formato) {
  return QDateTime::currentDateTime().toString(QString::fromLatin1(formato)).toStdString();
}

// The task the user works on in this program, from the menu rights.
std::string NombreTarea(ContextoPrograma& ctx, const std::string& programa) {
  auto& db = ctx.gDB();
  auto& util = ctx.tarvex.utilidades();
  std::string sql =
      "SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre "
      " FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave "
      " WHERE (TA_TAREAS.USUARIO = '" +
      texto::DoblarApostrofes(ctx.gUsuarioLogeado) + "') AND (TA_MENU.Proceso LIKE '%" +
      texto::DoblarApostrofes(programa) + "%')";
  db::Recordset rs;
  std::optional<std::string> tarea;
  pasos::Omitible(kRutinaIngreso, [&] { db.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); });
  pasos::Omitible(kRutinaIngreso, [&] {
    if (rs.State() != db::state::kClosed && !rs.Eof()) tarea = util.ValorCampo(rs.Fields("Nombre"));
  });
  pasos::Omitible(kRutinaIngreso, [&] { db.CierraRecordset(rs); });
  if (tarea) return *tarea;
  if (texto::IgualSinCasoUnicode(ctx.nombrePrograma, "QUADREL")) return "Menu Principal";
  if (texto::IgualSinCasoUnicode(db.gDBName, db.gUsuario) ||
      texto::IgualSinCasoUnicode(db.gUsuario, "SUPERVISOR KORVANT MC")) {
    return ctx.nombrePrograma;
  }
  return "";
}

}  // namespace

std::string FormatoFechaHora() {
  return Ahora("dd/MM/yy HH:mm");
}
std::string FormatoFecha() {
  return Ahora("dd/MM/yy");
}
std::string FormatoHora() {
  return Ahora("HH:mm");
}

void RegistrarIngreso(ContextoPrograma& ctx, const std::string& nombreMenu) {
  auto& db = ctx.gDB();
  const std::string programa = nombreMenu.empty() ? ctx.nombrePrograma : nombreMenu;
  ctx.gUsuarioLogeado = db.gUsuario;
  const std::string tarea = NombreTarea(ctx, programa);

  // Without the log table there is nothing to write and nothing to tell.
  bool hayTabla = false;
  pasos::Omitible(kRutinaIngreso, [&] { hayTabla = db.ExisteTablaDB("Control_Acceso"); });
  if (!hayTabla) return;

  std::string maquina;
  pasos::Omitible(kRutinaIngreso, [&] {
    maquina = texto::MayusculasUnicode(texto::Recortar(ctx.tarvex.sistema().NombreEquipo()));
  });
  std::string usuario = texto::MayusculasUnicode(texto::Recortar(ctx.gUsuarioLogeado));
  std::string formulario = texto::MayusculasUnicode(texto::Recortar(programa));
  std::string tareaMayus = texto::MayusculasUnicode(texto::Recortar(tarea));
  std::string ingreso = FormatoFecha() + " " + FormatoHora();
  std::string nombreUsuario = ctx.gUsuarioLogeado;

  CamposValores campos;
  std::vector<std::string> sentencias;
  bool armada = pasos::Omitible(kRutinaIngreso, [&] {
    AgregarCampo(ctx, campos, "Maquina", maquina, "'", true);
    AgregarCampo(ctx, campos, "Usuario", usuario, "'", false);
    AgregarCampo(ctx, campos, "Formulario", formulario, "'", false);
    AgregarCampo(ctx, campos, "Tarea", tareaMayus, "'", false);
    AgregarCampo(ctx, campos, "Ingreso", ingreso, "'", false);
    AgregarCampo(ctx, campos, "NombreUsuario", nombreUsuario, "'", false);
    std::string condicion;
    ArmarSentencia(campos, sentencias, "Control_Acceso", false, condicion, false);
  });
  if (!armada) return;

  const ResultadoScript r = GActualizarDatoScript(ctx, sentencias, false, false, true);
  if (r.Fallo) return;

  // The exit time must reach this run's row and no other: its ID is read back
  // by the values just written (IDs grow, so the newest match is this row),
  // without apostrophes as the statement builder stored them.
  std::string sql = "SELECT MAX(ID) AS ID FROM Control_Acceso  with(nolock)  WHERE Maquina = '" +
                    texto::QuitarApostrofes(maquina) + "' AND Usuario = '" +
                    texto::QuitarApostrofes(usuario) + "' AND Formulario = '" +
                    texto::QuitarApostrofes(formulario) + "' AND Ingreso = '" +
                    texto::QuitarApostrofes(ingreso) + "' AND EGRESO IS NULL";
  db::Recordset rs;
  pasos::Omitible(kRutinaIngreso, [&] { db.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); });
  pasos::Omitible(kRutinaIngreso, [&] {
    if (rs.State() == db::state::kClosed || rs.Eof()) return;
    const db::Value& id = rs.Fields("ID").value();
    if (!id.IsNull()) ctx.gIdAcceso = static_cast<std::int32_t>(id.ToNumber());
  });
  pasos::Omitible(kRutinaIngreso, [&] { db.CierraRecordset(rs); });
}

void RegistrarEgreso(ContextoPrograma& ctx) {
  // No entry row of this run (no table, no connection): nothing to close.
  if (ctx.gIdAcceso == 0) return;
  auto& db = ctx.gDB();
  try {
    std::string sql = "UPDATE CONTROL_ACCESO  SET EGRESO = '" + FormatoFecha() + " " +
                      FormatoHora() +
                      "' WHERE EGRESO IS NULL AND  ID = " + std::to_string(ctx.gIdAcceso);
    db.EjecutaConsultaSQL(sql);
    // The statement runner reports nothing: a refused update is found in the
    // provider errors and told like any other failure of this step.
    auto& errores = db.Operaciones().Errors();
    if (!errores.Empty()) {
      const db::ProviderError e = errores.Item(0);
      errores.Clear();
      throw db::DbError(e.number != 0 ? e.number : db::err::kUnspecified, e.description);
    }
  } catch (const std::exception& e) {
    ctx.prompt.Message(pasos::InfoDe(e).description, ui::buttons::kOk, ctx.nombrePrograma);
  }
}

void FinalizarPrograma(ContextoPrograma& ctx) {
  RegistrarEgreso(ctx);
  ctx.gIdAcceso = 0;  // the exit time is written once
  ctx.tarvex.Liberar();
  ctx.LiberarGDB();
  ctx.tarvex.CarpetaPrograma.clear();
}

}  // namespace ferolin
