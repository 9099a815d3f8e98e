#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

#include "schema/esquema.h"
#include "schema/sql_textos.h"

namespace ferolin::schema {
namespace {

namespace fs = std::filesystem;

struct CerrarSqlite {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using BaseAbierta = std::unique_ptr<sqlite3, CerrarSqlite>;

std::string_view Texto(const char* nombre) {
  std::string_view texto = TextoSql(nombre);
  if (texto.empty()) throw std::logic_error(std::string("schema text missing: ") + nombre);
  return texto;
}

std::string_view Ddl(Base base) {
  return Texto(base == Base::Principal ? "sqlite/principal.sql" : "sqlite/estadisticas.sql");
}

std::string_view Demo(Base base) {
  return Texto(base == Base::Principal ? "sqlite/demo_principal.sql"
                                       : "sqlite/demo_estadisticas.sql");
}

BaseAbierta Abrir(const fs::path& file, int flags) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(file.string().c_str(), &raw, flags, nullptr);
  BaseAbierta db(raw);
  if (rc != SQLITE_OK) {
    std::string detalle = db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc);
    throw std::runtime_error("cannot open " + file.string() + ": " + detalle);
  }
  sqlite3_extended_result_codes(db.get(), 1);
  return db;
}

// Runs a whole script in one transaction: it either takes full effect or none.
void EjecutarScript(sqlite3* db, std::string_view script, const fs::path& file) {
  char* error = nullptr;
  std::string texto = "BEGIN;\n" + std::string(script) + "\nCOMMIT;";
  if (sqlite3_exec(db, texto.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string detalle = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw std::runtime_error("script failed on " + file.string() + ": " + detalle);
  }
}

void BorrarSiExiste(const fs::path& file) {
  std::error_code ec;
  fs::remove(file, ec);
  fs::remove(fs::path(file.string() + "-journal"), ec);
}

}  // namespace

void CrearBaseSqlite(const fs::path& file, Base base) {
  if (fs::exists(file)) throw std::runtime_error("database file already exists: " + file.string());
  try {
    BaseAbierta db = Abrir(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    EjecutarScript(db.get(), Ddl(base), file);
  } catch (...) {
    // A half-made file would later be taken for a database.
    BorrarSiExiste(file);
    throw;
  }
}

void CargarDatosDemo(const fs::path& file, Base base) {
  BaseAbierta db = Abrir(file, SQLITE_OPEN_READWRITE);
  EjecutarScript(db.get(), Demo(base), file);
}

void CrearDemo(const fs::path& datos) {
  fs::create_directories(datos);
  const std::pair<const char*, Base> bases[] = {{"DEMO.db", Base::Principal},
                                                {"KV_ESTADISTICAS.db", Base::Estadisticas}};
  for (const auto& [nombre, base] : bases) {
    // Built beside the final name and moved over it, so a failure leaves the
    // earlier demo in place.
    fs::path destino = datos / nombre;
    fs::path provisorio = datos / (std::string(nombre) + ".nuevo");
    BorrarSiExiste(provisorio);
    try {
      CrearBaseSqlite(provisorio, base);
      CargarDatosDemo(provisorio, base);
    } catch (...) {
      BorrarSiExiste(provisorio);
      throw;
    }
    BorrarSiExiste(fs::path(destino.string() + "-journal"));
    fs::rename(provisorio, destino);
  }
}

std::string DdlPostgres(Base base) {
  return std::string(Texto("postgres/comun.sql")) +
         std::string(
             Texto(base == Base::Principal ? "postgres/principal.sql" : "postgres/estadisticas.sql"));
}

}  // namespace ferolin::schema
