// The configuration store: keys of TA_CONFIGURACION on the main and the
// statistics connections, and the program-wide values loaded at start-up.

#include <array>
#include <cmath>

#include "data_access/db_dll.h"
#include "data_access/error_report.h"
#include "data_access/texto.h"
#include "platform/db/errors.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

namespace {

constexpr const char* kTablaConfiguracion = "TA_CONFIGURACION";

void ExigirAbierto(const db::Recordset& rs) {
  if (rs.State() == db::state::kClosed) {
    throw db::DbError(db::err::kClosedObject,
                      "La operación no está permitida si el objeto está cerrado.");
  }
}

void CerrarSinAviso(DB_Dll& dbl, db::Recordset& rs) {
  pasos::Omitible("Cfg", [&] { dbl.CierraRecordset(rs); });
}

// Cfg and CfgKV share their steps; only the connection and the routine named
// in the reports differ.
std::string LeerClave(ContextoPrograma& ctx, DB_Dll& dbl, const std::string& Clave,
                      std::string& ValorAux, const std::string& rutina) {
  auto reportar = [&](const outside::ErrorInfo& e) {
    return static_cast<int>(ReporteError(ctx, e, 18, rutina));
  };
  db::Recordset rs;
  auto abandonar = [&] {
    CerrarSinAviso(dbl, rs);
    return std::string();
  };

  if (texto::Recortar(ctx.gTablaConfiguracion).empty()) {
    ctx.gTablaConfiguracion = kTablaConfiguracion;
  }
  const std::string clave = texto::Recortar(Clave);
  std::string sql = "SELECT VALOR, valoraux FROM " + ctx.gTablaConfiguracion +
                    " with(nolock)  WHERE CLAVE = '" + texto::DoblarApostrofes(clave) + "'";
  if (texto::IgualSinCasoUnicode(clave, "[FECHA DESDE]") ||
      texto::IgualSinCasoUnicode(clave, "[FECHA HASTA]")) {
    sql = texto::MayusculasUnicode(sql);
  }

  std::string resultado;
  auto& util = ctx.tarvex.utilidades();
  if (!pasos::Reportado([&] { dbl.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); }, reportar))
    return abandonar();
  if (!pasos::Reportado(
          [&] {
            ExigirAbierto(rs);
            if (rs.Eof()) {
              resultado = " ";
              ValorAux = "";
            } else {
              resultado = util.ValorCampo(rs.Fields("VALOR"));
              ValorAux = util.ValorCampo(rs.Fields("valoraux"));
            }
          },
          reportar))
    return abandonar();
  if (!pasos::Reportado([&] { dbl.CierraRecordset(rs); }, reportar)) return abandonar();
  if (texto::IgualSinCasoUnicode(clave, "THEME") && texto::Recortar(resultado).empty())
    resultado = "1";
  return resultado;
}

bool EsSi(const std::string& v) {
  return texto::IgualSinCasoUnicode(v, "SI");
}

// Flags that are off when blank and on unless "NO".
bool NoEsNo(const std::string& v) {
  return !texto::Recortar(v).empty() && !texto::IgualSinCasoUnicode(v, "NO");
}

// The suite's sales programs, whose decimals follow "CantidadDecimalesVentas".
bool EsProgramaDeVentas(const std::string& programa) {
  static constexpr std::array<const char*, 9> kVentas = {"FACTURACION",  "VENTAS",    "PUNTOVENTA",
                                                         "PRESUPUESTOS", "PEDIDOS",   "REMITOS",
                                                         "NOTASCD",      "PROFORMAS", "MOSTRADOR"};
  for (const char* p : kVentas) {
    if (texto::IgualSinCasoUnicode(programa, p)) return true;
  }
  return false;
}

bool ValorLogico(const db::Field& f) {
  const db::Value& v = f.value();
  if (v.IsNull()) return false;
  if (v.IsNumber()) return v.ToNumber() != 0;
  const std::string t = texto::Recortar(v.ToText());
  return texto::IgualSinCasoUnicode(t, "true") || texto::IgualSinCasoUnicode(t, "SI") ||
         texto::ValorNumerico(t) != 0;
}

}  // namespace

std::string Cfg(ContextoPrograma& ctx, const std::string& Clave, std::string& ValorAux) {
  auto& dbl = ctx.gDB();
  if (!dbl.gOpenFlag) return "";
  return LeerClave(ctx, dbl, Clave, ValorAux, "Cfg");
}

std::string CfgKV(ContextoPrograma& ctx, const std::string& Clave, std::string& ValorAux) {
  return LeerClave(ctx, ctx.gDBEstadisticas(), Clave, ValorAux, "CfgKV");
}

void GrabaCfgKV(ContextoPrograma& ctx, const std::string& Clave, const std::string& Valor,
                const std::string& ValorAux, bool PoliticaNegocio, const std::string& Grupo,
                bool Recortar) {
  auto& est = ctx.gDBEstadisticas();
  const std::string rutina = "GrabaCfgKV";
  db::Recordset rs;
  std::string sql = "SELECT * FROM " + ctx.gTablaConfiguracion + " with(nolock)  WHERE CLAVE = '" +
                    texto::DoblarApostrofes(Clave) + "'";
  pasos::Omitible(rutina, [&] { est.AbrirRecordset(sql, rs, &est.gCnn(), 2, 3, -1, true); });
  pasos::Omitible(rutina, [&] {
    ExigirAbierto(rs);
    if (rs.Eof()) {
      rs.AddNew();
    } else {
      rs.MoveFirst();
    }
  });
  pasos::Omitible(rutina, [&] { rs.SetField("Grupo", db::Value::Text(Grupo)); });
  pasos::Omitible(rutina, [&] {
    rs.SetField("Clave", db::Value::Text(texto::MayusculasUnicode(texto::Recortar(Clave))));
  });
  pasos::Omitible(rutina, [&] {
    rs.SetField("Valor", db::Value::Text(Recortar ? texto::Recortar(Valor) : Valor));
  });
  pasos::Omitible(
      rutina, [&] { rs.SetField("PoliticaNegocio", db::Value::Integer(PoliticaNegocio ? 1 : 0)); });
  if (!ValorAux.empty()) {
    pasos::Omitible(rutina,
                    [&] { rs.SetField("ValorAux", db::Value::Text(texto::Recortar(ValorAux))); });
  }
  pasos::Omitible(rutina, [&] { rs.Update(); });
  pasos::Omitible(rutina, [&] {
    if (rs.EditPending()) rs.CancelUpdate();
    est.CierraRecordset(rs);
  });
}

void CargarConfiguracion(ContextoPrograma& ctx, const std::string& carpetaPrograma) {
  auto& c = ctx.configuracion;
  auto& util = ctx.tarvex.utilidades();
  const std::string rutina = "CargarConfiguracion";
  auto valor = [&ctx](const char* clave) {
    std::string aux;
    return Cfg(ctx, clave, aux);
  };
  auto paso = [&](auto&& f) { pasos::Omitible(rutina, f); };
  auto recortado = [&](const char* clave) { return texto::Recortar(valor(clave)); };
  auto entero16 = [](const std::string& t) {
    const auto n = texto::Redondear(texto::ValorNumerico(t), INT16_MIN, INT16_MAX);
    if (!n) throw std::out_of_range("valor fuera de rango: " + t);
    return static_cast<std::int16_t>(*n);
  };

  ctx.gTablaConfiguracion = "ta_configuracion";
  paso([&] { c.MostrarStockenConsultas = EsSi(valor("MostrarStockenConsultas")); });
  paso([&] { c.TituloClientes = recortado("TituloClientes"); });
  paso([&] { c.TituloProveedores = recortado("TituloProveedores"); });
  c.DocumentoTareas = carpetaPrograma + "KVDOCTareas.kvt";
  paso([&] { c.EXIGECLAVECONSULTALIKEARTICULOS = EsSi(valor("EXIGECLAVECONSULTALIKEARTICULOS")); });
  paso([&] { c.UsaConsultaLike = EsSi(valor("UsaConsultaLike")); });
  paso([&] {
    c.CantidadDecimales = valor("CantidadDecimales");
    if (EsProgramaDeVentas(ctx.nombrePrograma)) {
      const std::string ventas = valor("CantidadDecimalesVentas");
      if (texto::ValorNumerico(ventas) > 0) c.CantidadDecimales = ventas;
    }
  });
  paso([&] {
    c.SS_CONFIDENCIALIDAD = EsSi(valor("SS_CONFIDENCIALIDAD"));
    ctx.confidencialidad = c.SS_CONFIDENCIALIDAD;
  });
  paso([&] { c.UsaMultilesMonedas = EsSi(valor("UsaMultilesMonedas")); });
  paso([&] { c.UsaFacturaProforma = EsSi(valor("UsaFacturaProforma")); });
  paso([&] { c.USACCOSTO = EsSi(valor("USACCOSTO")); });
  paso([&] { c.USA_STK_STOCK_UDKG = EsSi(valor("USA_STK_STOCK_UDKG")); });

  // The logged-in user's business unit.
  {
    auto& dbl = ctx.gDB();
    db::Recordset rs;
    std::string sql = "Select * from ta_usuarios  with(nolock)  where Nombre = '" +
                      texto::DoblarApostrofes(ctx.gUsuarioLogeado) + "'";
    paso([&] { dbl.AbrirRecordset(sql, rs, nullptr, 0, 1, -1, true); });
    paso([&] {
      ExigirAbierto(rs);
      if (!rs.Eof()) {
        c.UnidadNegocio = util.ValorCampo(rs.Fields("UNegocio"));
        if (c.UsaFacturaProforma) c.UsaFacturaProforma = ValorLogico(rs.Fields("verproforma"));
      }
    });
    paso([&] { dbl.CierraRecordset(rs); });
    if (c.UnidadNegocio.empty()) c.UnidadNegocio = "   1";
  }

  paso([&] { c.UNIDADDEMEDIDA_M3 = recortado("UNIDADDEMEDIDA_M3"); });
  paso([&] { c.UNIDADDEMEDIDA_BL = recortado("UNIDADDEMEDIDA_BL"); });
  paso([&] { c.UNIDADDEMEDIDA_KG = recortado("UNIDADDEMEDIDA_KG"); });
  paso([&] { c.PERIODO = entero16(valor("PERIODO")); });
  paso([&] { c.RazonSocialPorUneg = EsSi(recortado("RazonSocialPorUneg")); });
  paso([&] { c.VALIDACODIGOBARRA = EsSi(recortado("VALIDACODIGOBARRA")); });

  auto color = [&](const char* clave) {
    const auto n = texto::Redondear(util.TextoANumero(valor(clave)), INT32_MIN, INT32_MAX);
    if (!n) throw std::out_of_range(std::string("color fuera de rango: ") + clave);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(*n));
  };
  paso([&] {
    ctx.gColorFondoEdicion = color("CFondo");
    if (ctx.gColorFondoEdicion == 0) ctx.gColorFondoEdicion = 0xFFFF00;
  });
  paso([&] { ctx.gColorTextoEdicion = color("CLetra"); });

  paso([&] {
    c.ModuloOrdenDeTrabajo = !texto::IgualSinCasoUnicode(recortado("ModuloOrdenDeTrabajo"), "NO");
  });
  paso([&] { c.V_ModificaCPrecio = NoEsNo(valor("V_ModificaCPrecio")); });
  paso([&] { c.C_ModificaCPrecio = NoEsNo(valor("C_ModificaCPrecio")); });
  paso([&] { c.MADERERA = NoEsNo(valor("MADERERA")); });

  const std::array<std::pair<const char*, std::string*>, 9> textos = {{
      {"MAD_TIRAS", &c.MAD_TIRAS},
      {"MAD_P2", &c.MAD_P2},
      {"MAD_ML", &c.MAD_ML},
      {"MAD_M2", &c.MAD_M2},
      {"MAD_HOJAS", &c.MAD_HOJAS},
      {"MAD_ML_P2", &c.MAD_ML_P2},
      {"MAD_M2_P2", &c.MAD_M2_P2},
      {"MAD_ML_M2", &c.MAD_ML_M2},
      {"CuentaCtroDist", &c.CuentaCtroDist},
  }};
  for (const auto& [clave, destino] : textos) paso([&] { *destino = recortado(clave); });

  auto moneda = [&](const char* clave) {
    return std::round(util.TextoANumero(recortado(clave)) * 10000.0) / 10000.0;
  };
  paso([&] { c.MaxDto = moneda("MaxDto"); });
  paso([&] { c.MaxDtoProforma = moneda("MaxDtoProforma"); });

  paso([&] { c.PideClave_StockNeg = NoEsNo(valor("PideClave_StockNeg")); });
  paso([&] { c.PideClave_MarkUpBase = NoEsNo(valor("PideClave_MarkUpBase")); });
  paso([&] { c.PideClave_LimiteCredito = NoEsNo(valor("PideClave_LimiteCredito")); });
  paso([&] { c.SS_BloqueoActivo = EsSi(valor("SS_BloqueoActivo")); });
  paso([&] { c.UTILIZARFECHADIA = EsSi(valor("UTILIZARFECHADIA")); });
  paso([&] { c.AsignacionAutomaticaDeLoteING = EsSi(valor("AsignacionAutomaticaDeLoteING")); });
  paso([&] { c.AsignacionAutomaticaDeLoteINGOP = EsSi(valor("AsignacionAutomaticaDeLoteINGOP")); });

  paso([&] {
    c.CONDIVAEMPRESA = entero16(valor("CONDIVAEMPRESA"));
    if (c.CONDIVAEMPRESA == 0) c.CONDIVAEMPRESA = entero16(valor("CONDIVA"));
    if (c.CONDIVAEMPRESA == 0) c.CONDIVAEMPRESA = 1;
  });
  paso([&] {
    c.Top_Default = valor("Top_Default");
    if (texto::Recortar(c.Top_Default).empty()) c.Top_Default = "1000";
  });
  c.cargada = true;
}

}  // namespace ferolin
