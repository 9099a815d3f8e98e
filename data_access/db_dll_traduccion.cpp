// DB_Dll: the synonym translation and the Oracle dialect translation.

#include <array>
#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

using texto::Buscar;
using texto::Contiene;
using texto::npos;
using texto::Reemplazar;

// Where a confidential name is redirected: the characters around it.
constexpr std::array<std::pair<const char*, const char*>, 5> kFormas{
    {{" ", " "}, {"(", " "}, {" ", "."}, {"(", "."}, {",", "."}}};

std::string Redirigir(std::string sql, const std::string& nombre, const std::string& sinonimo) {
  for (const auto& [antes, despues] : kFormas) {
    sql = Reemplazar(sql, antes + nombre + despues, antes + sinonimo + despues);
  }
  return sql;
}

// Day/month/year with "/", the way the suite writes date literals; a two-digit
// year is taken as 1930-2029.
bool LeerFecha(const std::string& s, int& dia, int& mes, int& anio) {
  int d = 0, m = 0, a = 0, consumido = 0;
  if (std::sscanf(s.c_str(), "%2d/%2d/%4d%n", &d, &m, &a, &consumido) != 3) return false;
  if (static_cast<std::size_t>(consumido) != s.size()) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '/') return false;
  }
  const auto barra = s.rfind('/');
  const std::size_t digitosAnio = s.size() - barra - 1;
  if (digitosAnio != 2 && digitosAnio != 4) return false;
  if (digitosAnio == 2) a += a < 30 ? 2000 : 1900;
  static constexpr int kDias[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1 || d > kDias[m - 1]) return false;
  const bool bisiesto = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
  if (m == 2 && d == 29 && !bisiesto) return false;
  dia = d;
  mes = m;
  anio = a;
  return true;
}

std::string FechasOracle(const std::string& t) {
  std::string copia = t;
  std::size_t desde = 0;
  for (;;) {
    const auto abre = t.find('\'', desde);
    if (abre == npos) break;
    const auto cierra = t.find('\'', abre + 1);
    if (cierra == npos) throw std::invalid_argument("apóstrofo sin cerrar en: " + t);
    const std::string literal = t.substr(abre + 1, cierra - abre - 1);
    int d = 0, m = 0, a = 0;
    if (LeerFecha(literal, d, m, a)) {
      char fecha[40];
      std::snprintf(fecha, sizeof fecha, "%02d/%02d/%04d", d, m, a);
      copia = Reemplazar(copia, "'" + literal + "'",
                         std::string("TO_DATE('") + fecha + "','DD/MM/YYYY')");
    }
    desde = cierra + 1;
  }
  while (Contiene(copia, "TO_DATE(TO_DATE(")) {
    copia = Reemplazar(copia, "TO_DATE(TO_DATE(", "TO_DATE(");
    copia = Reemplazar(copia, "'DD/MM/YYYY'),'DD/MM/YYYY')", "'DD/MM/YYYY')");
  }
  return copia;
}

std::string TopOracle(const std::string& t) {
  const auto p = Buscar(t, "top");
  const std::string cabeza = t.substr(0, p);
  const std::string cola = texto::Recortar(t.substr(p + 3));
  const auto blanco = cola.find(' ');
  if (blanco == npos) throw std::invalid_argument("TOP sin cantidad separada en: " + t);
  const std::string cantidad = cola.substr(0, blanco);
  std::string resto = cola.substr(blanco + 1);
  std::string grupo;
  std::string orden;
  if (const auto g = Buscar(t, " GROUP BY "); g != npos) {
    grupo = t.substr(g);
  } else if (const auto o = Buscar(t, "ORDER BY "); o != npos) {
    orden = t.substr(o);
  }
  const std::string limite =
      (Contiene(t, " WHERE ") ? " AND ROWNUM <= " : " WHERE ROWNUM <= ") + cantidad;
  resto = Reemplazar(resto, texto::Recortar(grupo), " ");
  resto = Reemplazar(resto, texto::Recortar(orden), " ");
  return cabeza + " " + resto + " " + limite + " " + grupo + " " + orden;
}

std::string VaciosOracle(std::string t) {
  for (const char* vacio : {"= ''", "=''"}) {
    const auto p = Buscar(t, "WHERE ");
    if (p == npos) break;
    t = t.substr(0, p) + Reemplazar(t.substr(p), vacio, " IS NULL ");
  }
  return t;
}

std::string Estilo103(std::string t) {
  for (auto p = Buscar(t, "103"); p != npos; p = Buscar(t, "103", p + 3)) {
    const auto parentesis = t.rfind('(', p);
    if (parentesis != npos && parentesis >= 7 &&
        texto::IgualSinCaso(t.substr(parentesis - 7, 8), "TO_CHAR(")) {
      t.replace(p, 3, "'DD/MM/YYYY'");
    }
  }
  return t;
}

}  // namespace

std::string DB_Dll::SS_TSinonimos(const std::string& sql) {
  if (gEsAdmin) return Reemplazar(sql, "@Admin_", "");
  if (Contiene(sql, "MV_ASIENTOS") && !contexto_.confidencialidad) {
    return Reemplazar(sql, "@Admin_", "");
  }
  // Groups 2 and 4 are skipped only for other programs of the suite.
  std::string r = Redirigir(sql, "MA_CUENTAS", "SS_MA_CUENTAS");
  r = Reemplazar(r, "{MA_CUENTAS.", "{SS_MA_CUENTAS.");
  r = Reemplazar(r, "@Admin_MA_CUENTAS", "MA_CUENTAS");
  r = Redirigir(r, "V_TA_DEPOSITO", "SS_V_TA_DEPOSITO");
  r = Redirigir(r, "MV_ASIENTOS", "SS_MV_ASIENTOS");
  r = Redirigir(r, "V_TA_FAMILIAS", "SS_V_TA_FAMILIAS");
  r = Redirigir(r, "V_TA_CAJAS", "SS_V_TA_CAJAS");
  r = Redirigir(r, "AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO");
  r = Redirigir(r, "AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO");
  return Reemplazar(r, "@Admin_", "");
}

std::string DB_Dll::ORACLE_Dicc(const std::string& Valor) {
  if (!Contiene(gConnString, "ORACLE")) return Valor;
  if (utilidades_.ContarPalabras(Valor) < 2) {
    return texto::IgualSinCaso(Valor, "LEN") ? "LENGTH" : Valor;
  }
  std::string t = Valor;
  if (Contiene(t, "top ")) t = TopOracle(t);
  for (const char* len : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("}) {
    t = Reemplazar(t, len, " LENGTH(");
  }
  t = Reemplazar(Reemplazar(t, "[", "\""), "]", "\"");
  t = FechasOracle(t);
  t = Reemplazar(t, "Charindex", "InStr");
  t = Reemplazar(t, "CONVERT(NVARCHAR,", "TO_CHAR(");
  t = Reemplazar(t, "CONVERT(INT,", "TO_NUMBER(");
  t = VaciosOracle(t);
  t = Estilo103(t);
  t = Reemplazar(t, "SUBSTRING(", "SUBSTR(");
  return Reemplazar(t, "ISNULL(", "NVL(");
}

}  // namespace ferolin
