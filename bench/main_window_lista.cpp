// The main window on the embedded engine, MA_CUENTAS with 100,000 accounts:
// loading a stored list of 10,000 entries (each code checked through the
// editor), saving those rows, importing a 10,000-line file, and the start-up
// to the window shown on the demo data. Peak memory is reported (MB).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "data_access/db_dll.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/planilla_window.h"
#include "startup/contexto_programa.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace {

using ferolin::ContextoPrograma;
using ferolin::Frm_Ferolin;
using ferolin::PlanillaWindow;

constexpr int kCuentas = 100000;
constexpr int kLista = 10000;

double PicoMemoriaMB() {
  std::ifstream in("/proc/self/status");
  std::string linea;
  while (std::getline(in, linea))
    if (linea.rfind("VmHWM:", 0) == 0) return std::atof(linea.c_str() + 6) / 1024.0;
  return 0;
}

void Estilos(const std::filesystem::path& carpeta) {
  std::filesystem::create_directories(carpeta / "Styles");
  std::ofstream(carpeta / "Styles" / "iTunes.qss") << "";
}

struct Entorno {
  Entorno() {
    Estilos(db.folder());
    db.exec("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " +
            std::to_string(kCuentas) +
            ") INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) SELECT printf('%06d', x), "
            "'CUENTA ' || x FROM c;");
    ctx = std::make_unique<ContextoPrograma>(prompt, db.folderWithSlash());
    Frm_Ferolin::Servicios s;
    s.iniciar = [this] {
      ctx->gDB().OpenServerADODB(false, 3, db.connectionString(), false, false);
      return ctx->gDB().gOpenFlag;
    };
    s.finalizar = [] {};
    ventana = std::make_unique<Frm_Ferolin>(*ctx, s);
    ventana->Form_Load();
    ventana->show();
    if (!QTest::qWaitForWindowExposed(ventana.get())) std::abort();
  }
  void GuardarLista() {
    db.exec(
        "DELETE FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN';"
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " +
        std::to_string(kLista) +
        ") INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) SELECT 'FEROLIN', 'FEROLIN_' "
        "|| printf('%06d', x * 9) || ' ', 'Comentario ' || x FROM c;");
  }
  ferolin::testing::TestDatabase db;
  ferolin::testing::ScriptedPrompt prompt;
  std::unique_ptr<ContextoPrograma> ctx;
  std::unique_ptr<Frm_Ferolin> ventana;
};

Entorno& Compartido() {
  static Entorno e;
  return e;
}

void BM_CargarLista(benchmark::State& state) {
  Entorno& e = Compartido();
  e.GuardarLista();
  for (auto _ : state) e.ventana->InicializaGrid2();
  if (e.ventana->MSFlexGrid1().Rows() != kLista + 2) state.SkipWithError("lista incompleta");
  state.counters["peak_MB"] = PicoMemoriaMB();
}
BENCHMARK(BM_CargarLista)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GrabarLista(benchmark::State& state) {
  Entorno& e = Compartido();
  e.GuardarLista();
  e.ventana->InicializaGrid2();
  for (auto _ : state) e.ventana->ProcesoPrincipal();
  if (e.db.scalar("SELECT COUNT(*) FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'") !=
      std::to_string(kLista)) {
    state.SkipWithError("lista no guardada");
  }
  state.counters["peak_MB"] = PicoMemoriaMB();
}
BENCHMARK(BM_GrabarLista)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportarArchivo(benchmark::State& state) {
  Entorno& e = Compartido();
  e.db.exec("DELETE FROM TA_CONFIGURACION WHERE GRUPO = 'FEROLIN'");
  const auto ruta = e.db.folder() / "importar.txt";
  {
    std::ofstream out(ruta, std::ios::binary);
    for (int i = 1; i <= kLista; ++i) {
      char linea[64];
      std::snprintf(linea, sizeof linea, "%06d,Comentario %d\r\n", i * 7, i);
      out << linea;
    }
  }
  for (auto _ : state) {
    e.prompt.Answer(6).AnswerFile(ruta.string());
    e.ventana->CmdBuscar_Click();
  }
  if (e.ventana->MSFlexGrid1().Rows() != kLista + 2) state.SkipWithError("importacion incompleta");
  state.counters["peak_MB"] = PicoMemoriaMB();
}
BENCHMARK(BM_ImportarArchivo)->Unit(benchmark::kMillisecond)->Iterations(3);

// PLANILLA: the master-table sheet over the 100,000 accounts.
void BM_AbrirPlanilla(benchmark::State& state) {
  Entorno& e = Compartido();
  for (auto _ : state) {
    PlanillaWindow planilla(e.ctx->gDB(), "MA_CUENTAS", "Maestro de Cuentas");
    planilla.show();
    if (!QTest::qWaitForWindowExposed(&planilla)) state.SkipWithError("planilla no mostrada");
    if (planilla.FilasTotales() != kCuentas) state.SkipWithError("planilla incompleta");
  }
  state.counters["peak_MB"] = PicoMemoriaMB();
}
BENCHMARK(BM_AbrirPlanilla)->Unit(benchmark::kMillisecond)->Iterations(3);

// From the program context to the window shown, through the real start-up
// (launch parameters, connection, configuration, access log) on the demo data.
void BM_Arranque(benchmark::State& state) {
  ferolin::testing::TestDatabase db(ferolin::testing::TestDatabase::Datos::Demo);
  Estilos(db.folder());
  ferolin::testing::ScriptedPrompt prompt;
  prompt.requireAllUsed = false;
  for (auto _ : state) {
    ContextoPrograma ctx(prompt, db.folderWithSlash());
    ctx.lineaComandoProceso = [] {
      return "@server=SQLITE; @dbname= TEST; @usuario= supervisor; @Password= ; "
             "@ParametroAdicional=; @Caja=1;mirk@";
    };
    Frm_Ferolin ventana(ctx);
    if (!ventana.Form_Load()) {
      state.SkipWithError("sin conexion");
      break;
    }
    ventana.show();
    if (!QTest::qWaitForWindowExposed(&ventana)) state.SkipWithError("ventana no mostrada");
    state.PauseTiming();
    ventana.close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Arranque)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
