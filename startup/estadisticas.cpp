// The second connection, to the suite's statistics database on the same
// server; it supplies the command time-out of the main connection.

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

namespace {

constexpr const char* kBaseEstadisticas = "KV_ESTADISTICAS";
constexpr const char* kClaveEstadisticas = "QT_MIRANDOLESCA";
constexpr std::int16_t kTimeOutPorDefecto = 360;

}  // namespace

void AbrirEstadisticas(ContextoPrograma& ctx) {
  const std::string rutina = "AbrirEstadisticas";
  auto& est = ctx.gDBEstadisticas();
  auto& principal = ctx.gDB();
  ctx.gTimeOut = kTimeOutPorDefecto;

  pasos::Omitible(rutina, [&] {
    if (est.gOpenFlag) {
      est.gOpenFlag = false;
      est.gCnn().Close();
    }
  });
  est.gProveedor = DB_Dll::pSQLOLEDB;
  est.gServidor = principal.gServidor;
  est.gDBName = kBaseEstadisticas;
  est.gUsuario = kBaseEstadisticas;
  est.gUserPassWord = kClaveEstadisticas;

  pasos::Omitible(rutina, [&] { est.OpenServerADODB(false, 3, "", true, false); });

  if (est.gOpenFlag) {
    pasos::Omitible(rutina, [&] { est.gCnn().SetDefaultDatabase(kBaseEstadisticas); });
    bool leido = pasos::Omitible(rutina, [&] {
      std::string aux;
      const auto n =
          texto::Redondear(texto::ValorNumerico(CfgKV(ctx, "TimeOut", aux)), INT16_MIN, INT16_MAX);
      if (!n) throw std::out_of_range("TimeOut fuera de rango");
      ctx.gTimeOut = static_cast<std::int16_t>(*n);
    });
    if (leido && ctx.gTimeOut == 0) {
      pasos::Omitible(rutina,
                      [&] { GrabaCfgKV(ctx, "TimeOut", "0", "", false, "BaseDeDatos", true); });
    }
  }
  // A negative time-out cannot be applied to a connection: it means the default too.
  if (ctx.gTimeOut <= 0) ctx.gTimeOut = kTimeOutPorDefecto;
}

}  // namespace ferolin
