#include "data_access/texto.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ferolin::texto {

namespace {
char Mayuscula(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string Mayusculas(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), Mayuscula);
  return s;
}

bool IgualSinCaso(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Mayuscula(x) == Mayuscula(y);
         });
}

std::size_t Buscar(const std::string& s, const std::string& que, std::size_t desde) {
  if (que.empty() || desde > s.size()) return npos;
  auto it = std::search(s.begin() + static_cast<std::ptrdiff_t>(desde), s.end(), que.begin(),
                        que.end(), [](char x, char y) { return Mayuscula(x) == Mayuscula(y); });
  return it == s.end() ? npos : static_cast<std::size_t>(it - s.begin());
}

std::size_t BuscarUltimo(const std::string& s, const std::string& que) {
  std::size_t ultimo = npos;
  for (std::size_t p = Buscar(s, que); p != npos; p = Buscar(s, que, p + 1)) ultimo = p;
  return ultimo;
}

bool Contiene(const std::string& s, const std::string& que) {
  return Buscar(s, que) != npos;
}

bool EmpiezaCon(const std::string& s, const std::string& que) {
  return s.size() >= que.size() && IgualSinCaso(s.substr(0, que.size()), que);
}

std::string Reemplazar(const std::string& s, const std::string& que, const std::string& por) {
  if (que.empty()) return s;
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

std::string RecortarIzquierda(const std::string& s) {
  const auto p = s.find_first_not_of(' ');
  return p == npos ? std::string() : s.substr(p);
}

std::string RecortarDerecha(const std::string& s) {
  const auto p = s.find_last_not_of(' ');
  return p == npos ? std::string() : s.substr(0, p + 1);
}

std::string Recortar(const std::string& s) {
  return RecortarDerecha(RecortarIzquierda(s));
}

std::string DoblarApostrofes(const std::string& s) {
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
  std::string numero;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) numero += s[i++];
  bool punto = false;
  bool digitos = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      numero += c;
      digitos = true;
    } else if (c == '.' && !punto) {
      numero += c;
      punto = true;
    } else {
      break;
    }
  }
  if (!digitos) return 0;
  if (numero.front() == '+') numero.erase(0, 1);
  double n = 0;
  std::from_chars(numero.data(), numero.data() + numero.size(), n);
  return n;
}

std::string NumeroComoTexto(double n, char separadorDecimal) {
  if (n == 0) n = 0.0;  // no "-0"
  char buf[400];
  auto [fin, ec] = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed);
  std::string r = ec == std::errc() ? std::string(buf, fin) : std::to_string(n);
  if (separadorDecimal != '.') std::replace(r.begin(), r.end(), '.', separadorDecimal);
  return r;
}

}  // namespace ferolin::texto
