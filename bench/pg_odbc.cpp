// The ODBC engine against local PostgreSQL, with the accounts master at field
// size. Run through scripts/with-postgres.sh:
//   scripts/with-postgres.sh build-bench/bench/pg_odbc
#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "platform/db/connection.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"
#include "tests/support/pg_fixture.h"

namespace {

using ferolin::db::Connection;
using ferolin::testing::PgBase;

constexpr int kAccounts = 100000;

void FillAccounts() {
  ferolin::testing::ResetPgDatabases();
  ferolin::testing::PgExec(PgBase::Principal,
                           "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TIPO, NIVEL, IMPUTABLE) "
                           "SELECT lpad(g::text, 8, '0'), 'Cliente ' || g || ' S.R.L.', 'A', 4, 1 "
                           "FROM generate_series(1, " +
                               std::to_string(kAccounts) + ") g");
  ferolin::testing::PgExec(PgBase::Principal, "ANALYZE MA_CUENTAS");
}

void SelectAllAccounts(benchmark::State& state, Connection* cn) {
  for (auto _ : state) {
    auto rs = cn->Execute("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS");
    if (rs->RecordCount() != kAccounts) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rs);
  }
  state.counters["rows"] = kAccounts;
}

// One code check per iteration: the statement the check sends, served by the
// trimmed-code index.
void CodeCheck(benchmark::State& state, Connection* cn) {
  long n = 0;
  for (auto _ : state) {
    char code[16];
    std::snprintf(code, sizeof code, "%08ld", 1 + (n++ * 7919) % kAccounts);
    auto rs = cn->Execute(std::string("SELECT * FROM MA_CUENTAS WHERE LTRIM(RTRIM(CODIGO)) = '") +
                          code + "'");
    if (rs->Eof()) state.SkipWithError("code not found");
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Connection cn;
  try {
    FillAccounts();
    cn.Open(ferolin::testing::PgConnectionString());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pg_odbc: %s\n", e.what());
    return 1;
  }
  benchmark::RegisterBenchmark("Select100000AccountsTwoColumns", SelectAllAccounts, &cn)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(2.0);
  benchmark::RegisterBenchmark("CodeCheckLookup", CodeCheck, &cn)
      ->Unit(benchmark::kMicrosecond)
      ->Iterations(10000);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
