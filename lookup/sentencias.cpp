#include "lookup/sentencias.h"

#include "data_access/texto.h"

namespace ferolin::consulta {

std::string NormalizarWhere(const std::string& where) {
  if (texto::Recortar(where).size() > 1 && !where.starts_with("(")) return " (" + where + ") ";
  return where;
}

std::string SentenciaMascara(const std::string& n, const std::string& campos,
                             const std::string& tabla, const std::string& filtro,
                             const std::string& campoBusqueda) {
  std::string s = "SELECT TOP " + n + " " + campos + " FROM " + tabla;
  s += campoBusqueda.empty() ? " with(nolock) " : "  with(nolock) ";
  if (!texto::Recortar(filtro).empty()) s += " WHERE ";
  s += filtro;
  if (!campoBusqueda.empty()) s += " ORDER BY " + campoBusqueda;
  return s;
}

std::string SentenciaAutomatica(const std::string& n, const std::string& campos,
                                const std::string& tabla, const std::string& where,
                                const std::string& campoBusqueda) {
  std::string s = "SELECT TOP " + n + " " + campos + " FROM " + tabla;
  if (!texto::Recortar(where).empty()) s += " WHERE ";
  s += " " + where;
  // Without a search column an ORDER BY with no column would make the statement fail.
  if (!campoBusqueda.empty()) s += " ORDER BY " + campoBusqueda;
  return s;
}

BusquedaF5 SentenciaF5Lista(const std::string& sql, const std::string& sqlActual,
                            const std::string& campo, std::string& texto, bool usaLike) {
  BusquedaF5 r;
  r.sqlActual = sqlActual;
  if (texto::Contiene(sql, "order")) {
    std::size_t p = texto::Buscar(sql, "order by");
    if (p != std::string::npos) {
      r.colaOrden = sql.substr(p);
      r.sqlActual = sql.substr(0, p);
    }
  }
  if (std::size_t p = texto::Buscar(sql, "group by"); p != std::string::npos) {
    r.colaOrden = sql.substr(p);
    r.sqlActual = sql.substr(0, p);
  }
  std::string prefijo;
  if (texto::Contiene(r.sqlActual, "stk_ma_articulos.")) prefijo = "stk_ma_articulos.";
  if (texto::Contiene(r.sqlActual, "v_ma_articulos.")) prefijo = "v_ma_articulos.";
  std::string conector = texto::Contiene(sql, "where") ? " and " : " where ";
  if (usaLike) {
    std::string patron = texto;
    for (auto& c : patron)
      if (c == ' ') c = '%';
    r.sql = r.sqlActual + conector + prefijo + campo + " like '%" +
            texto::DoblarApostrofes(patron) + "%' " + r.colaOrden;
  } else {
    texto = texto::Reemplazar(texto, "*", "%");
    r.sql = r.sqlActual + conector + prefijo + campo + " like '" + texto::DoblarApostrofes(texto) +
            "%' " + r.colaOrden;
  }
  r.sqlActual = r.sql;
  return r;
}

BusquedaF5 SentenciaF5Arbol(const std::string& sql, const std::string& texto) {
  BusquedaF5 r;
  std::string cabeza = sql;
  if (texto::Contiene(sql, "order")) {
    std::size_t p = texto::Buscar(sql, "order by");
    if (p != std::string::npos) {
      r.colaOrden = sql.substr(p);
      cabeza = sql.substr(0, p);
    }
  }
  std::string conector = texto::Contiene(sql, "where") ? " and " : " where ";
  r.sql = cabeza + conector + "Descripcion" + " like '%" + texto::DoblarApostrofes(texto) + "%' " +
          r.colaOrden;
  r.sqlActual = r.sql;
  return r;
}

std::string TablaDeSentencia(const std::string& sql) {
  std::size_t p = texto::Buscar(sql, "from");
  if (p == std::string::npos) return "";
  std::size_t inicio = p + 4;
  // The blank that ends the name is searched from the second character after "from".
  std::size_t fin = sql.find(' ', inicio + 1);
  std::string t = fin == std::string::npos ? sql.substr(inicio) : sql.substr(inicio, fin - inicio);
  return texto::Recortar(t);
}

}  // namespace ferolin::consulta
