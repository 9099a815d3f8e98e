#pragma once
// The program's own objects on the PostgreSQL test server: a program context
// whose prompts and connection dialog are scripted and whose end is recorded,
// gDB opened the way the start-up opens it, and the stored list read back as
// the administrator.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data_access/contexto_datos.h"
#include "data_access/db_dll.h"
#include "startup/contexto_programa.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"

namespace ferolin::testing {

// Thrown by the recorded terminarPrograma where the program would end at
// once. Not a std::exception: no handler of the program catches it.
struct FinDelPrograma {};

class DialogoGuionadoPg : public DialogoConexion {
 public:
  std::optional<Datos> Pedir(const Datos& iniciales) override {
    pedidos.push_back(iniciales);
    if (respuestas.empty()) return std::nullopt;
    auto r = respuestas.front();
    respuestas.pop_front();
    return r;
  }
  std::deque<std::optional<Datos>> respuestas;
  std::vector<Datos> pedidos;
};

// The scripted prompt with a hook that runs as a message is shown, for a
// test that changes the server while the operator is being asked.
class PromptConAccion : public ScriptedPrompt {
 public:
  int Message(const std::string& text, int style, const std::string& title) override {
    if (alMostrar) alMostrar(text);
    return ScriptedPrompt::Message(text, style, title);
  }
  std::function<void(const std::string&)> alMostrar;
};

using ListaAlmacenada = std::vector<std::pair<std::string, std::string>>;

class ProgramaPg : public ::testing::Test {
 protected:
  ProgramaPg() : server(ReadPgServer()) {
    ResetPgDatabases();
    std::filesystem::create_directories(carpeta.path() / "Styles");
    std::ofstream(carpeta.path() / "Styles" / "iTunes.qss") << "";
    NuevoContexto();
  }

  ~ProgramaPg() override {
    ctx.reset();
    if (!rolesTocados) return;
    // A refused log-in must not outlive the test that refused it.
    try {
      PgExec(PgBase::Principal, "ALTER ROLE \"" + server.user + "\" LOGIN; ALTER ROLE \"" +
                                    server.statsUser + "\" LOGIN");
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
  }

  // Lets the role log in or not; undone at the end of the test.
  void PermitirIngreso(const std::string& rol, bool permitir) {
    rolesTocados = true;
    PgExec(PgBase::Principal, "ALTER ROLE \"" + rol + "\" " + (permitir ? "LOGIN" : "NOLOGIN"));
  }

  // A fresh program run (the earlier one's objects released).
  void NuevoContexto() {
    ctx.reset();
    ctx = std::make_unique<ContextoPrograma>(prompt, carpeta.withSlash(), "ferolin");
    ctx->lineaComandoProceso = [] { return std::string(); };
    ctx->dialogoConexion = &dialogo;
    ctx->terminarPrograma = [this] {
      ++terminado;
      throw FinDelPrograma{};
    };
  }

  // gDB's connection data for the test server (the data source is the server).
  void DatosConexion(const std::string& usuario, const std::string& clave) {
    DB_Dll& g = ctx->gDB();
    g.gServidor = server.dsn;
    g.gDBName = server.database;
    g.gUsuario = usuario;
    g.gUserPassWord = clave;
  }

  // gDB opened as the start-up opens it, with the main log-in.
  void Conectar() {
    DatosConexion(server.user, server.password);
    ctx->gDB().OpenServerADODB(false, 3, "", true, true);
    ASSERT_TRUE(ctx->gDB().gOpenFlag);
  }

  DialogoConexion::Datos Respuesta(const std::string& usuario, const std::string& clave) const {
    return {server.dsn, server.database, usuario, clave, 0};
  }

  // The stored list as (CLAVE, VALOR) in key order.
  static ListaAlmacenada Almacenada() {
    ListaAlmacenada out;
    for (const auto& fila : PgQuery(PgBase::Principal,
                                    "SELECT CLAVE, VALOR FROM TA_CONFIGURACION WHERE GRUPO = "
                                    "'FEROLIN' ORDER BY CLAVE")) {
      out.emplace_back(fila[0], fila[1]);
    }
    return out;
  }

  static void Guardar(const ListaAlmacenada& lista) {
    for (const auto& [clave, valor] : lista) {
      PgExec(PgBase::Principal,
             "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES "
             "('FEROLIN', '" +
                 clave + "', '" + valor + "')");
    }
  }

  // The server process of gDB's connection, as the server numbers it.
  std::string ProcesoDelServidor() {
    auto rs = ctx->gDB().gCnn().Execute("SELECT pg_backend_pid()");
    return rs->Fields(std::size_t{0}).Text();
  }

  // Ends a session from an administrator's connection, as a server restart
  // or a dropped link would.
  static void Terminar(const std::string& pid) {
    PgExec(PgBase::Principal, "SELECT pg_terminate_backend(" + pid + ")");
  }

  PgServer server;
  TempFolder carpeta;
  PromptConAccion prompt;
  DialogoGuionadoPg dialogo;
  std::unique_ptr<ContextoPrograma> ctx;
  int terminado = 0;
  bool rolesTocados = false;
};

}  // namespace ferolin::testing
