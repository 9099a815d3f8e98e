// Statement texts the lookup windows build for a new database search.

#include "lookup/sentencias.h"
#include "data_access/texto.h"

#include <gtest/gtest.h>

namespace ferolin::consulta {
namespace {

TEST(Sentencias, NormalizarWhere) {
  const std::pair<std::string, std::string> casos[] = {
      {"IVA = 1", " (IVA = 1) "}, {"(IVA = 1)", "(IVA = 1)"}, {"X", "X"}, {"", ""}, {"  ", "  "},
  };
  for (const auto& [entrada, esperado] : casos)
    EXPECT_EQ(NormalizarWhere(entrada), esperado) << entrada;
}

struct CasoF5 {
  std::string sql;
  std::string campo;
  std::string texto;
  bool like;
  std::string esperado;
  std::string textoCaja;  // the box text written back
};

TEST(Sentencias, BusquedaF5DeLaLista) {
  const std::string base = "SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES ";
  const CasoF5 casos[] = {
      {base + "ORDER BY RAZON_SOCIAL ", "RAZON_SOCIAL", "gar", false,
       base + " where RAZON_SOCIAL like 'gar%' ORDER BY RAZON_SOCIAL ", "gar"},
      {base + " where RAZON_SOCIAL like 'gar%' ORDER BY RAZON_SOCIAL ", "CODIGO", "1", false,
       base + " where RAZON_SOCIAL like 'gar%'  and CODIGO like '1%' ORDER BY RAZON_SOCIAL ", "1"},
      {base, "RAZON_SOCIAL", "gar*ia", false, base + " where RAZON_SOCIAL like 'gar%ia%' ",
       "gar%ia"},
      {base, "RAZON_SOCIAL", "san jose", true, base + " where RAZON_SOCIAL like '%san%jose%' ",
       "san jose"},
      {base, "RAZON_SOCIAL", "O'Brien", false, base + " where RAZON_SOCIAL like 'O''Brien%' ",
       "O'Brien"},
      {base, "RAZON_SOCIAL", "O'Brien", true, base + " where RAZON_SOCIAL like '%O''Brien%' ",
       "O'Brien"},
      {"SELECT IVA, COUNT(*) FROM VT_CLIENTES GROUP BY IVA ORDER BY IVA", "IVA", "1", false,
       "SELECT IVA, COUNT(*) FROM VT_CLIENTES  where IVA like '1%' GROUP BY IVA ORDER BY IVA", "1"},
      {"SELECT v_ma_articulos.DESCRIPCION FROM v_ma_articulos WHERE v_ma_articulos.SUSPENDIDO = 0 ",
       "DESCRIPCION", "to", false,
       "SELECT v_ma_articulos.DESCRIPCION FROM v_ma_articulos WHERE v_ma_articulos.SUSPENDIDO = 0 "
       " and v_ma_articulos.DESCRIPCION like 'to%' ",
       "to"},
  };
  for (const auto& c : casos) {
    std::string texto = c.texto;
    auto r = SentenciaF5Lista(c.sql, c.sql, c.campo, texto, c.like);
    EXPECT_EQ(r.sql, c.esperado) << c.sql;
    EXPECT_EQ(r.sqlActual, c.esperado);
    EXPECT_EQ(texto, c.textoCaja);
  }
}

TEST(Sentencias, BusquedaF5DelArbol) {
  const std::pair<std::string, std::string> casos[] = {
      {"SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS ORDER BY CODIGO",
       "SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS  where Descripcion like '%caja%' ORDER BY "
       "CODIGO"},
      {"SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS WHERE TIPO = 'I'",
       "SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS WHERE TIPO = 'I' and Descripcion like "
       "'%caja%' "},
  };
  for (const auto& [sql, esperado] : casos) EXPECT_EQ(SentenciaF5Arbol(sql, "caja").sql, esperado);
  EXPECT_EQ(SentenciaF5Arbol("SELECT A FROM T", "d'a").sql,
            "SELECT A FROM T where Descripcion like '%d''a%' ");
}

TEST(Sentencias, TablaDeLaSentencia) {
  const std::pair<std::string, std::string> casos[] = {
      {"SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES WHERE IVA = '   1' ", "VT_CLIENTES"},
      {"select * from ma_cuentas ", "ma_cuentas"},
      {"SELECT TOP 10 A FROM  T2 ", ""},
      {"SELECT 1", ""},
  };
  for (const auto& [sql, tabla] : casos) EXPECT_EQ(TablaDeSentencia(sql), tabla) << sql;
}

TEST(Sentencias, ValorNumericoLeeElNumeroInicial) {
  const std::pair<std::string, double> casos[] = {{"50", 50},   {" 12abc", 12}, {"abc", 0}, {"", 0},
                                                  {"1.5", 1.5}, {"-3", -3},     {" ", 0}};
  for (const auto& [t, v] : casos) EXPECT_DOUBLE_EQ(texto::ValorNumerico(t), v) << t;
}

}  // namespace
}  // namespace ferolin::consulta
