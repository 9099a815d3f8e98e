#pragma once
// Program-wide values loaded from the configuration table at start-up, one per
// key, named after it. Filled by CargarConfiguracion.

#include <cstdint>
#include <string>

namespace ferolin {

struct ValoresConfiguracion {
  bool cargada = false;  // CargarConfiguracion has run

  bool MostrarStockenConsultas = false;
  std::string TituloClientes;
  std::string TituloProveedores;
  std::string DocumentoTareas;  // program folder + "KVDOCTareas.kvt"
  bool EXIGECLAVECONSULTALIKEARTICULOS = false;
  bool UsaConsultaLike = false;
  std::string CantidadDecimales;
  bool SS_CONFIDENCIALIDAD = false;
  bool UsaMultilesMonedas = false;
  bool UsaFacturaProforma = false;
  bool USACCOSTO = false;
  bool USA_STK_STOCK_UDKG = false;
  std::string UnidadNegocio;  // the logged-in user's UNegocio, "   1" when none
  std::string UNIDADDEMEDIDA_M3;
  std::string UNIDADDEMEDIDA_BL;
  std::string UNIDADDEMEDIDA_KG;
  std::int16_t PERIODO = 0;
  bool RazonSocialPorUneg = false;
  bool VALIDACODIGOBARRA = false;
  bool ModuloOrdenDeTrabajo = false;
  bool V_ModificaCPrecio = false;
  bool C_ModificaCPrecio = false;
  bool MADERERA = false;
  std::string MAD_TIRAS;
  std::string MAD_P2;
  std::string MAD_ML;
  std::string MAD_M2;
  std::string MAD_HOJAS;
  std::string MAD_ML_P2;
  std::string MAD_M2_P2;
  std::string MAD_ML_M2;
  std::string CuentaCtroDist;
  double MaxDto = 0;  // currency: four decimals
  double MaxDtoProforma = 0;
  bool PideClave_StockNeg = false;
  bool PideClave_MarkUpBase = false;
  bool PideClave_LimiteCredito = false;
  bool SS_BloqueoActivo = false;
  bool UTILIZARFECHADIA = false;
  bool AsignacionAutomaticaDeLoteING = false;
  bool AsignacionAutomaticaDeLoteINGOP = false;
  std::int16_t CONDIVAEMPRESA = 0;
  std::string Top_Default;
};

}  // namespace ferolin
