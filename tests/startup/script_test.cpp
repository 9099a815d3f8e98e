// Statement lists run as one script inside one transaction.

#include <gtest/gtest.h>

#include "data_access/db_dll.h"
#include "data_access/operaciones_conexion.h"
#include "platform/db/errors.h"
#include "startup/servicios.h"
#include "tests/startup/entorno_prueba.h"

namespace ferolin {
namespace {

using testing::EntornoPrueba;
using testing::TestDatabase;

const std::string kInsertA =
    "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('S', 'A', '1')";
const std::string kInsertB =
    "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('S', 'B', '2')";

std::string Filas(const TestDatabase& base) {
  return base.scalar("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE GRUPO = 'S'");
}

TEST(GActualizarDatoScript, ConfirmaLaListaEntera) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  const ResultadoScript r = GActualizarDatoScript(*e.ctx, {"", kInsertA, "  ", kInsertB, ""});
  EXPECT_FALSE(r.Fallo);
  EXPECT_EQ(r.CodigoError, 0);
  EXPECT_EQ(r.TextoEjecutado, "BEGIN TRANSACTION \r\r\r" + kInsertA + "\r" + kInsertB + "\r");
  EXPECT_EQ(Filas(e.base), "2");
  EXPECT_TRUE(e.prompt.prompts().empty());
}

TEST(GActualizarDatoScript, SoloBlancosNoEnviaNada) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  const ResultadoScript r = GActualizarDatoScript(*e.ctx, {"", "   ", ""});
  EXPECT_FALSE(r.Fallo);
  EXPECT_EQ(r.TextoEjecutado, "");
  EXPECT_TRUE(e.prompt.prompts().empty());
}

// The second statement breaks the key: nothing of the first one stays, the
// failure is recorded in AUX_ERR and told to the operator unless tolerated.
TEST(GActualizarDatoScript, UnFalloDeshaceTodo) {
  struct Caso {
    const char* nombre;
    bool ignorarDuplicados;
    bool mostrar;
    bool avisa;
  };
  const Caso casos[] = {
      {"avisa", false, true, true},
      {"duplicado tolerado", true, true, false},
      {"sin mensaje", false, false, false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    EntornoPrueba e(TestDatabase::Datos::Vacia);
    e.Conectar();
    e.base.exec("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('S', 'B', '0')");
    if (c.avisa) e.prompt.Answer(1);
    const ResultadoScript r = GActualizarDatoScript(*e.ctx, {"", kInsertA, "", kInsertB, ""},
                                                    c.ignorarDuplicados, false, c.mostrar);
    EXPECT_TRUE(r.Fallo);
    EXPECT_EQ(r.CodigoError, 2627);
    EXPECT_EQ(Filas(e.base), "1");
    EXPECT_EQ(e.base.scalar("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'B'"), "0");
    ASSERT_FALSE(r.MensajeError.empty());
    if (c.ignorarDuplicados) {
      EXPECT_EQ(r.MensajeError.find("2627 : "), std::string::npos) << r.MensajeError;
    } else {
      EXPECT_EQ(r.MensajeError.rfind("2627 : ", 0), 0u) << r.MensajeError;
      EXPECT_EQ(r.MensajeError.substr(r.MensajeError.size() - 2), "\r\n");
    }

    const auto aux = e.base.query("SELECT Proceso, Error, sql FROM AUX_ERR");
    ASSERT_EQ(aux.size(), 1u);
    EXPECT_EQ(*aux[0][0], "ferolin");
    EXPECT_EQ(*aux[0][1], "2627");
    EXPECT_EQ(*aux[0][2], r.TextoEjecutado);

    if (c.avisa) {
      ASSERT_EQ(e.prompt.prompts().size(), 1u);
      const auto& p = e.prompt.prompts()[0];
      EXPECT_EQ(p.title, "Aviso al Operador!");
      EXPECT_EQ(p.text, r.MensajeError);
      EXPECT_EQ(p.icon, 16);
      EXPECT_EQ(p.buttons, 0);
    } else {
      EXPECT_TRUE(e.prompt.prompts().empty());
    }

    // The connection is usable and not left inside the failed transaction.
    const ResultadoScript otra = GActualizarDatoScript(*e.ctx, {kInsertA});
    EXPECT_FALSE(otra.Fallo);
    EXPECT_EQ(Filas(e.base), "2");
  }
}

// A provider that answers the script with several errors at once, as SQL
// Server does; everything else reaches the real connection.
class VariosErrores : public ConexionDirecta {
 public:
  using ConexionDirecta::ConexionDirecta;
  std::unique_ptr<db::Recordset> Execute(const std::string& sql, long* afectadas) override {
    enviadas.push_back(sql);
    if (sql.find("FALLA") == std::string::npos) return ConexionDirecta::Execute(sql, afectadas);
    Errors().Add({"23000", db::err::kIntegrity, 2627, "primero", "prov"});
    Errors().Add({"23000", db::err::kIntegrity, 547, "segundo", "prov"});
    Errors().Add({"01000", db::err::kIntegrity, 3621, "se cancelo la instruccion", "prov"});
    throw db::DbError(db::err::kIntegrity, "primero");
  }
  std::vector<std::string> enviadas;
};

TEST(GActualizarDatoScript, VariosErroresListaTodosMenosElUltimo) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  auto proveedor = std::make_unique<VariosErrores>(e.ctx->gDB().gCnn());
  VariosErrores& p = *proveedor;
  e.ctx->gDB().UsarOperaciones(std::move(proveedor));
  e.prompt.Answer(1);
  const ResultadoScript r = GActualizarDatoScript(*e.ctx, {"FALLA"}, false, true);
  EXPECT_TRUE(r.Fallo);
  EXPECT_EQ(r.CodigoError, 2627);
  EXPECT_EQ(r.MensajeError, "2627 : primero\r\n547 : segundo\r\n");
  ASSERT_EQ(e.prompt.prompts().size(), 1u);
  EXPECT_EQ(e.prompt.prompts()[0].text, r.MensajeError);
  ASSERT_GE(p.enviadas.size(), 2u);
  EXPECT_EQ(p.enviadas[1], "ROLLBACK TRANSACTION");
  for (const auto& s : p.enviadas) EXPECT_EQ(s.find("COMMIT"), std::string::npos) << s;
}

TEST(GActualizarDatoScript, SinTablaDeErroresIgualDeshaceYAvisa) {
  EntornoPrueba e(TestDatabase::Datos::Vacia);
  e.Conectar();
  e.base.exec("DROP TABLE AUX_ERR");
  e.prompt.Answer(1);
  const ResultadoScript r =
      GActualizarDatoScript(*e.ctx, {kInsertA, "INSERT INTO NO_EXISTE (X) VALUES (1)"});
  EXPECT_TRUE(r.Fallo);
  EXPECT_EQ(Filas(e.base), "0");
  EXPECT_EQ(e.prompt.prompts().size(), 1u);
}

}  // namespace
}  // namespace ferolin
