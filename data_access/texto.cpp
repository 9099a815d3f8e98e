#include "data_access/texto.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace ferolin::texto {

namespace {

char Mayuscula(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IgualLetra(char x, char y) {
  return Mayuscula(x) == Mayuscula(y);
}

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string RecortarLos(std::string_view s, std::string_view cuales) {
  const auto desde = s.find_first_not_of(cuales);
  if (desde == npos) return {};
  return std::string(s.substr(desde, s.find_last_not_of(cuales) - desde + 1));
}

}  // namespace

std::string Mayusculas(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), Mayuscula);
  return s;
}

std::string MayusculasUnicode(std::string_view s) {
  return Q(s).toUpper().toStdString();
}

bool IgualSinCaso(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), IgualLetra);
}

bool IgualSinCasoUnicode(std::string_view a, std::string_view b) {
  return Q(a).compare(Q(b), Qt::CaseInsensitive) == 0;
}

std::size_t Buscar(std::string_view s, std::string_view que, std::size_t desde) {
  if (desde > s.size()) return npos;
  if (que.empty()) return desde;
  auto it = std::search(s.begin() + static_cast<std::ptrdiff_t>(desde), s.end(), que.begin(),
                        que.end(), IgualLetra);
  return it == s.end() ? npos : static_cast<std::size_t>(it - s.begin());
}

std::size_t BuscarUltimo(std::string_view s, std::string_view que) {
  std::size_t ultimo = npos;
  for (std::size_t p = Buscar(s, que); p != npos; p = Buscar(s, que, p + 1)) ultimo = p;
  return ultimo;
}

bool Contiene(std::string_view s, std::string_view que) {
  return Buscar(s, que) != npos;
}

bool EmpiezaCon(std::string_view s, std::string_view que) {
  return s.size() >= que.size() && IgualSinCaso(s.substr(0, que.size()), que);
}

std::string Reemplazar(std::string_view s, std::string_view que, std::string_view por) {
  if (que.empty()) return std::string(s);
  std::string r;
  std::size_t desde = 0;
  for (std::size_t p = Buscar(s, que); p != npos; p = Buscar(s, que, desde)) {
    r.append(s, desde, p - desde);
    r += por;
    desde = p + que.size();
  }
  r.append(s, desde, npos);
  return r;
}

std::string RecortarIzquierda(std::string_view s) {
  const auto p = s.find_first_not_of(' ');
  return p == npos ? std::string() : std::string(s.substr(p));
}

std::string RecortarDerecha(std::string_view s) {
  const auto p = s.find_last_not_of(' ');
  return p == npos ? std::string() : std::string(s.substr(0, p + 1));
}

std::string Recortar(std::string_view s) {
  return RecortarLos(s, " ");
}

std::string RecortarBlancosYTabulaciones(std::string_view s) {
  return RecortarLos(s, " \t");
}

std::string RecortarBlancosYSaltos(std::string_view s) {
  return RecortarLos(s, " \t\r\n");
}

std::string DoblarApostrofes(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

std::string QuitarApostrofes(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    if (c != '\'') r += c;
  }
  return r;
}

double ValorNumerico(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negativo = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativo = s[i++] == '-';
  std::string numero = negativo ? "-" : "";
  bool punto = false;
  bool digitos = false;
  bool enteroNoNulo = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      numero += c;
      digitos = true;
      if (!punto && c != '0') enteroNoNulo = true;
    } else if (c == '.' && !punto) {
      numero += c;
      punto = true;
    } else {
      break;
    }
  }
  if (!digitos) return 0;
  double n = 0;
  const auto [fin, ec] = std::from_chars(numero.data(), numero.data() + numero.size(), n);
  if (ec == std::errc::result_out_of_range) {
    // Without an exponent only a long whole part overflows; a tiny value is 0.
    n = enteroNoNulo ? std::numeric_limits<double>::infinity() : 0.0;
    if (negativo) n = -n;
  }
  return n;
}

std::optional<long long> Redondear(double d, long long minimo, long long maximo) {
  if (!std::isfinite(d)) return std::nullopt;
  const double r = std::nearbyint(d);  // default rounding mode: half to even
  if (r < static_cast<double>(minimo) || r > static_cast<double>(maximo)) return std::nullopt;
  return static_cast<long long>(r);
}

std::string NumeroComoTexto(double n, char separadorDecimal) {
  if (n == 0) n = 0.0;  // no "-0"
  char buf[400];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed);
  std::string r = ec == std::errc() ? std::string(buf, fin) : std::to_string(n);
  if (separadorDecimal != '.') std::replace(r.begin(), r.end(), '.', separadorDecimal);
  return r;
}

std::string NumeroEnQuinceCifras(double n) {
  if (std::floor(n) == n && std::fabs(n) < 1e15) {
    return std::to_string(static_cast<long long>(n));
  }
  // As printf's "%.15g" in the C locale, whatever locale the program runs in.
  char buf[64];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::general, 15);
  return ec == std::errc() ? std::string(buf, fin) : std::to_string(n);
}

std::size_t Largo(std::string_view s) {
  return static_cast<std::size_t>(Q(s).size());
}

std::string Primeros(std::string_view s, std::size_t n) {
  const QString q = Q(s);
  if (static_cast<std::size_t>(q.size()) <= n) return std::string(s);
  return q.left(static_cast<qsizetype>(n)).toStdString();
}

}  // namespace ferolin::texto
