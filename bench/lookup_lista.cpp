// The list lookup window over a statement of 100,000 rows of three columns on
// the embedded engine: loading and showing, one keystroke of incremental
// search, and a header sort. Peak memory is reported as a counter (MB).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "data_access/contexto_datos.h"
#include "data_access/db_dll.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/modelo_consulta.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace {

using ferolin::ContextoDatos;
using ferolin::Lib_FrmCons3;

constexpr int kFilas = 100000;
const std::string kSql = "SELECT DESCRIPCION, CONTACTO, CODIGO FROM T_BENCH ORDER BY CODIGO";

struct Entorno {
  Entorno() : ctx(prompt, db.folderWithSlash()) {
    db.exec(
        "CREATE TABLE T_BENCH (CODIGO VARCHAR(10), DESCRIPCION VARCHAR(60), CONTACTO "
        "VARCHAR(40));"
        "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " +
        std::to_string(kFilas) +
        ") INSERT INTO T_BENCH SELECT printf('%06d', x), 'ARTICULO ' || ((x * 7919) % " +
        std::to_string(kFilas) + "), 'Contacto ' || x FROM c;");
    ctx.tarvex.CarpetaPrograma = db.folderWithSlash();
    ctx.gDB().OpenServerADODB(false, 3, db.connectionString(), false, false);
  }
  std::unique_ptr<Lib_FrmCons3> Ventana() {
    auto frm = std::make_unique<Lib_FrmCons3>(ctx, [](const std::string&) { return " "; });
    frm->sql = kSql;
    frm->CampoDevuelto = "CODIGO";
    return frm;
  }
  ferolin::testing::TestDatabase db;
  ferolin::testing::ScriptedPrompt prompt;
  ContextoDatos ctx;
};

Entorno& Compartido() {
  static Entorno e;
  return e;
}

double PicoMemoriaMB() {
  std::ifstream in("/proc/self/status");
  std::string linea;
  while (std::getline(in, linea))
    if (linea.rfind("VmHWM:", 0) == 0) return std::atof(linea.c_str() + 6) / 1024.0;
  return 0;
}

void BM_CargarYMostrar(benchmark::State& state) {
  auto& e = Compartido();
  for (auto _ : state) {
    auto frm = e.Ventana();
    frm->Cargar();
    frm->show();
    QCoreApplication::processEvents();
    if (frm->Modelo().Filas() != kFilas) state.SkipWithError("rows missing");
    frm->close();
    frm->Descargar();
  }
  state.counters["pico_MB"] = PicoMemoriaMB();
}
BENCHMARK(BM_CargarYMostrar)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TeclaDeBusqueda(benchmark::State& state) {
  auto& e = Compartido();
  auto frm = e.Ventana();
  frm->Cargar();
  frm->show();
  QCoreApplication::processEvents();
  // Alternates a prefix near the end of the list with one that matches nothing,
  // so every keystroke scans most or all of the rows.
  const QString textos[] = {"Contacto 9999", "Contacto 99999x"};
  int i = 0;
  for (auto _ : state) {
    frm->CmbSearch(1)->setEditText(textos[i++ % 2]);
    QCoreApplication::processEvents();
  }
  state.counters["pico_MB"] = PicoMemoriaMB();
  frm->close();
}
BENCHMARK(BM_TeclaDeBusqueda)->Unit(benchmark::kMillisecond);

void BM_OrdenPorEncabezado(benchmark::State& state) {
  auto& e = Compartido();
  auto frm = e.Ventana();
  frm->Cargar();
  frm->show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    frm->ClickEncabezado(0);
    QCoreApplication::processEvents();
  }
  state.counters["pico_MB"] = PicoMemoriaMB();
  frm->close();
}
BENCHMARK(BM_OrdenPorEncabezado)->Unit(benchmark::kMillisecond)->Iterations(6);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
