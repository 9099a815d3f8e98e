#include "outside/utilidades.h"

#include <gtest/gtest.h>

#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace ferolin::outside {
namespace {

class UtilidadesTest : public ::testing::Test {
 protected:
  testing::ScriptedPrompt prompt_;
  Utilidades u_{prompt_};
};

TEST_F(UtilidadesTest, CodificarRoundTripsAndStaysSafeInCommaAndIniFiles) {
  for (const std::string& text : std::vector<std::string>{
           "", "pelmora", "Korvant", "a,b", "\"quoted\"", "x|y", "line\r\nbreak\n", "  blanks  ",
           "ñandú €", "~41", "~", ";=[]", std::string("nul\0byte", 8), "\xFF\xFE invalid"}) {
    const std::string coded = u_.Codificar(text);
    EXPECT_EQ(u_.Decodificar(coded), text) << coded;
    EXPECT_EQ(coded.find_first_of(",\"|\r\n;="), std::string::npos) << coded;
    if (!coded.empty()) {
      EXPECT_NE(coded.front(), ' ');
      EXPECT_NE(coded.back(), ' ');
    }
    for (unsigned char c : coded) EXPECT_LT(c, 0x80) << coded;
  }
  EXPECT_EQ(u_.Codificar("pelmora"), u_.Codificar("pelmora"));
  EXPECT_NE(u_.Codificar("pelmora"), "pelmora");
}

TEST_F(UtilidadesTest, DecodificarLeavesPlainValuesAlone) {
  for (const std::string text : {"pelmora", "~", "~4", "~4G", "~zz", "41"}) {
    EXPECT_EQ(u_.Decodificar(text), text);
  }
}

struct NumberCase {
  const char* text;
  double value;
};

class TextoANumeroTable : public UtilidadesTest,
                          public ::testing::WithParamInterface<NumberCase> {};

TEST_P(TextoANumeroTable, ReadsTheNumberAtTheStart) {
  EXPECT_DOUBLE_EQ(u_.TextoANumero(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextoANumeroTable,
    ::testing::Values(NumberCase{"", 0}, NumberCase{"abc", 0}, NumberCase{"42", 42},
                      NumberCase{"  42  ", 42}, NumberCase{"1.5", 1.5}, NumberCase{"1,5", 1.5},
                      NumberCase{"-3,25", -3.25}, NumberCase{"+7", 7}, NumberCase{".5", 0.5},
                      NumberCase{"12abc", 12}, NumberCase{"12,5 %", 12.5},
                      NumberCase{"1.234,56", 1234.56}, NumberCase{"1,234.56", 1234.56},
                      NumberCase{"1.234.567", 1234567}, NumberCase{"1,234,567", 1234567},
                      NumberCase{"0.123456", 0.1235}, NumberCase{"16776960", 16776960},
                      NumberCase{"&HFFFF00", 16776960}, NumberCase{"100|200", 100},
                      NumberCase{"1.234,5,6", 1234.5}));

TEST_F(UtilidadesTest, TextoAIndiceGivesASixteenBitColumn) {
  EXPECT_EQ(u_.TextoAIndice("3"), 3);
  EXPECT_EQ(u_.TextoAIndice(" 12 "), 12);
  EXPECT_EQ(u_.TextoAIndice("x"), 0);
  EXPECT_EQ(u_.TextoAIndice("99999"), 32767);
}

TEST_F(UtilidadesTest, TextOperations) {
  EXPECT_EQ(u_.CortarTexto(std::string(300, 'x')), std::string(250, 'x'));
  EXPECT_EQ(u_.CortarTexto("corto"), "corto");
  EXPECT_EQ(u_.CortarTexto("ñañaña", 3), "ñañ");  // characters, not bytes

  EXPECT_EQ(u_.QuitarCaracter("a|b|c", U'|'), "abc");
  EXPECT_EQ(u_.QuitarCaracter(std::string("MA_\0CUENTASÿÿ", 15), U'\0', U'\u00FF'), "MA_CUENTAS");
  EXPECT_EQ(u_.QuitarCaracter("clave = valor", U'='), "clave  valor");
  EXPECT_EQ(u_.QuitarCaracter("año", U'ñ'), "ao");

  EXPECT_EQ(u_.Reemplazar("a|b|C", "|", ","), "a,b,C");
  EXPECT_EQ(u_.Reemplazar("A*b*", "*", "%"), "A%b%");
  EXPECT_EQ(u_.Reemplazar("Select X from x", "x", "y"), "Select y from y");
  EXPECT_EQ(u_.Reemplazar("sin cambios", "", "y"), "sin cambios");

  EXPECT_EQ(u_.ReemplazarNombre("select * from v_ma_articulos a join V_MA_ARTICULOS b",
                                "V_MA_ARTICULOS", "VT_MA_ARTICULOS"),
            "select * from VT_MA_ARTICULOS a join V_MA_ARTICULOS b");
  EXPECT_EQ(u_.ReemplazarNombre("select 1", "V_MA_ARTICULOS", "X"), "select 1");

  EXPECT_EQ(u_.ContarPalabras(""), 0);
  EXPECT_EQ(u_.ContarPalabras("LEN"), 1);
  EXPECT_EQ(u_.ContarPalabras("  LEN\t"), 1);
  EXPECT_EQ(u_.ContarPalabras("select a\r\nfrom\tb"), 4);

  EXPECT_EQ(u_.AjustarTexto("  A100  "), "A100");
  EXPECT_EQ(u_.AjustarTexto(" A100 ", 6), "A100  ");
  EXPECT_EQ(u_.AjustarTexto("ARTÍCULO-LARGO", 8), "ARTÍCULO");

  EXPECT_EQ(u_.CarpetaConBarra("/opt/ferolin"), "/opt/ferolin/");
  EXPECT_EQ(u_.CarpetaConBarra("/opt/ferolin/"), "/opt/ferolin/");
  EXPECT_EQ(u_.CarpetaConBarra("/opt/ferolin//"), "/opt/ferolin/");
  EXPECT_EQ(u_.CarpetaConBarra("C:\\Kv\\"), "C:\\Kv\\");
  EXPECT_EQ(u_.CarpetaConBarra("/"), "/");
  EXPECT_EQ(u_.CarpetaConBarra(""), "");
}

TEST_F(UtilidadesTest, ManejarErrorAsksRetryIgnoreAbortAndReturnsTheAnswer) {
  const ErrorInfo error{3709, "La conexión no se puede usar", "DB_Dll"};
  for (const int answer : {4, 5, 3}) {
    prompt_.Answer(answer);
    EXPECT_EQ(u_.ManejarError(error, "EditKeyCode"), answer);
  }
  ASSERT_EQ(prompt_.prompts().size(), 3u);
  const auto& p = prompt_.prompts().front();
  EXPECT_EQ(p.buttons, 2);
  EXPECT_EQ(p.icon, 16);
  EXPECT_EQ(p.title, "Aviso al Operador");
  for (const char* part : {"3709", "La conexión no se puede usar", "EditKeyCode", "DB_Dll"}) {
    EXPECT_NE(p.text.find(part), std::string::npos) << p.text;
  }

  prompt_.clear();
  prompt_.Answer(5);
  EXPECT_EQ(u_.ManejarError({53, "Archivo no encontrado", ""}, ""), 5);
  EXPECT_EQ(prompt_.prompts().front().text.find("Procedimiento"), std::string::npos);
}

TEST_F(UtilidadesTest, ValorCampoTurnsNullIntoEmptyText) {
  testing::TestDatabase database;
  db::Connection cn;
  cn.Open(database.connectionString());
  auto rs = cn.Execute("select NULL as a, 12 as b, 'texto' as c");
  ASSERT_TRUE(rs && !rs->Eof());
  EXPECT_EQ(u_.ValorCampo(rs->Fields("a")), "");
  EXPECT_EQ(u_.ValorCampo(rs->Fields("b")), "12");
  EXPECT_EQ(u_.ValorCampo(rs->Fields("c")), "texto");
}

}  // namespace
}  // namespace ferolin::outside
