// The ODBC engine and the program's list work against local PostgreSQL, with
// the accounts master at field size (100,000 accounts) and a stored list of
// 10,000 entries. Run through scripts/with-postgres.sh:
//   scripts/with-postgres.sh build-bench/bench/pg_odbc
// Targets: the list loaded in at most 2 s, saved in at most 1.5 s, 100,000
// rows of two columns read in at most 0.3 s.
//
// The window reads the accounts of a long load or import in statements of
// 500 codes and saves in INSERTs of 200 rows; LoadList10000 and SaveList10000
// keep the one-statement-per-entry way as the reference it replaced.
// Fastest of three, Release, 2-core machine at rest (round trip 107 us):
//   RoundTripSelect1                      107 us
//   Select100000AccountsTwoColumns        75 ms
//   CodeCheckExisteEnTabla                219 us (client CPU 74 us)
//   LoadList10000 (one check per entry)   2.38 s
//   SaveList10000 (one insert per entry)  4.26 s with savepoints, 2.42 s without
//   WindowLoadList10000                   260 ms (2.82 s checking each entry)
//   WindowSaveList10000                   348 ms (2.71 s inserting each entry)
// Each statement costs its round trip plus the server's parse and plan
// (about 0.6 ms cold in EXPLAIN ANALYZE); psql sending the same statements
// one by one takes as long, so only fewer statements make the list faster.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "data_access/db_dll.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "platform/db/connection.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"
#include "startup/contexto_programa.h"
#include "tests/support/pg_fixture.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_folder.h"

namespace {

using ferolin::ContextoPrograma;
using ferolin::DB_Dll;
using ferolin::testing::PgBase;

constexpr int kAccounts = 100000;
constexpr int kList = 10000;

std::string Code(long n) {
  char code[16];
  std::snprintf(code, sizeof code, "%08ld", n);
  return code;
}

void FillAccounts() {
  ferolin::testing::ResetPgDatabases();
  ferolin::testing::PgExec(PgBase::Principal,
                           "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION, TIPO, NIVEL, IMPUTABLE) "
                           "SELECT lpad(g::text, 8, '0'), 'Cliente ' || g || ' S.R.L.', 'A', 4, 1 "
                           "FROM generate_series(1, " +
                               std::to_string(kAccounts) + ") g");
  ferolin::testing::PgExec(PgBase::Principal, "ANALYZE MA_CUENTAS");
}

// The stored list: every ninth account, each with a comment.
void StoreList() {
  ferolin::testing::PgExec(
      PgBase::Principal,
      "DELETE FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'; "
      "INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) "
      "SELECT 'FEROLIN', 'FEROLIN_' || lpad((g * 9)::text, 8, '0') || ' ', 'Comentario ' || g "
      "FROM generate_series(1, " +
          std::to_string(kList) + ") g; ANALYZE TA_CONFIGURACION");
}

// The program's objects on the server: gDB opened as the start-up opens it,
// and the main window over it.
struct Program {
  Program() {
    std::filesystem::create_directories(folder.path() / "Styles");
    std::ofstream(folder.path() / "Styles" / "iTunes.qss") << "";
    ctx = std::make_unique<ContextoPrograma>(prompt, folder.withSlash());
    DB_Dll& g = ctx->gDB();
    g.OpenServerADODB(false, 3, ferolin::testing::PgConnectionString(), false, false);
    if (!g.gOpenFlag) throw std::runtime_error("gDB did not open on the test server");
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (window) window->close();
  }

  ferolin::Frm_Ferolin& Window() {
    if (!window) {
      ferolin::Frm_Ferolin::Servicios s;
      s.iniciar = [] { return true; };
      s.finalizar = [] {};
      window = std::make_unique<ferolin::Frm_Ferolin>(*ctx, s);
      if (!window->Form_Load()) throw std::runtime_error("the window did not load");
      window->show();
      if (!QTest::qWaitForWindowExposed(window.get())) {
        throw std::runtime_error("the window was not shown");
      }
    }
    return *window;
  }

  ferolin::testing::TempFolder folder;
  ferolin::testing::ScriptedPrompt prompt;
  std::unique_ptr<ContextoPrograma> ctx;
  std::unique_ptr<ferolin::Frm_Ferolin> window;
};

long StoredCount() {
  ferolin::db::Connection cn;
  cn.Open(ferolin::testing::PgConnectionString());
  auto rs = cn.Execute("SELECT count(*) FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'");
  return static_cast<long>(rs->Fields(std::size_t{0}).value().ToNumber());
}

void SelectAllAccounts(benchmark::State& state, Program* p) {
  ferolin::db::Connection& cn = p->ctx->gDB().gCnn();
  for (auto _ : state) {
    auto rs = cn.Execute("SELECT CODIGO, DESCRIPCION FROM MA_CUENTAS");
    if (rs->RecordCount() != kAccounts) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rs);
  }
  state.counters["rows"] = kAccounts;
}

// Text computed by the server has no declared length: psqlODBC describes it
// as long text, which is read cell by cell instead of in blocks.
void SelectComputedText(benchmark::State& state, Program* p) {
  ferolin::db::Connection& cn = p->ctx->gDB().gCnn();
  for (auto _ : state) {
    auto rs = cn.Execute("SELECT CODIGO, 'Cuenta ' || DESCRIPCION::text FROM MA_CUENTAS");
    if (rs->RecordCount() != kAccounts) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rs);
  }
  state.counters["rows"] = kAccounts;
}

// The floor every statement pays: one round trip to the server.
void RoundTrip(benchmark::State& state, Program* p) {
  ferolin::db::Connection& cn = p->ctx->gDB().gCnn();
  for (auto _ : state) benchmark::DoNotOptimize(cn.Execute("SELECT 1"));
}

// One code check per iteration, as the editor makes it: ExisteEnTabla into
// the window's own result set, the statement served by the trimmed-code index.
void CodeCheck(benchmark::State& state, Program* p) {
  DB_Dll& g = p->ctx->gDB();
  ferolin::db::Recordset rs;
  long n = 0;
  for (auto _ : state) {
    const std::string code = Code(1 + (n++ * 7919) % kAccounts);
    if (!g.ExisteEnTabla("MA_CUENTAS", code, "CODIGO", &rs, 8, "", true)) {
      state.SkipWithError("code not found");
    }
  }
}

// The list load without the grid, one check per entry: the list's statement,
// then every code checked and its description read.
void LoadList(benchmark::State& state, Program* p) {
  StoreList();
  DB_Dll& g = p->ctx->gDB();
  ferolin::db::Recordset list;
  ferolin::db::Recordset check;
  for (auto _ : state) {
    std::string sql = ferolin::lista::kSentenciaLista;
    g.AbrirRecordset(sql, list);
    long found = 0;
    for (; !list.Eof(); list.MoveNext()) {
      const std::string code = ferolin::lista::CodigoDeClave(list.Fields("Clave").Text());
      if (g.ExisteEnTabla("MA_CUENTAS", code, "CODIGO", &check, 8, "", true)) {
        benchmark::DoNotOptimize(check.Fields("Descripcion").Text());
        ++found;
      }
    }
    g.CierraRecordset(list);
    if (found != kList) state.SkipWithError("codes missing");
  }
  state.counters["entries"] = kList;
}

// The save without the grid, one insert per entry: one transaction, the
// delete, then per entry the insert and the error check. With savepoints, each insert between a
// savepoint of its own and its release, as the window does on PostgreSQL;
// without, the driver's own statement rollback (psqlODBC undoes only the
// refused statement inside a transaction) is all that keeps a refused row
// from ending the transaction.
void SaveList(benchmark::State& state, Program* p, bool savepoints) {
  DB_Dll& g = p->ctx->gDB();
  ferolin::db::Connection& cn = g.gCnn();
  std::vector<std::string> inserts;
  for (int i = 1; i <= kList; ++i) {
    inserts.push_back(
        ferolin::lista::SentenciaInsertarCuenta(Code(i * 9), "Comentario " + Code(i)));
  }
  for (auto _ : state) {
    cn.BeginTrans();
    g.EjecutaConsultaSQL(ferolin::lista::kSentenciaBorrarLista);
    for (const std::string& insert : inserts) {
      if (savepoints) cn.Execute("SAVEPOINT f1");
      cn.Errors().Clear();
      std::string sql = insert;
      g.EjecutaConsultaSQL(sql);
      if (!cn.Errors().Empty()) {
        state.SkipWithError(cn.Errors().Item(0).description.c_str());
        if (savepoints) cn.Execute("ROLLBACK TO SAVEPOINT f1");
      }
      if (savepoints) cn.Execute("RELEASE SAVEPOINT f1");
    }
    cn.CommitTrans();
  }
  if (StoredCount() != kList) state.SkipWithError("list not saved");
  state.counters["entries"] = kList;
}

// The same through the main window: the grid filled entry by entry through
// the editor's check, and GRABAR's save of the grid.
void WindowLoadList(benchmark::State& state, Program* p) {
  StoreList();
  ferolin::Frm_Ferolin& w = p->Window();
  for (auto _ : state) w.InicializaGrid2();
  if (w.MSFlexGrid1().Rows() != kList + 2) state.SkipWithError("list incomplete");
  state.counters["entries"] = kList;
}

void WindowSaveList(benchmark::State& state, Program* p) {
  StoreList();
  ferolin::Frm_Ferolin& w = p->Window();
  w.InicializaGrid2();
  for (auto _ : state) w.ProcesoPrincipal();
  if (StoredCount() != kList) state.SkipWithError("list not saved");
  state.counters["entries"] = kList;
}

// On a shared machine the fastest of several repetitions
// (--benchmark_repetitions=N) is the figure least disturbed by other work.
double Lowest(const std::vector<double>& v) {
  return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

}  // namespace

int main(int argc, char** argv) {
  // The window needs an application; the support library's main() is not
  // this program's.
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                  : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  std::unique_ptr<Program> program;
  try {
    FillAccounts();
    program = std::make_unique<Program>();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pg_odbc: %s\n", e.what());
    return 1;
  }
  Program* p = program.get();
  benchmark::RegisterBenchmark("RoundTripSelect1", RoundTrip, p)
      ->Unit(benchmark::kMicrosecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(10000);
  benchmark::RegisterBenchmark("Select100000AccountsTwoColumns", SelectAllAccounts, p)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->MinTime(2.0);
  benchmark::RegisterBenchmark("Select100000AccountsComputedText", SelectComputedText, p)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->MinTime(2.0);
  benchmark::RegisterBenchmark("CodeCheckExisteEnTabla", CodeCheck, p)
      ->Unit(benchmark::kMicrosecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(10000);
  benchmark::RegisterBenchmark("LoadList10000", LoadList, p)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(3);
  benchmark::RegisterBenchmark("SaveList10000", SaveList, p, true)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(3);
  benchmark::RegisterBenchmark("SaveList10000DriverSavepointsOnly", SaveList, p, false)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(3);
  benchmark::RegisterBenchmark("WindowLoadList10000", WindowLoadList, p)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(3);
  benchmark::RegisterBenchmark("WindowSaveList10000", WindowSaveList, p)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", Lowest)
      ->Iterations(3);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  program.reset();
  return 0;
}
