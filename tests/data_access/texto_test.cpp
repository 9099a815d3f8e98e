// The shared text helpers: each variant keeps the rule its callers depend on.

#include "data_access/texto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ferolin::texto {
namespace {

TEST(Texto, CadaRecorteQuitaSoloSusBlancos) {
  struct Caso {
    std::string entrada, blancos, conTabulaciones, conSaltos;
  };
  const Caso casos[] = {
      {"  a b  ", "a b", "a b", "a b"},
      {"\t a \t", "\t a \t", "a", "a"},
      {"\r\n a\t\r\n", "\r\n a\t\r\n", "\r\n a\t\r\n", "a"},
      {"   ", "", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(Recortar(c.entrada), c.blancos) << c.entrada;
    EXPECT_EQ(RecortarBlancosYTabulaciones(c.entrada), c.conTabulaciones) << c.entrada;
    EXPECT_EQ(RecortarBlancosYSaltos(c.entrada), c.conSaltos) << c.entrada;
  }
  EXPECT_EQ(RecortarIzquierda("  a  "), "a  ");
  EXPECT_EQ(RecortarDerecha("  a  "), "  a");
}

TEST(Texto, MayusculasAsciiYUnicode) {
  EXPECT_EQ(Mayusculas("peña sa"), "PEñA SA");  // the other bytes stay as they are
  EXPECT_EQ(MayusculasUnicode("peña sa"), "PEÑA SA");
  EXPECT_TRUE(IgualSinCaso("Quadrel.ini", "QUADREL.INI"));
  EXPECT_FALSE(IgualSinCaso("peña", "PEÑA"));
  EXPECT_TRUE(IgualSinCasoUnicode("peña", "PEÑA"));
  EXPECT_FALSE(IgualSinCasoUnicode("pena", "PEÑA"));
}

TEST(Texto, BusquedasSinCaso) {
  const std::string sql = "select a FROM t order by a";
  EXPECT_EQ(Buscar(sql, "from"), 9u);
  EXPECT_EQ(Buscar(sql, "A", 8), 25u);
  EXPECT_EQ(BuscarUltimo(sql, " a"), 24u);
  EXPECT_EQ(Buscar(sql, "where"), npos);
  // An empty text is found where the search starts, as std::string::find does.
  EXPECT_EQ(Buscar(sql, "", 3), 3u);
  EXPECT_EQ(Buscar(sql, "", sql.size() + 1), npos);
  EXPECT_TRUE(Contiene("abc", ""));
  EXPECT_TRUE(EmpiezaCon(sql, "SELECT"));
  EXPECT_FALSE(EmpiezaCon("sel", "SELECT"));
  EXPECT_EQ(Reemplazar("Top 5 TOP", "top", "x"), "x 5 x");
  EXPECT_EQ(Reemplazar("a*b*", "*", "%"), "a%b%");
  EXPECT_EQ(Reemplazar("aa", "a", "aa"), "aaaa");
}

TEST(Texto, Apostrofes) {
  EXPECT_EQ(DoblarApostrofes("O'Brien''"), "O''Brien''''");
  EXPECT_EQ(QuitarApostrofes("O'Brien''"), "OBrien");
}

TEST(Texto, ValorNumericoExactoYSinDesbordarEnCero) {
  const std::pair<std::string, double> casos[] = {
      {"0.3", 0.3},   {"\t-2.75 kg", -2.75},
      {"+.5", 0.5},   {"5.", 5},
      {"1.2.3", 1.2}, {"-", 0},
      {".", 0},       {"123456789012345678", 123456789012345678.0},
  };
  // Exact equality: the value must be the nearest double, not an approximation.
  for (const auto& [t, v] : casos) EXPECT_EQ(ValorNumerico(t), v) << t;
  const std::string enorme = "1" + std::string(400, '0');
  EXPECT_EQ(ValorNumerico(enorme), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ValorNumerico("-" + enorme), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ValorNumerico("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(Texto, Redondear) {
  EXPECT_EQ(Redondear(2.5, -10, 10), 2);
  EXPECT_EQ(Redondear(3.5, -10, 10), 4);
  EXPECT_EQ(Redondear(-2.5, -10, 10), -2);
  EXPECT_EQ(Redondear(10.4, -10, 10), 10);
  EXPECT_EQ(Redondear(10.6, -10, 10), std::nullopt);
  EXPECT_EQ(Redondear(std::numeric_limits<double>::infinity(), -10, 10), std::nullopt);
  EXPECT_EQ(Redondear(std::nan(""), -10, 10), std::nullopt);
}

TEST(Texto, NumerosComoTexto) {
  const std::pair<double, std::string> quince[] = {
      {5, "5"},
      {-3, "-3"},
      {100.5, "100.5"},
      {0.1 + 0.2, "0.3"},
      {0.00001, "1e-05"},
      {1e15, "1e+15"},
      {1234567890123456.7, "1.23456789012346e+15"},
  };
  for (const auto& [n, t] : quince) EXPECT_EQ(NumeroEnQuinceCifras(n), t) << t;
  EXPECT_EQ(NumeroComoTexto(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(NumeroComoTexto(-1.5, ','), "-1,5");
  EXPECT_EQ(NumeroComoTexto(-0.0), "0");
}

TEST(Texto, LargoYPrimerosEnUnidadesUtf16) {
  EXPECT_EQ(Largo("año"), 3u);
  EXPECT_EQ(Largo("\xF0\x9F\x98\x80"
                  "a"),
            3u);  // a character outside the BMP counts twice
  EXPECT_EQ(Primeros("año", 2), "añ");
  EXPECT_EQ(Primeros("año", 5), "año");
}

}  // namespace
}  // namespace ferolin::texto
