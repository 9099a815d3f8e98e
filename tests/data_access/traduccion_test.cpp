// Synonym translation and the Oracle dialect translations.

#include <gtest/gtest.h>

#include <stdexcept>

#include "data_access/traducir_oracle.h"
#include "tests/data_access/apoyo.h"

namespace ferolin::testing {
namespace {

constexpr const char* kOracle = "Provider=OraOLEDB.Oracle.1;Data Source=ORA;User Id=u;Password=p;";

struct CasoSinonimo {
  bool admin;
  bool confidencial;
  std::string sql;
  std::string esperado;
};

TEST(SS_TSinonimos, RedirigeSoloLasFormasListadas) {
  const CasoSinonimo casos[] = {
      {false, false, "SELECT * FROM MA_CUENTAS WHERE CODIGO = '1'",
       "SELECT * FROM SS_MA_CUENTAS WHERE CODIGO = '1'"},
      {false, false, "SELECT * FROM MA_CUENTAS", "SELECT * FROM MA_CUENTAS"},
      {false, false, "SELECT * FROM MA_CUENTAS\nWHERE X=1", "SELECT * FROM MA_CUENTAS\nWHERE X=1"},
      {false, false, "SELECT * FROM (ma_cuentas )", "SELECT * FROM (SS_MA_CUENTAS )"},
      {false, false, "SELECT MA_CUENTAS.CODIGO,(MA_CUENTAS.X),{MA_CUENTAS.Y} FROM MA_CUENTAS ",
       "SELECT SS_MA_CUENTAS.CODIGO,(SS_MA_CUENTAS.X),{SS_MA_CUENTAS.Y} FROM SS_MA_CUENTAS "},
      {false, false, "SELECT * FROM @Admin_MA_CUENTAS WHERE 1=1",
       "SELECT * FROM MA_CUENTAS WHERE 1=1"},
      {false, false, "SELECT * FROM @Admin_V_TA_CAJAS WHERE X = 1",
       "SELECT * FROM V_TA_CAJAS WHERE X = 1"},
      {true, true, "SELECT * FROM @Admin_V_TA_CAJAS WHERE X = 1",
       "SELECT * FROM V_TA_CAJAS WHERE X = 1"},
      {true, true, "SELECT * FROM MA_CUENTAS WHERE 1=1", "SELECT * FROM MA_CUENTAS WHERE 1=1"},
      {false, false, "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1",
       "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1"},
      {false, true, "SELECT * FROM MV_ASIENTOS , MA_CUENTAS WHERE 1=1",
       "SELECT * FROM SS_MV_ASIENTOS , SS_MA_CUENTAS WHERE 1=1"},
      {false, false,
       "SELECT * FROM V_TA_DEPOSITO  V_TA_FAMILIAS  V_TA_CAJAS  AC_CUENTASDIARIO  "
       "AC_CUENTASDIARIO_CCOSTO ",
       "SELECT * FROM SS_V_TA_DEPOSITO  SS_V_TA_FAMILIAS  SS_V_TA_CAJAS  SS_AC_CUENTASDIARIO  "
       "SS_AC_CUENTAS_DIARIO_CCOSTO "},
      {false, false, "SELECT X FROM T,MA_CUENTAS.Y", "SELECT X FROM T,SS_MA_CUENTAS.Y"},
  };
  for (const auto& c : casos) {
    Entorno e;
    e.ctx.gDB().gEsAdmin = c.admin;
    e.ctx.confidencialidad = c.confidencial;
    EXPECT_EQ(e.ctx.gDB().SS_TSinonimos(c.sql), c.esperado) << c.sql;
  }
}

TEST(ORACLE_Dicc, TraduceLosEjemplosAlCaracter) {
  const std::pair<std::string, std::string> casos[] = {
      {"SELECT TOP 5 CODIGO, NOMBRE FROM MA_CUENTAS WHERE CODIGO > 'A' ORDER BY CODIGO",
       "SELECT  CODIGO, NOMBRE FROM MA_CUENTAS WHERE CODIGO > 'A'    AND ROWNUM <= 5  ORDER BY "
       "CODIGO"},
      {"SELECT TOP 10 * FROM MV_ASIENTOS", "SELECT  * FROM MV_ASIENTOS  WHERE ROWNUM <= 10  "},
      {"SELECT TOP 3 CUENTA, SUM(IMPORTE) FROM MV_ASIENTOS WHERE EJERCICIO = 2019 GROUP BY "
       "CUENTA ORDER BY CUENTA",
       "SELECT  CUENTA, SUM(IMPORTE) FROM MV_ASIENTOS WHERE EJERCICIO = 2019    AND ROWNUM <= 3  "
       "GROUP BY CUENTA ORDER BY CUENTA "},
      {"SELECT CODIGO, ISNULL(NOMBRE,'') FROM MA_CUENTAS WHERE LEN(CODIGO) > 3 AND NOMBRE = '' "
       "AND FECHA >= '1/2/2019'",
       "SELECT CODIGO, NVL(NOMBRE,'') FROM MA_CUENTAS WHERE LENGTH(CODIGO) > 3 AND NOMBRE  IS "
       "NULL  AND FECHA >= TO_DATE('01/02/2019','DD/MM/YYYY')"},
      {"SELECT CONVERT(NVARCHAR,FECHA,103) AS F, SUBSTRING(CODIGO,1,2) FROM T WHERE "
       "Charindex('A',CODIGO) > 0",
       "SELECT TO_CHAR(FECHA,'DD/MM/YYYY') AS F, SUBSTR(CODIGO,1,2) FROM T WHERE InStr('A',CODIGO) "
       "> 0"},
      {"SELECT top 100 PERCENT a FROM t", "SELECT  PERCENT a FROM t  WHERE ROWNUM <= 100  "},
      {"SELECT [MI CAMPO] FROM T WHERE F = TO_DATE('01/02/2019','DD/MM/YYYY')",
       "SELECT \"MI CAMPO\" FROM T WHERE F = TO_DATE('01/02/2019','DD/MM/YYYY')"},
      {"SELECT CONVERT(VARCHAR,FECHA,103), CONVERT(INT,X) FROM T",
       "SELECT CONVERT(VARCHAR,FECHA,103), TO_NUMBER(X) FROM T"},
      {"SELECT A FROM T WHERE B=''", "SELECT A FROM T WHERE B IS NULL "},
      {"SELECT X FROM T WHERE LEN   (A) = 2 AND F = '31/12/19'",
       "SELECT X FROM T WHERE LENGTH(A) = 2 AND F = TO_DATE('31/12/2019','DD/MM/YYYY')"},
      {"SELECT X FROM T WHERE F = '31/02/2019'", "SELECT X FROM T WHERE F = '31/02/2019'"},
      {"len", "LENGTH"},
      {"LENX", "LENX"},
  };
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  db.gConnString = kOracle;
  for (const auto& [entrada, salida] : casos) EXPECT_EQ(db.ORACLE_Dicc(entrada), salida) << entrada;

  // Texts the translation cannot take apart fail to the caller.
  EXPECT_THROW(db.ORACLE_Dicc("SELECT X FROM T WHERE A = 'abc"), std::invalid_argument);
  EXPECT_THROW(db.ORACLE_Dicc("SELECT X FROM T ORDER BY top 5"), std::invalid_argument);

  // Not an Oracle connection: nothing changes.
  db.gConnString = "PROVIDER=SQLOLEDB;Server=S;Database =D;UId=u;Pwd=;";
  EXPECT_EQ(db.ORACLE_Dicc("SELECT TOP 5 * FROM T"), "SELECT TOP 5 * FROM T");
  EXPECT_EQ(db.ORACLE_Dicc("LEN"), "LEN");
}

TEST(TraducirOracle, SoloTopYLenSegunLaConexionPrincipal) {
  Entorno e;
  e.ctx.gDB().gConnString = kOracle;
  EXPECT_EQ(TraducirOracle(e.ctx, "Select TOP 1 * from Control_Acceso  with(nolock) "),
            "Select  *  from Control_Acceso  with(nolock)  WHERE ROWNUM <=  1 ");
  EXPECT_EQ(TraducirOracle(e.ctx, "LEN"), "LENGTH");
  EXPECT_EQ(TraducirOracle(e.ctx, "SELECT A FROM T WHERE LEN(A) = 1"),
            "SELECT A FROM T WHERE LEN(A) = 1");
  EXPECT_THROW(TraducirOracle(e.ctx, "SELECT TOP 1 A FROM T"), std::invalid_argument);
  e.ctx.gDB().gConnString = "PROVIDER=SQLOLEDB;Server=S;";
  EXPECT_EQ(TraducirOracle(e.ctx, "Select TOP 1 * from T"), "Select TOP 1 * from T");
  EXPECT_EQ(TraducirOracle(e.ctx, "LEN"), "LEN");
}

}  // namespace
}  // namespace ferolin::testing
