#include "startup/cadena.h"

#include <QString>
#include <cctype>
#include <cmath>

namespace ferolin::cadena {

std::string Recortar(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string Mayusculas(const std::string& s) {
  return QString::fromStdString(s).toUpper().toStdString();
}

bool Iguales(const std::string& a, const std::string& b) {
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

bool Contiene(const std::string& texto, const std::string& buscado) {
  return Buscar(texto, buscado) != std::string::npos;
}

std::size_t Buscar(const std::string& texto, const std::string& buscado, std::size_t desde) {
  // ASCII folding keeps byte positions; the keys searched for are ASCII.
  auto plegar = [](std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  return plegar(texto).find(plegar(buscado), desde);
}

std::string Comillas(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    r += c;
    if (c == '\'') r += '\'';
  }
  return r;
}

double ValorNumerico(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  double signo = 1;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') signo = -1;
    ++i;
  }
  double valor = 0;
  bool hay = false;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
    valor = valor * 10 + (s[i] - '0');
    hay = true;
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    double escala = 0.1;
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      valor += (s[i] - '0') * escala;
      escala /= 10;
      hay = true;
      ++i;
    }
  }
  return hay ? signo * valor : 0;
}

std::optional<long long> Redondear(double d, long long minimo, long long maximo) {
  if (!std::isfinite(d)) return std::nullopt;
  const double r = std::nearbyint(d);  // default rounding mode: half to even
  if (r < static_cast<double>(minimo) || r > static_cast<double>(maximo)) return std::nullopt;
  return static_cast<long long>(r);
}

std::string Primeros(const std::string& s, std::size_t n) {
  const QString q = QString::fromStdString(s);
  if (static_cast<std::size_t>(q.size()) <= n) return s;
  return q.left(static_cast<qsizetype>(n)).toStdString();
}

std::size_t Largo(const std::string& s) {
  return static_cast<std::size_t>(QString::fromStdString(s).size());
}

}  // namespace ferolin::cadena
