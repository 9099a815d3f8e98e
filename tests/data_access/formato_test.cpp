// SQL literals, type tests, name operations and the statement builder.

#include <gtest/gtest.h>

#include <stdexcept>

#include "data_access/sentencias.h"
#include "tests/data_access/apoyo.h"

namespace ferolin::testing {
namespace {

using db::Value;

struct CasoLiteral {
  Value valor;
  std::string tipo;
  std::string esperado;
};

TEST(SQLValue, EscribeLiteralesSegunTipo) {
  Entorno e;
  const CasoLiteral casos[] = {
      {Value::Text("abc"), "'", "'abc'"},
      {Value(), "'", "NULL"},
      {Value(), "#", "NULL"},
      {Value::Text("abc"), "#", "abc"},
      {Value::Text("12,5"), "@", "12.5"},
      {Value::Text("12.5"), "@", "12.5"},
      {Value::Text("-3"), "@", "-3"},
      {Value(), "@", "0"},
      {Value::Integer(7), "'", "'7'"},
      {Value::Text("O'Brien"), "'", "'O'Brien'"},  // the formatter does not escape
  };
  for (const auto& c : casos) {
    EXPECT_EQ(e.ctx.gDB().SQLValue(c.valor, c.tipo), c.esperado) << c.valor.ToText() << c.tipo;
  }
}

TEST(TiposADO, ClasificanCodigosComoNumero) {
  struct Caso {
    Value codigo;
    bool fecha, textoADO, numerico, moneda, booleano;
    const char* comilla;
  } casos[] = {
      {Value::Integer(7), true, false, false, false, false, "'"},
      {Value::Integer(135), true, false, false, false, false, "'"},
      {Value::Text("64"), true, false, false, false, false, "'"},
      {Value::Integer(8), false, true, false, false, false, "'"},
      {Value::Text(" 202 "), false, true, false, false, false, "'"},
      {Value::Integer(131), false, false, true, false, false, ""},
      {Value::Real(20), false, false, true, false, false, ""},
      {Value::Integer(6), false, false, false, true, false, ""},
      {Value::Integer(11), false, false, false, false, true, ""},
      {Value::Text("abc"), false, false, false, false, false, ""},
      {Value(), false, false, false, false, false, ""},
      {Value::Integer(999), false, false, false, false, false, ""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo.ToText());
    EXPECT_EQ(DB_Dll::adodate(c.codigo), c.fecha);
    EXPECT_EQ(DB_Dll::ADOText(c.codigo), c.textoADO);
    EXPECT_EQ(DB_Dll::ADONumeric(c.codigo), c.numerico);
    EXPECT_EQ(DB_Dll::ADOCurrency(c.codigo), c.moneda);
    EXPECT_EQ(DB_Dll::ADOBoolean(c.codigo), c.booleano);
    EXPECT_EQ(DB_Dll::ADOComilla(c.codigo), c.comilla);
  }
}

TEST(Nombres, SeSeparanYSeEncierran) {
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  EXPECT_EQ(db.AddBrackets("MI TABLA"), "[MI TABLA]");
  EXPECT_EQ(db.AddBrackets("[MI TABLA]"), "[MI TABLA]");
  EXPECT_EQ(db.AddBrackets("TABLA"), "TABLA");
  EXPECT_EQ(db.StripBrackets("[MI TABLA]"), "MI TABLA");
  EXPECT_EQ(db.StripBrackets("[MI TABLA"), "MI TABL");
  EXPECT_EQ(db.StripBrackets("TABLA"), "TABLA");
  EXPECT_EQ(db.StripOwner("dbo.MA_CUENTAS"), "MA_CUENTAS");
  EXPECT_EQ(db.StripOwner("srv.dbo.T"), "dbo.T");
  EXPECT_EQ(db.StripOwner("T"), "T");
  EXPECT_EQ(db.StripConnect("MA_CUENTAS -> ODBC"), "MA_CUENTAS");
  EXPECT_EQ(db.StripConnect("T"), "T");
  EXPECT_EQ(db.StripFileName("C:\\datos\\base.mdb"), "C:\\datos");
  EXPECT_EQ(db.StripFileName("C:\\datos\\"), "C:\\datos");
  EXPECT_EQ(db.StripFileName("/home/op/base.db"), "/home/op");
  EXPECT_EQ(db.StripFileName("base.mdb"), "");
  EXPECT_EQ(db.stSTF("dbo.T", 1), "T");
  EXPECT_EQ(db.stSTF("dbo.T", 0), "dbo");
  EXPECT_EQ(db.stSTF("T", 1), "T");
  EXPECT_EQ(db.stSTF("a.b.c", 0), "b.c");
  // Texts these operations cannot take apart fail to the caller, never crash.
  EXPECT_THROW(db.stSTF("T", 0), std::invalid_argument);
  EXPECT_THROW(db.StripConnect("->X"), std::invalid_argument);
  EXPECT_THROW(db.StripBrackets("["), std::invalid_argument);
}

TEST(ArmarSentencia, InsertYUpdateDesdeParesDeCampos) {
  Entorno e;
  CamposValores campos;
  std::vector<std::string> sentencias;
  std::string a = "x";
  std::string b = "1";
  AgregarCampo(e.ctx, campos, "A", a, "'", true);
  AgregarCampo(e.ctx, campos, "B", b, "#", false);
  std::string sinCondicion;
  ArmarSentencia(campos, sentencias, "T", false, sinCondicion, true);
  std::string where = "ID = 5";
  ArmarSentencia(campos, sentencias, "T", true, where, false);
  std::string conWhere = "where ID = 6";
  std::string c = "y";
  AgregarCampo(e.ctx, campos, "C", c, "'", true);
  ArmarSentencia(campos, sentencias, "T", true, conWhere, false);
  const std::vector<std::string> esperadas = {"INSERT INTO T (A,B) VALUES ('x',1)",       "",
                                              "UPDATE T SET A = 'x',B = 1  WHERE ID = 5", "",
                                              "UPDATE T SET C = 'y' where ID = 6",        ""};
  EXPECT_EQ(sentencias, esperadas);
  EXPECT_EQ(where, " WHERE ID = 5");
  EXPECT_EQ(conWhere, "where ID = 6");
  ASSERT_EQ(campos.size(), 1u);  // started anew: one empty pair
  EXPECT_EQ(campos[0].campo, "");
}

TEST(AgregarCampo, QuitaApostrofesYEscribeNull) {
  Entorno e;
  struct Caso {
    std::string valor, guardado, queda;
  } casos[] = {
      {"O'Brien", "'OBrien'", "OBrien"}, {"null", "Null", "null"}, {"NuLL", "Null", "NuLL"},
      {"'NULL'", "Null", "NULL"},        {"", "''", ""},
  };
  for (auto& c : casos) {
    CamposValores campos;
    std::string valor = c.valor;
    AgregarCampo(e.ctx, campos, "NOMBRE", valor, "'", true);
    ASSERT_EQ(campos.size(), 1u);
    EXPECT_EQ(campos[0].valor, c.guardado) << c.valor;
    EXPECT_EQ(valor, c.queda) << c.valor;
  }
}

}  // namespace
}  // namespace ferolin::testing
