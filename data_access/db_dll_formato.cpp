// DB_Dll: SQL literals, field type tests and table/file name operations.

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <stdexcept>

#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

// A type code given as any value: numbers as they are, a text only when it
// reads whole as a number.
std::optional<double> Codigo(const db::Value& v) {
  if (v.IsNumber()) return v.ToNumber();
  if (v.kind() != db::Value::Kind::Text) return std::nullopt;
  const std::string t = texto::Recortar(v.ToText());
  double n = 0;
  const char* fin = t.data() + t.size();
  auto [p, ec] = std::from_chars(t.data(), fin, n);
  if (t.empty() || ec != std::errc() || p != fin) return std::nullopt;
  return n;
}

bool EsUno(const db::Value& v, std::initializer_list<int> codigos) {
  const auto c = Codigo(v);
  return c && std::find(codigos.begin(), codigos.end(), *c) != codigos.end();
}

}  // namespace

bool DB_Dll::adodate(const db::Value& Qtype) {
  return EsUno(Qtype, {7, 133, 134, 135, 137, 64});
}

bool DB_Dll::ADOText(const db::Value& Qtype) {
  return EsUno(Qtype, {8, 129, 130, 200, 201, 202, 203});
}

bool DB_Dll::ADONumeric(const db::Value& Qtype) {
  return EsUno(Qtype, {2, 3, 4, 5, 14, 16, 17, 18, 19, 20, 21, 131});
}

bool DB_Dll::ADOCurrency(const db::Value& Qtype) {
  return EsUno(Qtype, {6});
}

bool DB_Dll::ADOBoolean(const db::Value& Qtype) {
  return EsUno(Qtype, {11});
}

std::string DB_Dll::ADOComilla(const db::Value& Qtype) {
  return adodate(Qtype) || ADOText(Qtype) ? "'" : "";
}

std::string DB_Dll::NumeroRegional(double n) {
  const std::string separador = contexto_.tarvex.teclado().SeparadorDecimal();
  return texto::NumeroComoTexto(n, separador.empty() ? '.' : separador.front());
}

std::string DB_Dll::ClaveNumerica(const std::string& valor) {
  return texto::Recortar(NumeroRegional(texto::ValorNumerico(valor)));
}

std::string DB_Dll::SQLValue(const db::Value& Valor, const std::string& Tipo) {
  std::string comilla;
  std::string valor = Valor.ToText();
  if (Tipo == "@") {
    // A null reads as 0 here: the number has no quotes to lose.
    valor = utilidades_.Reemplazar(NumeroRegional(utilidades_.TextoANumero(valor)), ",", ".");
  } else if (Tipo == "'") {
    comilla = "'";
  }
  if (Valor.IsNull() && Tipo != "@") {
    valor = "NULL";
    comilla.clear();
  }
  return comilla + valor + comilla;
}

std::string DB_Dll::AddBrackets(const std::string& rObjName) {
  if (rObjName.find(' ') != std::string::npos && !texto::EmpiezaCon(rObjName, "[")) {
    return "[" + rObjName + "]";
  }
  return rObjName;
}

std::string DB_Dll::StripBrackets(const std::string& rsObjName) {
  if (!texto::EmpiezaCon(rsObjName, "[")) return rsObjName;
  if (rsObjName.size() < 2) throw std::invalid_argument("nombre sin cierre: " + rsObjName);
  return rsObjName.substr(1, rsObjName.size() - 2);
}

std::string DB_Dll::StripOwner(const std::string& rsTblName) {
  const auto p = rsTblName.find('.');
  return p == std::string::npos ? rsTblName : rsTblName.substr(p + 1);
}

std::string DB_Dll::StripConnect(const std::string& rsTblName) {
  const auto p = rsTblName.find("->");
  if (p == std::string::npos) return rsTblName;
  if (p == 0) throw std::invalid_argument("nombre que empieza con \"->\": " + rsTblName);
  return rsTblName.substr(0, p - 1);
}

std::string DB_Dll::StripFileName(const std::string& rsFileName) {
  // Either separator: the suite's paths use "\", this platform's "/".
  const auto p = rsFileName.find_last_of("\\/");
  return p == std::string::npos ? std::string() : rsFileName.substr(0, p);
}

std::string DB_Dll::stSTF(const std::string& rsName, std::int16_t rnPart) {
  const auto puntos = std::count(rsName.begin(), rsName.end(), '.');
  if (puntos >= 2) return StripOwner(rsName);
  const auto p = rsName.find('.');
  if (rnPart != 0) return p == std::string::npos ? rsName : rsName.substr(p + 1);
  if (p == std::string::npos) throw std::invalid_argument("nombre sin \".\": " + rsName);
  return rsName.substr(0, p);
}

}  // namespace ferolin
