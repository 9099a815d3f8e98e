#include "schema/esquema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <string>

#include "tests/support/temp_folder.h"
#include "tests/support/test_database.h"

namespace ferolin::schema {
namespace {

using ferolin::testing::TempFolder;
using ferolin::testing::TestDatabase;

// Every object the program and its lookups name in the main database.
const char* const kObjetosPrincipal[] = {"TA_CONFIGURACION",
                                         "MA_CUENTAS",
                                         "VT_CLIENTES",
                                         "VT_PROVEEDORES",
                                         "TA_USUARIOS",
                                         "AUX_ERR",
                                         "Control_Acceso",
                                         "TA_TAREAS",
                                         "TA_MENU",
                                         "V_MV_FALTANTES",
                                         "SS_MA_CUENTAS",
                                         "SS_V_TA_DEPOSITO",
                                         "SS_MV_ASIENTOS",
                                         "SS_V_TA_FAMILIAS",
                                         "SS_V_TA_CAJAS",
                                         "SS_AC_CUENTASDIARIO",
                                         "SS_AC_CUENTAS_DIARIO_CCOSTO",
                                         "V_TA_FAMILIAS",
                                         "MA_POSICIONES",
                                         "TA_CCOSTO",
                                         "V_MA_ARTICULOS",
                                         "VT_MA_ARTICULOS",
                                         "STK_MA_ARTICULOS",
                                         "V_TA_DEPOSITO",
                                         "MA_CONTACTOS",
                                         "V_TA_VENDEDORES",
                                         "V_TA_TECNICOS",
                                         "V_MA_MANTENIMIENTOS",
                                         "V_TA_Tareas",
                                         "V_TA_UnidadNegocio",
                                         "V_TA_CAJAS",
                                         "MV_ASIENTOS",
                                         "AC_CUENTASDIARIO",
                                         "AC_CUENTASDIARIO_CCOSTO"};

std::string Minusculas(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// Runs SQL expected to fail and returns SQLite's message.
std::string Falla(const TestDatabase& db, const std::string& sql) {
  try {
    db.exec(sql);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(Esquema, CreaCadaObjetoQueElProgramaNombra) {
  TestDatabase db;
  for (const char* nombre : kObjetosPrincipal) {
    EXPECT_EQ(db.scalar("SELECT count(*) FROM sqlite_master WHERE name = '" + std::string(nombre) +
                        "' COLLATE NOCASE"),
              "1")
        << nombre;
  }
  EXPECT_EQ(db.queryStats("SELECT name FROM sqlite_master WHERE type = 'table'").size(), 1u);
  EXPECT_EQ(db.queryStats("SELECT VALOR FROM TA_CONFIGURACION").size(), 0u);
}

TEST(Esquema, LaConsultaDelCodigoUsaElIndiceDelCodigoRecortado) {
  TestDatabase db;
  // The form the SQLite adapter gives the code check, on the table and on the
  // non-administrator's synonym.
  for (const char* tabla : {"MA_CUENTAS", "SS_MA_CUENTAS"}) {
    std::string plan;
    for (const auto& fila : db.query(std::string("EXPLAIN QUERY PLAN SELECT * FROM ") + tabla +
                                     " WHERE LTRIM(RTRIM(CODIGO)) COLLATE NOCASE = '1001'")) {
      plan += fila.back().value_or("") + "\n";
    }
    EXPECT_NE(plan.find("ix_ma_cuentas_codigo_trim"), std::string::npos) << tabla << "\n" << plan;
  }
}

TEST(Esquema, LasClavesDeTextoNoDistinguenMayusculas) {
  TestDatabase db;
  db.exec(
      "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES (' ab12 ', 'Cuenta');"
      "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('BaseDeDatos', 'TIMEOUT', "
      "'90')");
  EXPECT_EQ(db.scalar("SELECT DESCRIPCION FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) COLLATE "
                      "NOCASE = 'AB12'"),
            "Cuenta");
  EXPECT_EQ(db.scalar("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'"), "90");
  EXPECT_EQ(db.scalar("SELECT count(*) FROM TA_CONFIGURACION WHERE CLAVE LIKE 'time%'"), "1");
}

TEST(Esquema, ElListaRechazaUnaClaveRepetidaDelMismoGrupo) {
  TestDatabase db;
  db.exec("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_1001 ','a')");
  // The same key in another letter case is the same key on the suite's server.
  for (const char* clave : {"FEROLIN_1001 ", "ferolin_1001 "}) {
    std::string error = Falla(db, std::string("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) "
                                              "VALUES('FEROLIN','") +
                                      clave + "','b')");
    EXPECT_NE(error.find("UNIQUE constraint failed"), std::string::npos) << clave << error;
  }
  db.exec("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('OTRO','FEROLIN_1001 ','c')");
  EXPECT_EQ(db.scalar("SELECT count(*) FROM TA_CONFIGURACION"), "2");
  EXPECT_EQ(db.scalar("SELECT VALOR FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'"), "a");
}

TEST(Esquema, UnTextoMasLargoQueSuColumnaSeRechazaConSuRestriccionDeLargo) {
  struct Caso {
    std::string tabla, columna, otras, valoresOtras;
    int largo;
  };
  const Caso casos[] = {
      {"TA_CONFIGURACION", "CLAVE", "GRUPO", "'FEROLIN'", 50},
      {"TA_CONFIGURACION", "VALOR", "CLAVE", "'K'", 255},
      {"MA_CUENTAS", "CODIGO", "DESCRIPCION", "'d'", 20},
      {"MA_CUENTAS", "DESCRIPCION", "CODIGO", "'1'", 60},
      {"VT_CLIENTES", "IVA", "CODIGO", "'1'", 4},
      {"AUX_ERR", "Descripcion", "Proceso", "'FEROLIN'", 250},
      {"Control_Acceso", "Maquina", "Usuario", "'SA'", 50},
  };
  for (const Caso& c : casos) {
    TestDatabase db;
    auto insertar = [&](int n) {
      return "INSERT INTO " + c.tabla + " (" + c.otras + "," + c.columna + ") VALUES (" +
             c.valoresOtras + ",'" + std::string(n, 'x') + "')";
    };
    EXPECT_EQ(Falla(db, insertar(c.largo)), "") << c.tabla << "." << c.columna;
    db.exec("DELETE FROM " + c.tabla);
    std::string error = Falla(db, insertar(c.largo + 1));
    EXPECT_NE(error.find("len_" + c.tabla + "_" + c.columna), std::string::npos)
        << c.tabla << "." << c.columna << ": " << error;
    EXPECT_EQ(db.scalar("SELECT count(*) FROM " + c.tabla), "0");
  }
}

TEST(Esquema, LaVistaDeFaltantesAceptaElAltaDeLaConsulta) {
  TestDatabase db;
  db.exec(
      "INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) "
      "values('11/12/2026 10:00','BEB001                   ','Agua','OPERADOR')");
  EXPECT_EQ(db.scalar("SELECT Usuario FROM MV_FALTANTES"), "OPERADOR");
}

TEST(Esquema, CrearBaseNoReemplazaUnArchivoExistente) {
  TempFolder tmp;
  auto archivo = tmp.file("X.db");
  { std::ofstream(archivo) << "no es una base"; }
  EXPECT_THROW(CrearBaseSqlite(archivo, Base::Principal), std::runtime_error);
  std::ifstream in(archivo);
  std::string contenido((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(contenido, "no es una base");
}

TEST(Esquema, CargarDatosEnUnaBaseInexistenteFallaSinCrearla) {
  TempFolder tmp;
  EXPECT_THROW(CargarDatosDemo(tmp.file("NO.db"), Base::Principal), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(tmp.file("NO.db")));
}

class DatosDemo : public ::testing::Test {
 protected:
  TestDatabase db{TestDatabase::Datos::Demo};
};

TEST_F(DatosDemo, TieneCuentasClientesYLaListaGuardada) {
  EXPECT_GE(std::stoi(db.scalar("SELECT count(*) FROM MA_CUENTAS")), 300);
  // The customer lookup lists registered payers stored either way.
  for (const char* iva : {"1", "   1"}) {
    EXPECT_GE(std::stoi(db.scalar(std::string("SELECT count(*) FROM VT_CLIENTES WHERE IVA = '") +
                                  iva + "'")),
              20)
        << "[" << iva << "]";
  }
  EXPECT_GE(std::stoi(db.scalar("SELECT count(*) FROM VT_CLIENTES WHERE IVA NOT IN ('1','   1')")),
            20);
  // Some customers still lack their account, so choosing them is refused.
  EXPECT_GE(std::stoi(db.scalar("SELECT count(*) FROM VT_CLIENTES c WHERE (IVA = '   1' OR IVA = "
                                "'1') AND NOT EXISTS (SELECT 1 FROM MA_CUENTAS m WHERE m.CODIGO "
                                "= c.CODIGO)")),
            1);
  // Every stored entry is "FEROLIN_" + an existing code + one blank.
  auto lista = db.query("SELECT CLAVE FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'");
  ASSERT_GE(lista.size(), 3u);
  std::regex forma("FEROLIN_(\\S+) ");
  for (const auto& fila : lista) {
    std::smatch m;
    const std::string clave = fila[0].value_or("");
    ASSERT_TRUE(std::regex_match(clave, m, forma)) << clave;
    EXPECT_EQ(db.scalar("SELECT count(*) FROM MA_CUENTAS WHERE CODIGO = '" + m[1].str() + "'"),
              "1");
  }
}

TEST_F(DatosDemo, TieneUnAdministradorYUnOperador) {
  EXPECT_EQ(db.scalar("SELECT Administrador FROM TA_USUARIOS WHERE nombre = 'supervisor'"), "1");
  EXPECT_EQ(db.scalar("SELECT Administrador FROM TA_USUARIOS WHERE nombre = 'OPERADOR'"), "0");
  EXPECT_EQ(db.scalar("SELECT count(*) FROM TA_TAREAS INNER JOIN TA_MENU ON TA_TAREAS.TAREA = "
                      "TA_MENU.Clave WHERE TA_TAREAS.USUARIO = 'OPERADOR' AND TA_MENU.Proceso "
                      "LIKE '%FEROLIN%'"),
            "1");
}

TEST_F(DatosDemo, LosSinonimosRestringidosOcultanLoConfidencial) {
  struct Caso {
    const char* base;
    const char* sinonimo;
  };
  for (const Caso& c :
       {Caso{"MA_CUENTAS", "SS_MA_CUENTAS"}, Caso{"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO"},
        Caso{"MV_ASIENTOS", "SS_MV_ASIENTOS"}, Caso{"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS"},
        Caso{"V_TA_CAJAS", "SS_V_TA_CAJAS"}, Caso{"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO"},
        Caso{"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO"}}) {
    int todos = std::stoi(db.scalar(std::string("SELECT count(*) FROM ") + c.base));
    int visibles = std::stoi(db.scalar(std::string("SELECT count(*) FROM ") + c.sinonimo));
    EXPECT_GT(visibles, 0) << c.sinonimo;
    EXPECT_LT(visibles, todos) << c.sinonimo;
  }
}

TEST_F(DatosDemo, LaEstadisticaTraeElTiempoDeEspera) {
  EXPECT_EQ(db.queryStats("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'").at(0).at(0),
            "120");
}

TEST(Demo, CrearDemoReemplazaLaAnterior) {
  TempFolder tmp;
  auto datos = tmp.path() / "datos";
  CrearDemo(datos);
  { std::ofstream(datos / "DEMO.db", std::ios::trunc) << "vieja"; }
  CrearDemo(datos);
  EXPECT_GT(std::filesystem::file_size(datos / "DEMO.db"), 10000u);
  EXPECT_TRUE(std::filesystem::exists(datos / "KV_ESTADISTICAS.db"));
  EXPECT_FALSE(std::filesystem::exists(datos / "DEMO.db.nuevo"));
}

TEST(TestDatabaseFixture, ApuntaFeroLinDatosYLoRestaura) {
  setenv("FEROLIN_DATOS", "/antes", 1);
  {
    TestDatabase db;
    EXPECT_EQ(std::string(std::getenv("FEROLIN_DATOS")), db.datos().string());
    EXPECT_TRUE(std::filesystem::exists(db.mainFile()));
  }
  EXPECT_EQ(std::string(std::getenv("FEROLIN_DATOS")), "/antes");
  unsetenv("FEROLIN_DATOS");
}

// Both engines must hold the same objects: a table added to one form only
// would make the program fail on the other.
TEST(EsquemaPostgres, NombraLosMismosObjetosQueElDeSqlite) {
  std::string principal = Minusculas(DdlPostgres(Base::Principal));
  for (const char* nombre : kObjetosPrincipal) {
    std::regex crea("create (table|view) " + Minusculas(nombre) + "[ (]");
    EXPECT_TRUE(std::regex_search(principal, crea)) << nombre;
  }
  EXPECT_NE(Minusculas(DdlPostgres(Base::Estadisticas)).find("create table ta_configuracion"),
            std::string::npos);
}

}  // namespace
}  // namespace ferolin::schema
