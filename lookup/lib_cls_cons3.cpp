#include "lookup/lib_cls_cons3.h"
#include "data_access/texto.h"

#include <QString>
#include <filesystem>
#include <fstream>

#include "data_access/db_dll.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/lib_frm_cons3_tree.h"
#include "lookup/modelo_consulta.h"
#include "lookup/pasos.h"
#include "lookup/sentencias.h"
#include "platform/db/recordset.h"
#include "platform/os/codepage.h"

namespace ferolin {

using consulta::Omitible;

Lib_ClsCons3::Lib_ClsCons3(ContextoDatos& contexto, LectorCfg cfg)
    : contexto_(contexto), cfg_(std::move(cfg)) {
  auto nivel = [&](const char* clave) {
    std::string v = Leer(clave);
    return v.empty() ? std::string("0") : v;
  };
  Omitible([&] { StkNivel1 = nivel("Stk_Nivel1"); });
  Omitible([&] { StkNivel2 = nivel("Stk_Nivel2"); });
  Omitible([&] { StkNivel3 = nivel("Stk_Nivel3"); });
  Omitible([&] { StkNivel4 = nivel("Stk_Nivel4"); });
  Omitible([&] { MuestraStock = Leer("MostrarStockenConsultas"); });
  Omitible([&] {
    UsaConsultaLike_ = texto::IgualSinCaso(texto::Recortar(Leer("UsaConsultaLike")), "SI");
  });
}

Lib_ClsCons3::~Lib_ClsCons3() = default;

std::string Lib_ClsCons3::Leer(const std::string& clave) const {
  return cfg_ ? cfg_(clave) : std::string();
}

std::optional<std::string> Lib_ClsCons3::ConsultaMascara(const std::string& s, long n,
                                                         std::string& CampoBusqueda,
                                                         const std::string& Where, bool& hubo) {
  hubo = false;
  auto& u = contexto_.tarvex.utilidades();
  std::string tabla;
  for (const auto& reg : LeerMascaras(gRutaMascaraConsultas)) {
    tabla = texto::Recortar(u.QuitarCaracter(reg.Tabla, U'\0', U'\u00FF'));
    if (texto::IgualSinCaso(tabla, texto::Recortar(s))) {
      RegMascara_ = reg;
      hubo = true;
      break;
    }
  }
  if (!hubo) return std::nullopt;

  std::string campos = texto::Recortar(u.Reemplazar(RegMascara_.Campos, "|", ","));
  if (!campos.empty() && campos.front() == ',') campos.erase(0, 1);
  if (!campos.empty() && campos.back() == ',') campos.pop_back();
  if (campos.empty()) campos = "*";

  if (CampoBusqueda.empty()) {
    std::size_t coma = campos.find(',');
    if (coma == std::string::npos) {
      contexto_.prompt.Message("Debe configurar la consulta para esta tabla", 64,
                               "Aviso al operador");
      return std::nullopt;
    }
    CampoBusqueda = campos.substr(0, coma);
  }

  std::string filtro =
      texto::Recortar(u.QuitarCaracter(texto::Recortar(RegMascara_.Filtro), U'\0', U'\u00FF'));
  if (filtro.empty() && !texto::Recortar(Where).empty()) filtro = Where;
  if (texto::IgualSinCaso(tabla, "VT_PROVEEDORES") || texto::IgualSinCaso(tabla, "VT_CLIENTES")) {
    if (filtro.empty()) filtro = "Dada_De_Baja = 0";
  } else if (texto::IgualSinCaso(tabla, "V_MA_ARTICULOS")) {
    tabla = "VT_MA_ARTICULOS";
    if (filtro.empty()) filtro = "SUSPENDIDO = 0";
  }
  return consulta::SentenciaMascara(texto::NumeroEnQuinceCifras(static_cast<double>(n)), campos,
                                    tabla, filtro, CampoBusqueda);
}

std::optional<std::string> Lib_ClsCons3::ArmarSentencia(const std::string& sql,
                                                        std::string& CampoBusqueda,
                                                        std::string& Where,
                                                        const std::string& SentenciaOpcional) {
  std::string s = sql;
  Where = consulta::NormalizarWhere(Where);

  double topes = 0;
  Omitible([&] { topes = texto::ValorNumerico(Leer("TopConsArt")); });
  if (topes == 0) topes = 1000;
  const long n = static_cast<long>(topes);
  const std::string nTexto = texto::NumeroEnQuinceCifras(topes);

  const bool conSelect = texto::Contiene(s, "SELECT");
  if (conSelect) {
    Omitible([&] {
      if (texto::Contiene(s, "V_MA_ARTICULOS"))
        s = contexto_.tarvex.utilidades().ReemplazarNombre(s, "V_MA_ARTICULOS", "VT_MA_ARTICULOS");
    });
    if (!texto::Recortar(Where).empty()) {
      if (!texto::Contiene(Where, "WHERE")) Where = " WHERE " + Where;
      s += Where;
    }
    return s;
  }
  if (gUsarMascarasConsultas) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(gRutaMascaraConsultas, ec)) return s;
    bool hubo = false;
    std::optional<std::string> mascara;
    Omitible([&] { mascara = ConsultaMascara(s, n, CampoBusqueda, Where, hubo); });
    if (hubo) return mascara;
  }

  // Automatic query.
  if (!SentenciaOpcional.empty()) return SentenciaOpcional;
  std::string campos;
  if (texto::IgualSinCaso(s, "V_TA_DEPOSITO")) {
    campos = "Descripcion,IdDeposito,UnidadNegocio,";
    CampoBusqueda = "IDDEPOSITO";
  } else {
    DB_Dll& datos = contexto_.gDB();
    db::Recordset rs;
    Omitible([&] {
      std::string q = "select top 1 * from " + s;
      datos.AbrirRecordset(q, rs, nullptr, 0, 1, -1, true);
      if (rs.State() == db::state::kClosed) return;
      const bool claveId =
          texto::IgualSinCaso(s, "v_mv_mutuales") || texto::IgualSinCaso(s, "V_MV_TROPA_STOCK");
      for (std::size_t i = 0; i < rs.FieldCount(); ++i) {
        const std::string nombre = rs.Fields(i).Name();
        if (texto::IgualSinCaso(nombre, "ID") ||
            texto::IgualSinCaso(nombre, "FECHAHORA_MODIFICACION") ||
            texto::IgualSinCaso(nombre, "FECHAHORA_GRABACION")) {
          if (!claveId) continue;
          campos = nombre + "," + campos;
          CampoBusqueda = nombre;
        } else if (texto::IgualSinCaso(nombre, "DESCRIPCION") ||
                   texto::IgualSinCaso(nombre, "NOMBRE") ||
                   texto::IgualSinCaso(nombre, "DETALLE")) {
          campos = nombre + "," + campos;
          CampoBusqueda = nombre;
        } else {
          if (campos.empty()) CampoBusqueda = nombre;
          campos = nombre + "," + campos;
        }
      }
    });
    Omitible([&] { datos.CierraRecordset(rs); });
  }
  if (campos.empty())
    campos = " * ";
  else
    campos.pop_back();
  return consulta::SentenciaAutomatica(nTexto, campos, s, Where, CampoBusqueda);
}

void Lib_ClsCons3::ConsultaSearch(const std::string& sql, std::vector<std::string>* CmpsDevueltos,
                                  const std::string& Clave, std::string* CampoBusqueda,
                                  std::string* Where, const std::string& SentenciaOpcional,
                                  bool TreeView, const std::string& ValoresDefault) {
  std::string campoBusqueda = CampoBusqueda ? *CampoBusqueda : std::string();
  std::string where = Where ? *Where : std::string();
  std::optional<std::string> s = ArmarSentencia(sql, campoBusqueda, where, SentenciaOpcional);
  if (CampoBusqueda) *CampoBusqueda = campoBusqueda;
  if (Where) *Where = where;
  if (!s) return;  // refused: the masks message has been shown

  if (TreeView) {
    Lib_FrmCons3Tree arbol(contexto_);
    arbol.sql = *s;
    arbol.CampoDevuelto = CampoDevuelto;
    arbol.CheckBoxes = Checks;
    Valores.clear();
    Omitible([&] {
      if (PrepararVentana) PrepararVentana(arbol);
      arbol.Cargar();
      arbol.exec();
    });
    ValorDevuelto = arbol.ValorDevuelto;
    HayValores = arbol.Valores.has_value();
    Valores = arbol.Valores.value_or(std::vector<std::string>{});
    Checks = false;
    arbol.Descargar();
  } else {
    Lib_FrmCons3 lista(contexto_, cfg_);
    lista.StkNivel1 = StkNivel1;
    lista.StkNivel2 = StkNivel2;
    lista.StkNivel3 = StkNivel3;
    lista.StkNivel4 = StkNivel4;
    lista.MuestraStock = MuestraStock;
    lista.CfgUsaConsultaLIKE = UsaConsultaLike_;
    lista.OrdenarPorLwv = !texto::Contiene(*s, "ORDER BY");
    lista.FiltroInicial = Clave;
    lista.CampoBusqueda = campoBusqueda;
    if (gConnString.empty()) gConnString = contexto_.gDB().gConnString;
    lista.sql = *s;
    lista.gConnString = gConnString;
    lista.CampoDevuelto = CampoDevuelto;
    lista.CheckBoxes = Checks;
    lista.UsaCantidades = UsaCantidades;
    lista.ValoresDefault = ValoresDefault;
    lista.LanzadorProgramas = LanzadorProgramas;
    Valores.clear();
    Cantidades.clear();
    if (CmpsDevueltos) lista.CmpsDevueltos = *CmpsDevueltos;
    lista.Valores.reset();
    lista.Cantidades.reset();
    Omitible([&] {
      if (PrepararVentana) PrepararVentana(lista);
      lista.Cargar();
      // Ticks placed from ValoresDefault do not survive into a check list.
      if (Checks)
        for (int f = 0; f < lista.Modelo().Filas(); ++f) lista.Modelo().SetTick(f, false);
      lista.exec();
    });
    Checks = false;
    HayValores = lista.Valores.has_value();
    Valores = lista.Valores.value_or(std::vector<std::string>{});
    Cantidades = lista.Cantidades.value_or(std::vector<std::string>{});
    ValorDevuelto = lista.ValorDevuelto;
    lista.CampoDevuelto.clear();
    lista.Descargar();
  }
  CampoDevuelto.clear();
  if (CmpsDevueltos) CmpsDevueltos->clear();
}

// ---------------------------------------------------------------- pickers

namespace {

std::size_t Largo(const std::string& s) {
  return static_cast<std::size_t>(QString::fromStdString(s).size());
}

// The three pickers share the list window's selector mode: load it, add the
// options through agregar (which also widens the window to the longest text),
// and show it modally. Each step is skipped silently when it fails.
void MostrarSelector(Lib_FrmCons3& lista, const std::string& Titulo, bool checks,
                     const Lib_ClsCons3::Vestidor& preparar,
                     const std::function<void(std::size_t& largo)>& agregar) {
  Omitible([&] { lista.Cargar(); });
  Omitible([&] { lista.PrepararSelector(Titulo, checks); });
  std::size_t largo = Largo(Titulo);
  agregar(largo);
  Omitible([&] {
    lista.AnchoSelector(largo);
    if (preparar) preparar(lista);
    lista.exec();
  });
}

}  // namespace

std::string Lib_ClsCons3::CheckOpciones(const std::string& Titulo,
                                        const std::vector<std::string>& /*CmpsDevueltos*/,
                                        const std::vector<std::string>& Opc) {
  Lib_FrmCons3 lista(contexto_, cfg_);
  MostrarSelector(lista, Titulo, true, PrepararVentana, [&](std::size_t& largo) {
    for (const auto& op : Opc) {
      Omitible([&] {
        QString q = QString::fromStdString(op);
        lista.AgregarOpcion(q.mid(1).toStdString(), q.startsWith('1'));
        largo = std::max(largo, Largo(op));
      });
    }
  });
  HayValores = lista.Valores.has_value();
  Valores = lista.Valores.value_or(std::vector<std::string>{});
  lista.Descargar();
  return "";
}

std::string Lib_ClsCons3::MenuOpciones(const std::string& Titulo,
                                       const std::vector<std::string>& Opc) {
  Lib_FrmCons3 lista(contexto_, cfg_);
  MostrarSelector(lista, Titulo, false, PrepararVentana, [&](std::size_t& largo) {
    for (const auto& op : Opc) {
      Omitible([&] {
        lista.AgregarOpcion(op, false);
        largo = std::max(largo, Largo(op));
      });
    }
  });
  std::string r = lista.ValorDevuelto;
  lista.Descargar();
  return r;
}

std::string Lib_ClsCons3::ConsultaDesdeArchivo(const std::string& Titulo,
                                               const std::string& QueArchivo,
                                               const std::string& /*Separador*/) {
  std::string sinComillas;
  for (char c : QueArchivo)
    if (c != '"') sinComillas += c;
  bool existe = std::ifstream(sinComillas).good();
  if (!existe) {
    contexto_.prompt.Message(
        "No existe el archivo " + QueArchivo + " que desea consultar consulta ", 0, "");
    return "";
  }
  Lib_FrmCons3 lista(contexto_, cfg_);
  MostrarSelector(lista, Titulo, false, PrepararVentana, [&](std::size_t& largo) {
    Omitible([&] {
      for (const auto& linea : os::ReadTextLines(sinComillas)) {
        lista.AgregarOpcion(linea, false);
        largo = std::max(largo, Largo(linea));
      }
    });
  });
  std::string r = lista.ValorDevuelto;
  lista.Descargar();
  return r;
}

}  // namespace ferolin
