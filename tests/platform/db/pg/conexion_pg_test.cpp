// The program's connections on the server: log-ins good and bad through
// OpenServerADODB, the start-up with its statistics connection, and a
// connection lost between two statements.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data_access/db_dll.h"
#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "platform/ui/operator_prompt.h"
#include "startup/iniciar_programa.h"
#include "startup/servicios.h"
#include "tests/platform/db/pg/programa_pg.h"

namespace ferolin::testing {
namespace {

namespace answer = ui::answer;

std::string Consulta(db::Connection& cn, const std::string& sql) {
  auto rs = cn.Execute(sql);
  return rs->Eof() ? "<no row>" : rs->Fields(std::size_t{0}).Text();
}

using Conexion = ProgramaPg;

TEST_F(Conexion, UnIngresoCorrectoAbreYDecideSiEsAdministrador) {
  struct Caso {
    std::optional<std::string> administrador;  // TA_USUARIOS.Administrador of the user
    bool esAdmin;
  };
  const Caso casos[] = {{"1", true}, {"2", false}, {std::nullopt, false}};
  for (const Caso& c : casos) {
    ResetPgDatabases();
    if (c.administrador) {
      PgExec(PgBase::Principal, "INSERT INTO TA_USUARIOS (Nombre, Administrador) VALUES ('" +
                                    server.user + "', " + *c.administrador + ")");
    }
    NuevoContexto();
    Conectar();
    DB_Dll& g = ctx->gDB();
    EXPECT_EQ(g.gConnString, "PROVIDER=SQLOLEDB;Server=" + server.dsn +
                                 ";Database =" + server.database + ";UId=" + server.user +
                                 ";Pwd=" + server.password + ";");
    EXPECT_EQ(g.gEsAdmin, c.esAdmin) << c.administrador.value_or("<none>");
    EXPECT_EQ(Consulta(g.gCnn(), "SELECT current_user"), server.user);
    EXPECT_EQ(Consulta(g.gCnn(), "SELECT current_database()"), server.database);
  }
  EXPECT_TRUE(prompt.prompts().empty());
  EXPECT_TRUE(dialogo.pedidos.empty());
}

// A refused log-in asks whether to try again; Yes shows the connection
// dialog, whose answers are tried, as often as the operator says Yes.
TEST_F(Conexion, UnIngresoRechazadoPreguntaYReintentaConLoQueDiceElDialogo) {
  struct Caso {
    const char* nombre;
    std::vector<int> respuestas;
    std::vector<std::optional<DialogoConexion::Datos>> dialogo;
    bool abierta;
  };
  const Caso casos[] = {
      {"No ends", {answer::kNo}, {}, false},
      {"Yes, corrected", {answer::kYes}, {Respuesta(server.user, server.password)}, true},
      {"Yes, wrong again, Yes, corrected",
       {answer::kYes, answer::kYes},
       {Respuesta(server.user, "otra-mala"), Respuesta(server.user, server.password)},
       true},
      {"Yes, dialog cancelled", {answer::kYes}, {std::nullopt}, false},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    NuevoContexto();
    prompt.clear();
    dialogo.pedidos.clear();
    dialogo.respuestas.assign(c.dialogo.begin(), c.dialogo.end());
    for (int r : c.respuestas) prompt.Answer(r);
    DatosConexion(server.user, "incorrecta");
    DB_Dll& g = ctx->gDB();
    g.OpenServerADODB(false, 3, "", true, true);

    EXPECT_EQ(g.gOpenFlag, c.abierta);
    EXPECT_EQ(g.gCnn().IsOpen(), c.abierta);
    EXPECT_EQ(prompt.pending(), 0u);
    ASSERT_EQ(prompt.prompts().size(), c.respuestas.size());
    for (const auto& p : prompt.prompts()) {
      EXPECT_EQ(p.title, " Error de Conexion a Base de Datos");
      EXPECT_EQ(p.buttons, ui::buttons::kYesNo);
      EXPECT_EQ(p.icon, ui::icon::kCritical);
      EXPECT_EQ(p.defaultButton, 0);
      EXPECT_EQ(p.text.rfind(" Estado de Sql: 08", 0), 0u) << p.text;
      EXPECT_NE(p.text.find("\rNumero de Error: -2147467259\rDescripcion: "), std::string::npos)
          << p.text;
      EXPECT_NE(p.text.find("password authentication failed"), std::string::npos) << p.text;
      EXPECT_NE(p.text.find("\r\r\nNombre de Proceso: ferolin\r\r\n\r\n1. Verifique"),
                std::string::npos);
      EXPECT_NE(p.text.find("por ejemplo : " + server.dsn +
                            "\\TARVEX\r\n3. Verifique si el "
                            "inicio de sesion para el usuario " +
                            server.user +
                            " existe\r\n\r\n\r\n - Desea Intentarlo "
                            "Nuevamente??? "),
                std::string::npos)
          << p.text;
    }
    // Each Yes shows the dialog with what failed.
    ASSERT_EQ(dialogo.pedidos.size(), c.dialogo.size());
    if (!dialogo.pedidos.empty()) {
      EXPECT_EQ(dialogo.pedidos[0].servidor, server.dsn);
      EXPECT_EQ(dialogo.pedidos[0].dbName, server.database);
      EXPECT_EQ(dialogo.pedidos[0].password, "incorrecta");
    }
    if (c.abierta) {
      EXPECT_EQ(g.gUserPassWord, server.password);
      EXPECT_EQ(Consulta(g.gCnn(), "SELECT current_user"), server.user);
    }
  }
}

// "No" leaves the provider's error for the message exactly as the program
// built it: state, number, description and native code of the first error.
TEST_F(Conexion, ElMensajeDeIngresoRechazadoLlevaElPrimerErrorDelProveedor) {
  prompt.Answer(answer::kNo);
  DatosConexion("nadie", "nada");
  DB_Dll& g = ctx->gDB();
  g.OpenServerADODB(false, 3, "", true, true);
  ASSERT_FALSE(g.gOpenFlag);
  ASSERT_GE(g.gCnn().Errors().Count(), 1u);
  const db::ProviderError& e = g.gCnn().Errors().Item(0);
  ASSERT_EQ(prompt.prompts().size(), 1u);
  EXPECT_EQ(prompt.prompts()[0].text,
            " Estado de Sql: " + e.sqlState + "\rNumero de Error: " + std::to_string(e.number) +
                "\rDescripcion: " + e.description +
                "\rCodigo Nativo: " + std::to_string(e.nativeError) +
                "\r\r\nNombre de Proceso: ferolin\r\r\n\r\n1. Verifique el Usuario, contraseña y "
                "base de datos\r\n2. Verifique el nombre del servidor, quizas necesite agregarle "
                "el nombre de la instancia, por ejemplo : " +
                server.dsn + "\\TARVEX\r\n3. Verifique si el inicio de sesion para el usuario " +
                "nadie existe\r\n\r\n\r\n - Desea Intentarlo Nuevamente??? ");
}

// The whole start-up on the server: the main connection from the launch
// string, the statistics connection with its fixed log-in on the same
// server, the time-out it supplies and the access-log row.
TEST_F(Conexion, ElArranqueAbreLaBaseYLasEstadisticasEnElMismoServidor) {
  struct Caso {
    std::optional<std::string> timeOut;  // stored key TimeOut
    bool estadisticasAccesibles;
    int esperado;
  };
  const Caso casos[] = {
      {std::nullopt, true, 360}, {"90", true, 90}, {"0", true, 360}, {"90", false, 360}};
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.timeOut.value_or("<none>") + (c.estadisticasAccesibles ? "" : " refused"));
    ResetPgDatabases();
    if (c.timeOut) {
      PgExec(PgBase::Estadisticas,
             "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('BaseDeDatos', "
             "'TIMEOUT', '" +
                 *c.timeOut + "')");
    }
    PermitirIngreso(server.statsUser, c.estadisticasAccesibles);
    NuevoContexto();
    std::string cadena;
    ASSERT_TRUE(IniciarPrograma(
        *ctx, true,
        "@server=" + server.dsn + "; @dbname= " + server.database + "; @usuario= " + server.user +
            "; @Password= " + server.password + "; @ParametroAdicional=; @Caja=1;mirk@",
        cadena, 3));
    EXPECT_TRUE(prompt.prompts().empty()) << prompt.prompts().front().text;

    DB_Dll& est = ctx->gDBEstadisticas();
    EXPECT_EQ(est.gOpenFlag, c.estadisticasAccesibles);
    EXPECT_EQ(ctx->gTimeOut, c.esperado);
    EXPECT_EQ(ctx->gDB().gCnn().CommandTimeout(), c.esperado);
    if (c.estadisticasAccesibles) {
      EXPECT_EQ(est.gConnString, "PROVIDER=SQLOLEDB;Server=" + server.dsn +
                                     ";Database =KV_ESTADISTICAS;UId=KV_ESTADISTICAS;Pwd="
                                     "QT_MIRANDOLESCA;");
      EXPECT_EQ(Consulta(est.gCnn(), "SELECT current_user || '@' || current_database()"),
                "KV_ESTADISTICAS@KV_ESTADISTICAS");
    }
    // A missing or zero key is written back as "0", which keeps meaning the default.
    if (c.estadisticasAccesibles && c.timeOut.value_or("0") == "0") {
      EXPECT_EQ(
          PgQuery(PgBase::Estadisticas, "SELECT GRUPO, upper(CLAVE), VALOR FROM TA_CONFIGURACION"),
          (std::vector<std::vector<std::string>>{{"BaseDeDatos", "TIMEOUT", "0"}}));
    }
    EXPECT_EQ(PgQuery(PgBase::Principal, "SELECT count(*) FROM Control_Acceso WHERE Usuario = '" +
                                             server.user + "' AND Egreso IS NULL"),
              (std::vector<std::vector<std::string>>{{"1"}}));
    // The main connection reads what others have not committed yet.
    db::Connection& cn = ctx->gDB().gCnn();
    cn.BeginTrans();
    EXPECT_EQ(Consulta(cn, "SHOW transaction_isolation"), "read uncommitted");
    cn.RollbackTrans();
    // Opening the statistics again closes the earlier session first.
    if (c.estadisticasAccesibles) {
      const std::string sesion = Consulta(est.gCnn(), "SELECT pg_backend_pid()");
      AbrirEstadisticas(*ctx);
      EXPECT_TRUE(est.gOpenFlag);
      EXPECT_NE(Consulta(est.gCnn(), "SELECT pg_backend_pid()"), sesion);
      // The server notes the end of a session a moment after the client left.
      std::string sesiones;
      for (int i = 0; i < 100 && sesiones != "1"; ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        sesiones = PgQuery(PgBase::Estadisticas,
                           "SELECT count(*) FROM pg_stat_activity WHERE usename = "
                           "'KV_ESTADISTICAS'")[0][0];
      }
      EXPECT_EQ(sesiones, "1");
    }
  }
}

TEST_F(Conexion, UnaConexionPerdidaSeRestableceYLaConsultaSeHace) {
  Conectar();
  PgExec(PgBase::Principal,
         "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1001', 'Cliente Uno')");
  const std::string antes = ProcesoDelServidor();
  Terminar(antes);

  DB_Dll& g = ctx->gDB();
  std::string sql = "SELECT DESCRIPCION FROM MA_CUENTAS WHERE CODIGO = '1001'";
  db::Recordset rs;
  g.AbrirRecordset(sql, rs);
  ASSERT_EQ(rs.State(), db::state::kOpen);
  ASSERT_FALSE(rs.Eof());
  EXPECT_EQ(rs.Fields("DESCRIPCION").Text(), "Cliente Uno");
  EXPECT_TRUE(prompt.prompts().empty());
  EXPECT_TRUE(g.gOpenFlag);
  EXPECT_NE(ProcesoDelServidor(), antes);
  EXPECT_EQ(g.gCnn().CommandTimeout(), 5);
  EXPECT_EQ(terminado, 0);
}

// When the server refuses the log-in again the operator is asked: Yes tries
// again (here the log-in is allowed again while the second question is
// shown), No ends the program at once.
TEST_F(Conexion, SinPoderReconectarSePreguntaSiReintentarOTerminar) {
  const std::string CRLF = "\r\n";
  const std::string aviso = CRLF + CRLF + CRLF + "Se perdio la conexion con la base de datos " +
                            server.database + CRLF + " Servidor " + server.dsn + CRLF + CRLF +
                            "Elija SI para reintentar conectarse" + CRLF +
                            "Elija NO para cerrar la aplicacion" + CRLF + CRLF + CRLF;
  struct Caso {
    const char* nombre;
    std::vector<int> respuestas;
    bool termina;
  };
  const Caso casos[] = {
      {"Yes twice, allowed at the second", {answer::kYes, answer::kYes}, false},
      {"No", {answer::kNo}, true},
      {"Yes, then No", {answer::kYes, answer::kNo}, true},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    NuevoContexto();
    prompt.clear();
    terminado = 0;
    Conectar();
    for (int r : c.respuestas) prompt.Answer(r);
    int mostrados = 0;
    prompt.alMostrar = [&](const std::string&) {
      if (++mostrados == 2 && !c.termina) PermitirIngreso(server.user, true);
    };
    PermitirIngreso(server.user, false);
    Terminar(ProcesoDelServidor());

    DB_Dll& g = ctx->gDB();
    std::string sql = "SELECT count(*) FROM MA_CUENTAS";
    db::Recordset rs;
    if (c.termina) {
      EXPECT_THROW(g.AbrirRecordset(sql, rs), FinDelPrograma);
      EXPECT_EQ(terminado, 1);
      EXPECT_FALSE(g.gOpenFlag);
    } else {
      g.AbrirRecordset(sql, rs);
      EXPECT_EQ(terminado, 0);
      ASSERT_EQ(rs.State(), db::state::kOpen);
      EXPECT_EQ(rs.Fields(std::size_t{0}).Text(), "0");
      EXPECT_TRUE(g.gOpenFlag);
    }
    prompt.alMostrar = nullptr;
    EXPECT_EQ(prompt.pending(), 0u);
    ASSERT_EQ(prompt.prompts().size(), c.respuestas.size());
    for (const auto& p : prompt.prompts()) {
      EXPECT_EQ(p.text, aviso);
      EXPECT_EQ(p.title, "AVISO AL OPERADOR");
      EXPECT_EQ(p.buttons, ui::buttons::kYesNo);
      EXPECT_EQ(p.icon, ui::icon::kCritical);
      EXPECT_EQ(p.defaultButton, 0);
    }
    PermitirIngreso(server.user, true);
  }
}

}  // namespace
}  // namespace ferolin::testing
