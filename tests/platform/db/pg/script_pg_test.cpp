// Script updates on the server: the statements of one script are kept all or
// none, the failure is logged and told as the caller asked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/operator_prompt.h"
#include "startup/servicios.h"
#include "tests/platform/db/pg/programa_pg.h"

namespace ferolin::testing {
namespace {

using Filas = std::vector<std::vector<std::string>>;
using ScriptPg = ProgramaPg;

std::string Menu(const std::string& clave, const std::string& nombre) {
  return "INSERT INTO TA_MENU (Clave, Proceso, Nombre) VALUES ('" + clave + "', 'FEROLIN', '" +
         nombre + "')";
}

TEST_F(ScriptPg, UnaSentenciaQueFallaNoDejaNadaDeLasAnteriores) {
  struct Caso {
    const char* nombre;
    std::string segunda;
    bool ignorarDuplicados;
    long codigo;
    const char* motivo;  // part of the server's description
    bool muestra;
  };
  const Caso casos[] = {
      {"duplicate key, told", Menu("1", "otra"), false, 2627, "duplicate key", true},
      {"duplicate key, ignored", Menu("1", "otra"), true, 2627, "duplicate key", false},
      {"value too long", Menu("2", std::string(150, 'n')), true, 8152, "too long", true},
      {"no such table", "INSERT INTO NO_EXISTE (A) VALUES (1)", false, 208, "no_existe", true},
  };
  Conectar();
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    prompt.clear();
    PgExec(PgBase::Principal, "TRUNCATE TA_MENU, AUX_ERR");
    if (c.muestra) prompt.Answer(ui::answer::kOk);
    const ResultadoScript r =
        GActualizarDatoScript(*ctx, {"", Menu("1", "uno"), " ", c.segunda}, c.ignorarDuplicados);
    EXPECT_TRUE(r.Fallo);
    EXPECT_EQ(r.CodigoError, c.codigo);
    EXPECT_EQ(r.TextoEjecutado,
              "BEGIN TRANSACTION \r\r\r" + Menu("1", "uno") + "\r" + c.segunda + "\r");
    EXPECT_NE(r.MensajeError.find(c.motivo), std::string::npos) << r.MensajeError;
    EXPECT_EQ(PgQuery(PgBase::Principal, "SELECT count(*) FROM TA_MENU"), (Filas{{"0"}}));
    EXPECT_EQ(PgQuery(PgBase::Principal, "SELECT Proceso, Error, Usuario FROM AUX_ERR"),
              (Filas{{"ferolin", std::to_string(c.codigo), server.user}}));
    ASSERT_EQ(prompt.prompts().size(), c.muestra ? 1u : 0u);
    if (c.muestra) {
      // One error: its native code, " : ", its description and a line end.
      EXPECT_EQ(r.MensajeError.rfind(std::to_string(c.codigo) + " : ", 0), 0u) << r.MensajeError;
      EXPECT_EQ(r.MensajeError.substr(r.MensajeError.size() - 2), "\r\n");
      EXPECT_EQ(prompt.prompts()[0].text, r.MensajeError);
      EXPECT_EQ(prompt.prompts()[0].title, "Aviso al Operador!");
      EXPECT_EQ(prompt.prompts()[0].icon, ui::icon::kCritical);
      EXPECT_EQ(prompt.prompts()[0].buttons, ui::buttons::kOk);
    }
    // The connection is out of the script's transaction: what follows is kept.
    const ResultadoScript despues = GActualizarDatoScript(*ctx, {Menu("9", "despues")});
    EXPECT_FALSE(despues.Fallo) << despues.MensajeError;
    EXPECT_EQ(PgQuery(PgBase::Principal, "SELECT Clave FROM TA_MENU"), (Filas{{"9"}}));
  }
}

TEST_F(ScriptPg, UnScriptSinFallasSeConfirmaEntero) {
  Conectar();
  const ResultadoScript r =
      GActualizarDatoScript(*ctx, {"", Menu("1", "uno"), "", Menu("2", "it''s two"), "  "});
  EXPECT_FALSE(r.Fallo);
  EXPECT_EQ(r.CodigoError, 0);
  EXPECT_EQ(PgQuery(PgBase::Principal, "SELECT Clave, Nombre FROM TA_MENU ORDER BY Clave"),
            (Filas{{"1", "uno"}, {"2", "it's two"}}));
  EXPECT_EQ(PgQuery(PgBase::Principal, "SELECT count(*) FROM AUX_ERR"), (Filas{{"0"}}));
  EXPECT_TRUE(prompt.prompts().empty());
}

}  // namespace
}  // namespace ferolin::testing
