// The stored form of the list and the import file format.

#include <gtest/gtest.h>

#include "main_window/importacion.h"
#include "main_window/lista_ferolin.h"

namespace ferolin {

using namespace lista;
namespace {

TEST(ListaFerolin, CodigoDeClaveTomaDesdeElNovenoCaracterRecortado) {
  const std::vector<std::pair<std::string, std::string>> casos = {
      {"FEROLIN_1001 ", "1001"}, {"FEROLIN_  A B  ", "A B"}, {"FEROLIN_", ""},
      {"FEROLIN", ""},           {"XXXXXXXX77", "77"},       {"FEROLIN_Ñandú ", "Ñandú"},
  };
  for (const auto& [clave, codigo] : casos) EXPECT_EQ(CodigoDeClave(clave), codigo) << clave;
}

TEST(ListaFerolin, InsertDuplicaApostrofes) {
  EXPECT_EQ(
      SentenciaInsertarCuenta("1001", "Rev 2"),
      "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1001 ','Rev "
      "2')");
  EXPECT_EQ(
      SentenciaInsertarCuenta("O'B", "it's ''x'"),
      "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_O''B ','it''s "
      "''''x''')");
}

TEST(Importacion, SeparadorEsLaPrimeraComaLuegoPuntoYComaLuegoTab) {
  struct Caso {
    const char* linea;
    std::optional<LineaImportada> esperado;
  };
  const std::vector<Caso> casos = {
      {"1001,Rev 2", LineaImportada{"1001", "Rev 2"}},
      {"1001;Rev 2", LineaImportada{"1001", "Rev 2"}},
      {"1001\tRev 2", LineaImportada{"1001", "Rev 2"}},
      {"1001,a;b", LineaImportada{"1001", "a;b"}},
      {"1001;a,b", LineaImportada{"1001;a", "b"}},
      {"1001\ta;b", LineaImportada{"1001\ta", "b"}},
      {" 1001 , x ", LineaImportada{" 1001 ", " x "}},
      {",", LineaImportada{"", ""}},
      {"1001", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : casos) EXPECT_EQ(SepararLinea(c.linea), c.esperado) << c.linea;
}

TEST(Importacion, LineasTerminanEnCrLfCrOLfYSeDecodifican) {
  struct Caso {
    std::string bytes;
    std::vector<std::string> lineas;
  };
  const std::vector<Caso> casos = {
      {"a,1\r\nb,2\r\n", {"a,1", "b,2"}},
      {"a,1\rb,2", {"a,1", "b,2"}},
      {"a,1\nb,2\n", {"a,1", "b,2"}},
      {"a,1\r\n\r\nb,2", {"a,1", "", "b,2"}},
      {"", {}},
      // UTF-8 with a byte-order mark, plain UTF-8, and Windows-1252.
      {"\xEF\xBB\xBF"
       "1,Señal",
       {"1,Señal"}},
      {"1,Se\xC3\xB1"
       "al",
       {"1,Señal"}},
      {"1,Se\xF1"
       "al \x80",
       {"1,Señal €"}},
  };
  for (const auto& c : casos) EXPECT_EQ(LineasImportacion(c.bytes), c.lineas) << c.bytes;
}

}  // namespace
}  // namespace ferolin
