#pragma once
// A throw-away data folder for tests: datos/TEST.db (the main database) and
// datos/KV_ESTADISTICAS.db, both with the full schema, found by the client
// through FEROLIN_DATOS for as long as the object lives.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace ferolin::testing {

class TestDatabase {
 public:
  enum class Datos { Vacia, Demo };

  // Vacia: tables only. Demo: the demo rows too (accounts, customers, users...).
  explicit TestDatabase(Datos datos = Datos::Vacia);
  ~TestDatabase();  // puts FEROLIN_DATOS back as it was
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  // "PROVIDER=SQLOLEDB;Server=SQLITE;Database =TEST;UId=sa;Pwd=;"
  std::string connectionString() const;
  // The statistics database with its own log-in, as the program opens it.
  std::string statsConnectionString() const;

  // Raw SQLite SQL (one or more statements) for fixtures. Throws
  // std::runtime_error with SQLite's message when a statement fails.
  void exec(const std::string& sqliteSql) const;
  void execStats(const std::string& sqliteSql) const;

  // Rows of a query; a null cell is std::nullopt, any other value its text.
  using Row = std::vector<std::optional<std::string>>;
  std::vector<Row> query(const std::string& sqliteSql) const;
  std::vector<Row> queryStats(const std::string& sqliteSql) const;
  // First column of the first row as text ("" for null); throws without rows.
  std::string scalar(const std::string& sqliteSql) const;

  // The temporary program folder (holding datos/), with and without the
  // trailing separator the program uses for folders.
  const std::filesystem::path& folder() const { return folder_.path(); }
  std::string folderWithSlash() const { return folder_.withSlash(); }
  std::filesystem::path datos() const { return folder_.path() / "datos"; }
  std::filesystem::path mainFile() const { return datos() / "TEST.db"; }
  std::filesystem::path statsFile() const { return datos() / "KV_ESTADISTICAS.db"; }

 private:
  TempFolder folder_;
  std::optional<std::string> previousDatos_;
};

}  // namespace ferolin::testing
