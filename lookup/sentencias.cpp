#include "lookup/sentencias.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace ferolin::consulta {
namespace {

char Alta(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string ReemplazarTodo(std::string s, std::string_view de, std::string_view a) {
  if (de.empty()) return s;
  std::size_t pos = 0;
  while ((pos = BuscarCI(s, de, pos)) != std::string::npos) {
    s.replace(pos, de.size(), a);
    pos += a.size();
  }
  return s;
}

}  // namespace

std::string Trim(std::string_view s) {
  auto a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return "";
  auto b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

std::string Mayusculas(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = Alta(c);
  return r;
}

bool IgualesCI(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Alta(a[i]) != Alta(b[i])) return false;
  return true;
}

std::size_t BuscarCI(std::string_view texto, std::string_view buscado, std::size_t desde) {
  if (buscado.empty()) return desde <= texto.size() ? desde : std::string::npos;
  if (buscado.size() > texto.size()) return std::string::npos;
  for (std::size_t i = desde; i + buscado.size() <= texto.size(); ++i) {
    std::size_t k = 0;
    while (k < buscado.size() && Alta(texto[i + k]) == Alta(buscado[k])) ++k;
    if (k == buscado.size()) return i;
  }
  return std::string::npos;
}

bool ContieneCI(std::string_view texto, std::string_view buscado) {
  return BuscarCI(texto, buscado) != std::string::npos;
}

double ValorNumerico(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  std::string num;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) num += s[i++];
  bool punto = false;
  bool digitos = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      num += c;
      digitos = true;
    } else if (c == '.' && !punto) {
      num += c;
      punto = true;
    } else {
      break;
    }
  }
  if (!digitos) return 0;
  return std::strtod(num.c_str(), nullptr);
}

std::string NumeroATexto(double n) {
  if (std::floor(n) == n && std::fabs(n) < 1e15) {
    return std::to_string(static_cast<long long>(n));
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", n);
  return buf;
}

std::string NormalizarWhere(const std::string& where) {
  if (Trim(where).size() > 1 && !where.starts_with("(")) return " (" + where + ") ";
  return where;
}

std::string SentenciaMascara(const std::string& n, const std::string& campos,
                             const std::string& tabla, const std::string& filtro,
                             const std::string& campoBusqueda) {
  std::string s = "SELECT TOP " + n + " " + campos + " FROM " + tabla;
  s += campoBusqueda.empty() ? " with(nolock) " : "  with(nolock) ";
  if (!Trim(filtro).empty()) s += " WHERE ";
  s += filtro;
  if (!campoBusqueda.empty()) s += " ORDER BY " + campoBusqueda;
  return s;
}

std::string SentenciaAutomatica(const std::string& n, const std::string& campos,
                                const std::string& tabla, const std::string& where,
                                const std::string& campoBusqueda) {
  std::string s = "SELECT TOP " + n + " " + campos + " FROM " + tabla;
  if (!Trim(where).empty()) s += " WHERE ";
  s += " " + where;
  // Without a search column an ORDER BY with no column would make the statement fail.
  if (!campoBusqueda.empty()) s += " ORDER BY " + campoBusqueda;
  return s;
}

std::string Literal(std::string_view texto) {
  std::string r;
  r.reserve(texto.size());
  for (char c : texto) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

BusquedaF5 SentenciaF5Lista(const std::string& sql, const std::string& sqlActual,
                            const std::string& campo, std::string& texto, bool usaLike) {
  BusquedaF5 r;
  r.sqlActual = sqlActual;
  if (ContieneCI(sql, "order")) {
    std::size_t p = BuscarCI(sql, "order by");
    if (p != std::string::npos) {
      r.colaOrden = sql.substr(p);
      r.sqlActual = sql.substr(0, p);
    }
  }
  if (std::size_t p = BuscarCI(sql, "group by"); p != std::string::npos) {
    r.colaOrden = sql.substr(p);
    r.sqlActual = sql.substr(0, p);
  }
  std::string prefijo;
  if (ContieneCI(r.sqlActual, "stk_ma_articulos.")) prefijo = "stk_ma_articulos.";
  if (ContieneCI(r.sqlActual, "v_ma_articulos.")) prefijo = "v_ma_articulos.";
  std::string conector = ContieneCI(sql, "where") ? " and " : " where ";
  if (usaLike) {
    std::string patron = texto;
    for (auto& c : patron)
      if (c == ' ') c = '%';
    r.sql = r.sqlActual + conector + prefijo + campo + " like '%" + Literal(patron) + "%' " +
            r.colaOrden;
  } else {
    texto = ReemplazarTodo(texto, "*", "%");
    r.sql =
        r.sqlActual + conector + prefijo + campo + " like '" + Literal(texto) + "%' " + r.colaOrden;
  }
  r.sqlActual = r.sql;
  return r;
}

BusquedaF5 SentenciaF5Arbol(const std::string& sql, const std::string& texto) {
  BusquedaF5 r;
  std::string cabeza = sql;
  if (ContieneCI(sql, "order")) {
    std::size_t p = BuscarCI(sql, "order by");
    if (p != std::string::npos) {
      r.colaOrden = sql.substr(p);
      cabeza = sql.substr(0, p);
    }
  }
  std::string conector = ContieneCI(sql, "where") ? " and " : " where ";
  r.sql = cabeza + conector + "Descripcion" + " like '%" + Literal(texto) + "%' " + r.colaOrden;
  r.sqlActual = r.sql;
  return r;
}

std::string TablaDeSentencia(const std::string& sql) {
  std::size_t p = BuscarCI(sql, "from");
  if (p == std::string::npos) return "";
  std::size_t inicio = p + 4;
  // The blank that ends the name is searched from the second character after "from".
  std::size_t fin = sql.find(' ', inicio + 1);
  std::string t = fin == std::string::npos ? sql.substr(inicio) : sql.substr(inicio, fin - inicio);
  return Trim(t);
}

}  // namespace ferolin::consulta
