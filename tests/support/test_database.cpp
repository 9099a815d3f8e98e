#include "tests/support/test_database.h"

#include <sqlite3.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "schema/esquema.h"

namespace ferolin::testing {
namespace {

struct CloseSqlite {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Handle = std::unique_ptr<sqlite3, CloseSqlite>;

struct FinalizeStatement {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

Handle OpenFile(const std::filesystem::path& file) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(file.string().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  Handle db(raw);
  if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + file.string());
  sqlite3_busy_timeout(db.get(), 5000);
  return db;
}

void Exec(const std::filesystem::path& file, const std::string& sql) {
  Handle db = OpenFile(file);
  char* error = nullptr;
  if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : sqlite3_errmsg(db.get());
    sqlite3_free(error);
    throw std::runtime_error("fixture SQL failed: " + message + "\n" + sql);
  }
}

std::vector<TestDatabase::Row> Query(const std::filesystem::path& file, const std::string& sql) {
  Handle db = OpenFile(file);
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    throw std::runtime_error(std::string("fixture query failed: ") + sqlite3_errmsg(db.get()) +
                             "\n" + sql);
  }
  std::unique_ptr<sqlite3_stmt, FinalizeStatement> stmt(raw);
  std::vector<TestDatabase::Row> rows;
  int rc;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    TestDatabase::Row row;
    for (int i = 0; i < sqlite3_column_count(stmt.get()); ++i) {
      if (sqlite3_column_type(stmt.get(), i) == SQLITE_NULL) {
        row.emplace_back(std::nullopt);
      } else {
        const auto* text = sqlite3_column_text(stmt.get(), i);
        row.emplace_back(
            std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt.get(), i)));
      }
    }
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    throw std::runtime_error(std::string("fixture query failed: ") + sqlite3_errmsg(db.get()));
  }
  return rows;
}

}  // namespace

TestDatabase::TestDatabase(Datos datos) {
  std::filesystem::create_directories(this->datos());
  schema::CrearBaseSqlite(mainFile(), schema::Base::Principal);
  schema::CrearBaseSqlite(statsFile(), schema::Base::Estadisticas);
  if (datos == Datos::Demo) {
    schema::CargarDatosDemo(mainFile(), schema::Base::Principal);
    schema::CargarDatosDemo(statsFile(), schema::Base::Estadisticas);
  }
  if (const char* previous = std::getenv("FEROLIN_DATOS")) previousDatos_ = previous;
  setenv("FEROLIN_DATOS", this->datos().string().c_str(), 1);
}

TestDatabase::~TestDatabase() {
  if (previousDatos_) {
    setenv("FEROLIN_DATOS", previousDatos_->c_str(), 1);
  } else {
    unsetenv("FEROLIN_DATOS");
  }
}

std::string TestDatabase::connectionString() const {
  return "PROVIDER=SQLOLEDB;Server=SQLITE;Database =TEST;UId=sa;Pwd=;";
}

std::string TestDatabase::statsConnectionString() const {
  return "PROVIDER=SQLOLEDB;Server=SQLITE;Database =KV_ESTADISTICAS;UId=KV_ESTADISTICAS;"
         "Pwd=QT_MIRANDOLESCA;";
}

void TestDatabase::exec(const std::string& sqliteSql) const {
  Exec(mainFile(), sqliteSql);
}
void TestDatabase::execStats(const std::string& sqliteSql) const {
  Exec(statsFile(), sqliteSql);
}

std::vector<TestDatabase::Row> TestDatabase::query(const std::string& sqliteSql) const {
  return Query(mainFile(), sqliteSql);
}
std::vector<TestDatabase::Row> TestDatabase::queryStats(const std::string& sqliteSql) const {
  return Query(statsFile(), sqliteSql);
}

std::string TestDatabase::scalar(const std::string& sqliteSql) const {
  auto rows = query(sqliteSql);
  if (rows.empty() || rows.front().empty()) throw std::runtime_error("no row: " + sqliteSql);
  return rows.front().front().value_or("");
}

}  // namespace ferolin::testing
