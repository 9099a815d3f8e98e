#include "platform/db/recordset.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/db/connection.h"
#include "tests/platform/db/db_fixture.h"

namespace ferolin::db {
namespace {

long ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const DbError& e) {
    return e.number();
  }
  return 0;
}

class RecordsetTest : public dbtest::DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    OpenTest();
  }
  // What the table holds now, read through a fresh read-only set.
  std::vector<std::string> Rows(const std::string& sql, const std::vector<std::string>& fields) {
    Recordset rs;
    rs.Open(sql, cn);
    std::vector<std::string> out;
    for (; !rs.Eof(); rs.MoveNext()) {
      std::string line;
      for (const auto& f : fields) line += (line.empty() ? "" : "|") + rs.Fields(f).Text();
      out.push_back(line);
    }
    return out;
  }
};

TEST_F(RecordsetTest, NavigationAndStateErrors) {
  Recordset rs;
  EXPECT_EQ(rs.State(), state::kClosed);
  EXPECT_EQ(ErrorOf([&] { rs.Close(); }), err::kClosedObject);
  EXPECT_EQ(ErrorOf([&] { rs.Eof(); }), err::kClosedObject);

  rs.Open("SELECT * FROM MA_CUENTAS ORDER BY CODIGO", cn);
  EXPECT_EQ(ErrorOf([&] { rs.Open("SELECT 1", cn); }), err::kAlreadyOpen);
  EXPECT_FALSE(rs.Bof());
  EXPECT_FALSE(rs.Eof());
  EXPECT_EQ(rs.RecordCount(), 3);
  EXPECT_EQ(rs.AbsolutePosition(), 1);
  rs.MoveLast();
  EXPECT_EQ(rs.Fields("codigo").Text(), "abc");
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(rs.AbsolutePosition(), -1);
  EXPECT_EQ(ErrorOf([&] { rs.Fields("CODIGO").value(); }), err::kEofOrBof);
  EXPECT_EQ(ErrorOf([&] { rs.MoveNext(); }), err::kEofOrBof);
  rs.MoveFirst();
  rs.MovePrevious();
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(ErrorOf([&] { rs.MovePrevious(); }), err::kEofOrBof);
  rs.Close();
  EXPECT_EQ(rs.State(), state::kClosed);

  rs.Open("SELECT * FROM MA_CUENTAS WHERE 1 = 0", cn);
  EXPECT_TRUE(rs.Bof());
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(ErrorOf([&] { rs.MoveFirst(); }), err::kEofOrBof);
  rs.Close();

  // A statement without rows leaves the set closed.
  rs.Open("UPDATE MA_CUENTAS SET SALDO = 0 WHERE 1 = 0", cn);
  EXPECT_EQ(rs.State(), state::kClosed);
  // adCmdTable: the source is a table name.
  rs.Open("MA_CUENTAS", cn, cursor_type::kStatic, lock_type::kReadOnly, 2);
  EXPECT_EQ(rs.RecordCount(), 3);
}

TEST_F(RecordsetTest, FieldsByNameIndexTypeAndSize) {
  dbtest::RunOnFile(DbPath(),
                    "INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR,PoliticaNegocio) "
                    "VALUES ('G','K','V',1)");
  Recordset rs;
  rs.Open(
      "SELECT c.*, t.PoliticaNegocio, 1 AS UNO, 2.5 AS MEDIO, 'xyz' AS TXT FROM MA_CUENTAS c, "
      "TA_CONFIGURACION t WHERE c.CODIGO = '1001'",
      cn);
  const struct {
    const char* name;
    int type;
    long size;
    Value value;
  } cases[] = {
      {"CODIGO", type::kChar, 20, Value::Text("1001")},
      {"descripcion", type::kVarChar, 50, Value::Text("Caja")},
      {"SALDO", type::kCurrency, 8, Value::Real(10.5)},
      {"ALTA", type::kDBTimeStamp, 16, Value::Date({2024, 3, 1, 8, 30, 0})},
      {"PoliticaNegocio", type::kBoolean, 2, Value::Integer(1)},
      {"UNO", type::kInteger, 4, Value::Integer(1)},
      {"MEDIO", type::kDouble, 8, Value::Real(2.5)},
      {"TXT", type::kVarChar, 3, Value::Text("xyz")},
  };
  for (const auto& c : cases) {
    const Field f = rs.Fields(c.name);
    EXPECT_EQ(f.Type(), c.type) << c.name;
    EXPECT_EQ(f.DefinedSize(), c.size) << c.name;
    EXPECT_EQ(f.value(), c.value) << c.name;
  }
  EXPECT_EQ(rs.FieldCount(), 8u);
  EXPECT_EQ(rs.Fields(0).Name(), "CODIGO");
  EXPECT_TRUE(rs.HasField("txt"));
  EXPECT_FALSE(rs.HasField("NADA"));
  EXPECT_EQ(ErrorOf([&] { rs.Fields("NADA"); }), err::kFieldNotFound);
  EXPECT_EQ(ErrorOf([&] { rs.Fields(8); }), err::kFieldNotFound);
}

TEST_F(RecordsetTest, ReadOnlySetsRefuseEdits) {
  Recordset rs;
  rs.Open("SELECT * FROM MA_CUENTAS", cn);
  EXPECT_EQ(ErrorOf([&] { rs.AddNew(); }), err::kNotAllowedInContext);
  EXPECT_EQ(ErrorOf([&] { rs.SetField("CODIGO", Value::Text("x")); }), err::kNotAllowedInContext);
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), err::kNotAllowedInContext);
}

// The configuration writer's pattern: find the key, add it when missing,
// otherwise change the row in place.
TEST_F(RecordsetTest, UpdatableRoundTrip) {
  const std::string source = "SELECT * FROM TA_CONFIGURACION with(nolock)  WHERE CLAVE = 'TIMEOUT'";
  const auto write = [&](const std::string& valor, const std::string& aux) {
    Recordset rs;
    rs.Open(source, cn, cursor_type::kDynamic, lock_type::kOptimistic);
    if (rs.Eof()) {
      rs.AddNew();
      EXPECT_FALSE(rs.Eof());
    } else {
      rs.MoveFirst();
    }
    rs.SetField("Grupo", Value::Text("BaseDeDatos"));
    rs.SetField("Clave", Value::Text("TIMEOUT"));
    rs.SetField("Valor", Value::Text(valor));
    rs.SetField("PoliticaNegocio", Value::Integer(0));
    if (!aux.empty()) rs.SetField("ValorAux", Value::Text(aux));
    EXPECT_TRUE(rs.EditPending());
    rs.Update();
    EXPECT_FALSE(rs.EditPending());
    EXPECT_EQ(rs.Fields("VALOR").Text(), valor);
    rs.Close();
  };
  write("0", "");
  EXPECT_EQ(Rows(source, {"GRUPO", "VALOR", "ValorAux"}),
            std::vector<std::string>{"BaseDeDatos|0|"});
  write("it's 30", "aux");  // NULL ValorAux in the original row still matches
  write("45", "");          // ValorAux left as it was
  EXPECT_EQ(Rows("SELECT * FROM TA_CONFIGURACION", {"CLAVE", "VALOR", "ValorAux"}),
            std::vector<std::string>{"TIMEOUT|45|aux"});
}

TEST_F(RecordsetTest, NewRowShowsItsGeneratedKey) {
  Recordset rs;
  rs.Open("select  top 1 * from Control_Acceso  with(nolock) ", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  long ids[2] = {};
  for (long& id : ids) {
    rs.AddNew();
    rs.SetField("Maquina", Value::Text("PC1"));
    rs.SetField("Ingreso", Value::Text("01/02/24 10:00"));
    rs.Update();
    id = static_cast<long>(rs.Fields("ID").value().ToNumber());
    EXPECT_TRUE(rs.Fields("EGRESO").IsNull());
  }
  EXPECT_GT(ids[0], 0);
  EXPECT_EQ(ids[1], ids[0] + 1);
  EXPECT_EQ(
      Rows("SELECT * FROM Control_Acceso ORDER BY ID", {"ID", "Maquina"}),
      (std::vector<std::string>{std::to_string(ids[0]) + "|PC1", std::to_string(ids[1]) + "|PC1"}));
}

TEST_F(RecordsetTest, DatesAndNumbersRoundTrip) {
  Recordset rs;
  rs.Open("SELECT * FROM MA_CUENTAS WHERE CODIGO = '1001'", cn, cursor_type::kKeyset,
          lock_type::kOptimistic);
  rs.SetField("ALTA", Value::Date({2025, 12, 31, 23, 59, 58}));
  rs.SetField("SALDO", Value::Real(0.1));
  rs.Update();
  rs.Close();
  rs.Open("SELECT * FROM MA_CUENTAS WHERE CODIGO = '1001'", cn);
  EXPECT_EQ(rs.Fields("ALTA").value(), Value::Date({2025, 12, 31, 23, 59, 58}));
  EXPECT_EQ(rs.Fields("SALDO").value(), Value::Real(0.1));
}

TEST_F(RecordsetTest, PendingEditsAndFailedUpdates) {
  Recordset rs;
  rs.Open("SELECT * FROM MA_CUENTAS ORDER BY CODIGO", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  rs.AddNew();
  rs.SetField("CODIGO", Value::Text("1001"));
  EXPECT_EQ(ErrorOf([&] { rs.Close(); }), err::kNotAllowedInContext);
  // A refused row stays pending with the database's reason in the collection.
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), err::kIntegrity);
  ASSERT_EQ(cn.Errors().Count(), 1u);
  EXPECT_EQ(cn.Errors().Item(0).nativeError, native::kDuplicateKey);
  EXPECT_TRUE(rs.EditPending());
  rs.CancelUpdate();
  EXPECT_FALSE(rs.EditPending());
  EXPECT_EQ(rs.RecordCount(), 3);

  // Moving off an edited row saves it, as the platform's result set does.
  rs.MoveFirst();
  rs.SetField("DESCRIPCION", Value::Text("Banco Nacion"));
  rs.MoveNext();
  EXPECT_FALSE(rs.EditPending());
  rs.Close();
  EXPECT_EQ(Rows("SELECT * FROM MA_CUENTAS WHERE CODIGO LIKE '%2002%'", {"DESCRIPCION"}),
            std::vector<std::string>{"Banco Nacion"});

  // CancelUpdate discards a change of an existing row.
  rs.Open("SELECT * FROM MA_CUENTAS WHERE CODIGO = 'abc'", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  rs.SetField("DESCRIPCION", Value::Text("otra"));
  EXPECT_EQ(rs.Fields("DESCRIPCION").Text(), "otra");
  rs.CancelUpdate();
  EXPECT_EQ(rs.Fields("DESCRIPCION").Text(), "Minusculas");
  rs.Close();
  EXPECT_EQ(Rows("SELECT * FROM MA_CUENTAS WHERE CODIGO = 'abc'", {"DESCRIPCION"}),
            std::vector<std::string>{"Minusculas"});

  // A view the engine cannot write is refused by the database, not mangled.
  rs.Open("SELECT * FROM V_CUENTAS WHERE CODIGO = 'abc'", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  rs.SetField("DESCRIPCION", Value::Text("otra"));
  EXPECT_NE(ErrorOf([&] { rs.Update(); }), 0);
  EXPECT_EQ(cn.Errors().Count(), 1u);
  rs.CancelUpdate();
}

TEST_F(RecordsetTest, RowChangedUnderneathIsNotOverwritten) {
  Recordset rs;
  rs.Open("SELECT * FROM MA_CUENTAS WHERE CODIGO = 'abc'", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  cn.Execute("UPDATE MA_CUENTAS SET DESCRIPCION = 'de otro' WHERE CODIGO = 'abc'");
  rs.SetField("DESCRIPCION", Value::Text("mia"));
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), err::kRowNotFound);
  rs.CancelUpdate();
  EXPECT_EQ(Rows("SELECT * FROM MA_CUENTAS WHERE CODIGO = 'abc'", {"DESCRIPCION"}),
            std::vector<std::string>{"de otro"});

  // A value too long for its column is refused, not cut.
  rs.Close();
  rs.Open("SELECT * FROM MA_CUENTAS WHERE CODIGO = 'abc'", cn, cursor_type::kDynamic,
          lock_type::kOptimistic);
  rs.SetField("DESCRIPCION", Value::Text(std::string(51, 'x')));
  EXPECT_EQ(ErrorOf([&] { rs.Update(); }), err::kDataOverflow);
  EXPECT_EQ(cn.Errors().Item(0).nativeError, native::kValueTooLong);
  rs.CancelUpdate();
}

}  // namespace
}  // namespace ferolin::db
