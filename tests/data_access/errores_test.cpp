// TratamientoErrores, ReporteError, GrabarErrorTabla and the error log.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "data_access/error_report.h"
#include "platform/os/codepage.h"
#include "tests/data_access/apoyo.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {
namespace {

// Sets an environment variable for the life of the object.
class Variable {
 public:
  Variable(const char* nombre, const std::string& valor) : nombre_(nombre) {
    if (const char* v = std::getenv(nombre)) antes_ = v;
    setenv(nombre, valor.c_str(), 1);
  }
  ~Variable() {
    if (antes_) {
      setenv(nombre_, antes_->c_str(), 1);
    } else {
      unsetenv(nombre_);
    }
  }

 private:
  const char* nombre_;
  std::optional<std::string> antes_;
};

TEST(TratamientoErrores, MuestraRegistraYDevuelveLaRespuesta) {
  struct Caso {
    std::optional<std::string> rutina;
    int botones, respuesta;
    std::string titulo, linea;
  } casos[] = {
      {"AbrirRecordset", 18, 4, "Prov - AbrirRecordset Aviso al operador!!! - 5 ",
       " Rutina: - AbrirRecordset Mensaje Ha ocurrido el Siguiente Error (-2147217865) No está "
       "la tabla Respondió : Reintentar"},
      {std::nullopt, 18, 5, "Prov Aviso al operador!!! - 5 ",
       " Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217865) No está la tabla Respondió "
       ": Ignorar"},
      {"X", 0, 1, "Prov - X Aviso al operador!!! - 5 ",
       " Rutina: - X Mensaje Ha ocurrido el Siguiente Error (-2147217865) No está la tabla "
       "Respondió : "},
      {"X", 18, 3, "Prov - X Aviso al operador!!! - 5 ",
       " Rutina: - X Mensaje Ha ocurrido el Siguiente Error (-2147217865) No está la tabla "
       "Respondió : Abortar"},
  };
  for (const auto& c : casos) {
    Entorno e;
    e.prompt.Answer(c.respuesta);
    const outside::ErrorInfo error{db::err::kObjectNotFound, "  No está la tabla  ", "Prov"};
    EXPECT_EQ(e.ctx.gDB().TratamientoErrores(error, c.botones, c.rutina), c.respuesta);
    ASSERT_EQ(e.prompt.prompts().size(), 1u);
    EXPECT_EQ(e.prompt.prompts()[0].text,
              "Ha ocurrido el Siguiente Error (-2147217865) No está la tabla");
    EXPECT_EQ(e.prompt.prompts()[0].title, c.titulo);
    EXPECT_EQ(e.prompt.prompts()[0].style, c.botones);
    const std::string bytes = os::ReadFileBytes(e.carpeta.file("KVERR.LOG").string());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_NE(bytes.find("Respondi\xF3"), std::string::npos);  // Windows-1252 on disk
    const std::string linea = os::Cp1252ToUtf8(bytes.substr(0, bytes.size() - 2));
    EXPECT_TRUE(
        std::regex_match(linea.substr(0, 19), std::regex(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")))
        << linea;
    EXPECT_EQ(linea.substr(19), c.linea);
  }
}

TEST(TratamientoErrores, ErrorCeroNoMuestraNada) {
  Entorno e;
  EXPECT_EQ(e.ctx.gDB().TratamientoErrores({0, "nada", "X"}), 0);
  EXPECT_TRUE(e.prompt.prompts().empty());
  EXPECT_FALSE(std::filesystem::exists(e.carpeta.file("KVERR.LOG")));
}

TEST(TratamientoErrores, UsaElArchivoElegidoYSobreviveAUnaCarpetaSinPermiso) {
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  const std::string propio = e.carpeta.file("otro.log").string();
  db.ArchivoErrores(propio);
  EXPECT_EQ(db.ArchivoErrores(), propio);
  e.prompt.Answer(4).Answer(5);
  db.TratamientoErrores({5, "uno", "X"});
  EXPECT_TRUE(std::filesystem::exists(propio));
  EXPECT_FALSE(std::filesystem::exists(e.carpeta.file("KVERR.LOG")));
  db.ArchivoErrores(e.carpeta.file("no/existe/kverr.log").string());
  EXPECT_EQ(db.TratamientoErrores({5, "dos", "X"}), 5);
  // Two reports append two lines to the same file.
  e.prompt.Answer(4);
  db.ArchivoErrores(propio);
  db.TratamientoErrores({5, "tres", "X"});
  EXPECT_EQ(os::ReadTextLines(propio).size(), 2u);
}

TEST(ReporteError, EscribeEnLaCarpetaTemporal) {
  struct Caso {
    std::optional<std::string> temp, tmp;
    bool enTmp;  // else the companion's folder
  } casos[] = {
      {"x", "TMP", true}, {"", "TMP", false}, {"x", "", false}, {std::nullopt, "TMP", false}};
  for (const auto& c : casos) {
    Entorno e;
    TempFolder tmp, sistema;
    Variable vSistema("TMPDIR", sistema.path().string());
    std::optional<Variable> vTemp, vTmp;
    if (c.temp) {
      vTemp.emplace("TEMP", *c.temp);
    } else {
      vTemp.emplace("TEMP", "");
      unsetenv("TEMP");
    }
    vTmp.emplace("TMP", c.tmp && !c.tmp->empty() ? tmp.path().string() : "");
    const std::string carpeta =
        c.enTmp
            ? tmp.withSlash()
            : e.ctx.tarvex.utilidades().CarpetaConBarra(e.ctx.tarvex.sistema().CarpetaSistema());
    const std::string archivo =
        carpeta + (carpeta.empty() || carpeta.back() != '/' ? "/" : "") + "KVERR.LOG";
    ASSERT_EQ(archivo.rfind(c.enTmp ? tmp.withSlash() : sistema.withSlash(), 0), 0u);
    e.prompt.Answer(3);
    EXPECT_EQ(ReporteError(e.ctx, {-1, " falla ", "Src"}, 18, std::string("Cfg")), 3);
    ASSERT_EQ(e.prompt.prompts().size(), 1u);
    EXPECT_EQ(e.prompt.prompts()[0].title, "Src - Cfg Aviso al operador!!! - 2 ");
    EXPECT_EQ(e.prompt.prompts()[0].text, "Ha ocurrido el Siguiente Error (-1) falla");
    const auto lineas = os::ReadTextLines(archivo);
    ASSERT_EQ(lineas.size(), 1u) << archivo;
    EXPECT_NE(lineas.back().find(" Rutina: - Cfg Mensaje Ha ocurrido el Siguiente Error (-1) "
                                 "falla Respondió : Abortar"),
              std::string::npos);
  }
}

TEST(ReporteError, IgnoraArchivoErroresYElErrorCero) {
  Entorno e;
  TempFolder tmp;
  Variable temp("TEMP", "x"), vtmp("TMP", tmp.path().string());
  e.ctx.gDB().ArchivoErrores(e.carpeta.file("propio.log").string());
  EXPECT_EQ(ReporteError(e.ctx, {0, "", "S"}), 0);
  EXPECT_TRUE(e.prompt.prompts().empty());
  EXPECT_EQ(os::ReadFileBytes(tmp.file("KVERR.LOG").string()), "");
  EXPECT_FALSE(std::filesystem::exists(e.carpeta.file("propio.log")));
}

TEST(GrabarErrorTabla, AgregaUnaFilaOSeCallaSinTabla) {
  TestDatabase base;
  Entorno e;
  DB_Dll& db = e.ctx.gDB();
  db.gServidor = "SQLITE";
  db.gDBName = "TEST";
  db.gUsuario = "sa";
  db.OpenServerADODB(false, 3, "", false);
  ASSERT_TRUE(db.gOpenFlag);
  const std::string larga(300, 'd');
  GrabarErrorTabla(e.ctx, "INSERT INTO X VALUES (1)", "ferolin", 2627, larga);
  const auto filas =
      base.query("SELECT Proceso, Fecha, Error, Descripcion, sql, PC, Usuario FROM AUX_ERR");
  ASSERT_EQ(filas.size(), 1u);
  EXPECT_EQ(filas[0][0], "ferolin");
  EXPECT_TRUE(std::regex_match(*filas[0][1], std::regex(R"(\d\d/\d\d/\d\d \d\d:\d\d)")))
      << *filas[0][1];
  EXPECT_EQ(filas[0][2], "2627");
  EXPECT_EQ(filas[0][3]->size(), 250u);
  EXPECT_EQ(filas[0][4], "INSERT INTO X VALUES (1)");
  EXPECT_EQ(filas[0][5], e.ctx.tarvex.sistema().NombreEquipo());
  EXPECT_EQ(filas[0][6], "sa");

  base.exec("DROP TABLE AUX_ERR;");
  GrabarErrorTabla(e.ctx, "X", "ferolin", 1, "d");
  EXPECT_TRUE(e.prompt.prompts().empty());
}

}  // namespace
}  // namespace ferolin::testing
