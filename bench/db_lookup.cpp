// The account-code check as the main window runs it (fresh SQL text per code,
// through the adapter, a client-side result set and the expression index), and
// a long run of inserts inside one transaction.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "tests/support/temp_folder.h"

namespace {

using ferolin::db::Connection;
using ferolin::db::Recordset;

constexpr int kAccounts = 100000;

std::string Code(int i) {
  return std::to_string(100000 + i);
}

// A data folder with TEST.db: MA_CUENTAS filled with kAccounts codes.
class Database {
 public:
  Database() {
    setenv("FEROLIN_DATOS", folder_.path().c_str(), 1);
    sqlite3* db = nullptr;
    if (sqlite3_open(folder_.file("TEST.db").c_str(), &db) != SQLITE_OK) {
      throw std::runtime_error("cannot create the bench database");
    }
    std::string sql =
        "CREATE TABLE MA_CUENTAS (CODIGO CHAR(20) NOT NULL PRIMARY KEY, DESCRIPCION "
        "VARCHAR(50));"
        "CREATE INDEX IX_MA_CUENTAS_CODIGO ON MA_CUENTAS(LTRIM(RTRIM(CODIGO)) COLLATE NOCASE);"
        "CREATE TABLE TA_CONFIGURACION (GRUPO VARCHAR(50), CLAVE VARCHAR(100) NOT NULL PRIMARY "
        "KEY, VALOR VARCHAR(250));"
        "BEGIN;";
    for (int i = 0; i < kAccounts; ++i) {
      sql +=
          "INSERT INTO MA_CUENTAS VALUES ('" + Code(i) + "','Cuenta " + std::to_string(i) + "');";
    }
    sql += "COMMIT;";
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot fill the bench database");
    cn.Open("PROVIDER=SQLOLEDB;Server=SQLITE;Database =TEST;UId=sa;Pwd=;");
  }
  ~Database() { unsetenv("FEROLIN_DATOS"); }

  ferolin::testing::TempFolder folder_;
  Connection cn;
};

Database& Shared() {
  static Database db;
  return db;
}

void BM_CodeCheck(benchmark::State& state) {
  Connection& cn = Shared().cn;
  int i = 0;
  for (auto _ : state) {
    const std::string code = Code((i++ * 7919) % kAccounts);
    Recordset rs;
    rs.Open(
        "SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='" + code + "'",
        cn);
    if (rs.Eof()) state.SkipWithError("code not found");
    benchmark::DoNotOptimize(rs.Fields("DESCRIPCION").Text());
  }
}
BENCHMARK(BM_CodeCheck)->Unit(benchmark::kMicrosecond);

// The floor: the same lookup prepared and stepped on SQLite directly, with the
// text already in SQLite's dialect.
void BM_CodeCheckSqliteFloor(benchmark::State& state) {
  Shared();
  sqlite3* db = nullptr;
  sqlite3_open_v2(Shared().folder_.file("TEST.db").c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  int i = 0;
  for (auto _ : state) {
    const std::string sql =
        "SELECT * FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) COLLATE NOCASE ='" +
        Code((i++ * 7919) % kAccounts) + "' LIMIT 1";
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (sqlite3_step(stmt) != SQLITE_ROW) state.SkipWithError("code not found");
    benchmark::DoNotOptimize(sqlite3_column_text(stmt, 1));
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
}
BENCHMARK(BM_CodeCheckSqliteFloor)->Unit(benchmark::kMicrosecond);

void BM_TenThousandInsertsInOneTransaction(benchmark::State& state) {
  Connection& cn = Shared().cn;
  for (auto _ : state) {
    cn.BeginTrans();
    for (int i = 0; i < 10000; ++i) {
      cn.Execute("INSERT INTO TA_CONFIGURACION (GRUPO,CLAVE,VALOR) VALUES('FEROLIN','FEROLIN_" +
                 Code(i) + " ','Rev " + std::to_string(i) + "')");
    }
    cn.CommitTrans();
    state.PauseTiming();
    cn.Execute("delete ta_configuracion where grupo = 'FEROLIN'");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TenThousandInsertsInOneTransaction)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
