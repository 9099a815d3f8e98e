#include "outside/utilidades.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/ui/operator_prompt.h"

namespace ferolin::outside {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Byte length of the UTF-8 character starting with lead byte c (1 for a stray byte).
std::size_t CharLength(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
  if (c >= 0xC2) return 2;
  return 1;
}

// Splits text into its characters (each a UTF-8 sequence) and their code points.
struct Char {
  std::size_t pos, len;
  char32_t code;
};

std::vector<Char> Chars(const std::string& s) {
  std::vector<Char> out;
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = CharLength(lead);
    if (i + n > s.size()) n = 1;
    char32_t code = lead;
    if (n > 1) {
      code = lead & (0xFF >> (n + 1));
      for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
          n = 1;
          code = lead;
          break;
        }
        code = (code << 6) | (c & 0x3F);
      }
    }
    out.push_back({i, n, code});
    i += n;
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

constexpr char kCodeMark = '~';

}  // namespace

Utilidades::Utilidades(ui::OperatorPrompt& prompt) : prompt_(prompt) {}

std::string Utilidades::CortarTexto(const std::string& text, std::size_t maxLength) const {
  const auto chars = Chars(text);
  if (chars.size() <= maxLength) return text;
  return text.substr(0, chars[maxLength].pos);
}

double Utilidades::TextoANumero(const std::string& text) const {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
    while (i < text.size() && text[i] == ' ') ++i;
  }
  // "&H" hexadecimal, as colours are sometimes written.
  if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
    double value = 0;
    for (i += 2; i < text.size() && HexDigit(text[i]) >= 0; ++i)
      value = value * 16 + HexDigit(text[i]);
    return negative ? -value : value;
  }
  // The number: digits with "." and ",". When both appear the last one is the
  // decimal separator and the other groups thousands; a separator that appears
  // more than once alone groups thousands; a single one is the decimal point.
  const std::size_t start = i;
  std::size_t dots = 0, commas = 0, lastDot = std::string::npos, lastComma = std::string::npos;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      ++dots;
      lastDot = i;
    } else if (c == ',') {
      ++commas;
      lastComma = i;
    } else if (c < '0' || c > '9') {
      break;
    }
  }
  const std::size_t end = i;
  std::size_t decimalAt = std::string::npos;
  if (dots > 0 && commas > 0) {
    decimalAt = std::max(lastDot, lastComma);
    const char decimal = text[decimalAt];
    // A decimal separator that also appears before as a group one: the number
    // ends there ("1.234,5,6" reads 1234.5).
    const std::size_t first = text.find(decimal, start);
    if (first != decimalAt) decimalAt = first;
  } else if (dots == 1) {
    decimalAt = lastDot;
  } else if (commas == 1) {
    decimalAt = lastComma;
  }
  std::string digits;
  std::string decimals;
  for (std::size_t k = start; k < end; ++k) {
    const char c = text[k];
    if (k == decimalAt) {
      for (++k; k < end && text[k] >= '0' && text[k] <= '9'; ++k) decimals += text[k];
      break;
    }
    if (c >= '0' && c <= '9') digits += c;
  }
  if (digits.empty() && decimals.empty()) return 0;
  const double value = std::stod((digits.empty() ? "0" : digits) + "." + decimals + "0");
  // Currency keeps four decimals.
  const double rounded = std::round(value * 10000.0) / 10000.0;
  return negative ? -rounded : rounded;
}

std::int16_t Utilidades::TextoAIndice(const std::string& position) const {
  const double v = std::round(TextoANumero(position));
  if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
  if (v < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
  return static_cast<std::int16_t>(v);
}

std::string Utilidades::ValorCampo(const db::Field& field) const {
  return field.IsNull() ? std::string() : field.Text();
}

std::string Utilidades::QuitarCaracter(const std::string& text, char32_t c1,
                                       std::optional<char32_t> c2) const {
  std::string out;
  out.reserve(text.size());
  for (const Char& ch : Chars(text)) {
    if (ch.code == c1 || (c2 && ch.code == *c2)) continue;
    out.append(text, ch.pos, ch.len);
  }
  return out;
}

std::string Utilidades::Reemplazar(const std::string& text, const std::string& search,
                                   const std::string& replacement) const {
  if (search.empty()) return text;
  QString s = QString::fromStdString(text);
  s.replace(QString::fromStdString(search), QString::fromStdString(replacement),
            Qt::CaseInsensitive);
  return s.toStdString();
}

std::string Utilidades::ReemplazarNombre(const std::string& statement, const std::string& name,
                                         const std::string& otherName) const {
  if (name.empty()) return statement;
  QString s = QString::fromStdString(statement);
  const QString n = QString::fromStdString(name);
  const auto at = s.indexOf(n, 0, Qt::CaseInsensitive);
  if (at < 0) return statement;
  s.replace(at, n.size(), QString::fromStdString(otherName));
  return s.toStdString();
}

std::int32_t Utilidades::ContarPalabras(const std::string& text) const {
  std::int32_t count = 0;
  bool inWord = false;
  for (char c : text) {
    if (IsBlank(c)) {
      inWord = false;
    } else if (!inWord) {
      inWord = true;
      ++count;
    }
  }
  return count;
}

std::string Utilidades::AjustarTexto(const std::string& text, int width) const {
  std::string t = Trim(text);
  if (width <= 0) return t;
  const auto n = static_cast<std::size_t>(width);
  const auto chars = Chars(t);
  if (chars.size() > n) return t.substr(0, chars[n].pos);
  t.append(n - chars.size(), ' ');
  return t;
}

int Utilidades::ManejarError(const ErrorInfo& error, const std::string& procedure) {
  std::string text =
      "Se produjo el error " + std::to_string(error.number) + ": " + Trim(error.description);
  if (!Trim(procedure).empty()) text += "\rProcedimiento: " + Trim(procedure);
  if (!Trim(error.source).empty()) text += "\rOrigen: " + Trim(error.source);
  return prompt_.Message(text, ui::buttons::kAbortRetryIgnore + ui::icon::kCritical,
                         "Aviso al Operador");
}

std::string Utilidades::Codificar(const std::string& text) const {
  if (text.empty()) return text;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(1, kCodeMark);
  out.reserve(1 + 2 * text.size());
  for (unsigned char c : text) {
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
  }
  return out;
}

std::string Utilidades::Decodificar(const std::string& text) const {
  if (text.size() < 3 || text[0] != kCodeMark || (text.size() - 1) % 2 != 0) return text;
  std::string out;
  out.reserve((text.size() - 1) / 2);
  for (std::size_t i = 1; i < text.size(); i += 2) {
    const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
    if (hi < 0 || lo < 0) return text;
    out += static_cast<char>(hi * 16 + lo);
  }
  return out;
}

std::string Utilidades::CarpetaConBarra(const std::string& folder) const {
  if (folder.empty()) return folder;
  std::size_t end = folder.size();
  bool slash = false;
  while (end > 0 && (folder[end - 1] == '/' || folder[end - 1] == '\\')) {
    slash = slash || folder[end - 1] == '/';
    --end;
  }
  const bool hadSeparator = end < folder.size();
  return folder.substr(0, end) + (hadSeparator && !slash ? "\\" : "/");
}

}  // namespace ferolin::outside
