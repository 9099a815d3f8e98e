#pragma once
// The real main window on a throw-away SQLite database, connected without the
// start-up, with the scripted prompt answering every message.

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "data_access/db_dll.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/txt_edit.h"
#include "platform/ui/operator_prompt.h"
#include "startup/contexto_programa.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/test_database.h"

namespace ferolin::testing {

// One grid row as the operator sees it: code, description, comment.
using FilaGrilla = std::vector<std::string>;

class VentanaTest : public ::testing::Test {
 protected:
  VentanaTest() {
    // The window's skin is looked up in the program folder.
    std::filesystem::create_directories(db.folder() / "Styles");
    std::ofstream(db.folder() / "Styles" / "iTunes.qss") << "";
    db.exec(
        "INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES "
        "('1001', 'Cliente Uno'), ('1002', 'Cliente Dos'), ('1003', NULL), "
        "('9', 'Cliente Nueve'), ('10', 'Cliente Diez'), ('A B', 'Con blanco'), "
        "('2001', 'Otro Cliente');");
    ctx = std::make_unique<ContextoPrograma>(prompt, db.folderWithSlash());
  }

  ~VentanaTest() override {
    if (ventana) ventana->close();
    ventana.reset();
  }

  // Stored entries, as (code, comment) pairs; a comment of "\x01" is NULL.
  void Guardar(const std::vector<std::pair<std::string, std::string>>& entradas) {
    for (const auto& [codigo, comentario] : entradas) {
      const std::string valor = comentario == "\x01" ? "NULL" : "'" + comentario + "'";
      db.exec("INSERT INTO TA_CONFIGURACION (GRUPO, CLAVE, VALOR) VALUES ('FEROLIN', 'FEROLIN_" +
              codigo + "', " + valor + ")");
    }
  }

  // Opens the window on the test database; the stored list is loaded.
  void Abrir() {
    Frm_Ferolin::Servicios s;
    s.iniciar = [this] {
      DB_Dll& g = ctx->gDB();
      g.gCnn().Open(db.connectionString());
      g.gOpenFlag = true;
      g.gEsAdmin = esAdmin;
      g.gConnString = db.connectionString();
      return true;
    };
    s.consultarCuenta = [this] {
      ++consultas;
      return cuentaElegida;
    };
    s.finalizar = [this] { ++finalizados; };
    s.puntoDeGuardadoPorFila = puntoDeGuardadoPorFila;
    ventana = std::make_unique<Frm_Ferolin>(*ctx, s);
    ASSERT_TRUE(ventana->Form_Load());
    ventana->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
  }

  Grilla& grilla() { return ventana->MSFlexGrid1(); }
  TxtEdit& editor() { return ventana->txtedit(); }

  // Data rows of the grid, each trimmed of nothing: exactly what the cells hold.
  std::vector<FilaGrilla> Filas() {
    std::vector<FilaGrilla> filas;
    for (int r = 1; r < grilla().Rows(); ++r) {
      filas.push_back(
          {grilla().TextMatrix(r, 0), grilla().TextMatrix(r, 1), grilla().TextMatrix(r, 2)});
    }
    return filas;
  }

  // The stored list, as (CLAVE, VALOR) in key order; NULL reads "<null>".
  std::vector<std::pair<std::string, std::string>> Almacenadas() {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& fila : db.query("SELECT CLAVE, VALOR FROM TA_CONFIGURACION WHERE GRUPO = "
                                     "'FEROLIN' ORDER BY CLAVE")) {
      out.emplace_back(fila[0].value_or("<null>"), fila[1].value_or("<null>"));
    }
    return out;
  }

  QWidget* Foco() {
    QWidget* f = QApplication::focusWidget();
    return f ? f : ventana->focusWidget();
  }
  // Keys reach whichever control has the focus, as the operator's keys do.
  void Teclear(const std::string& texto) {
    for (char c : texto) QTest::keyClick(Foco(), c);
  }
  void Tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(Foco(), k, m); }
  // Types a value on the current cell and confirms it with Enter.
  void Entrar(const std::string& texto) {
    Teclear(texto);
    Tecla(Qt::Key_Return);
  }
  void IrA(int fila, int col) {
    grilla().SetRow(fila);
    grilla().SetCol(col);
    grilla().setFocus();
  }
  void Comando(std::string palabra) { ventana->UtilKorv1_click(palabra); }

  // Messages shown so far with that text.
  int Mensajes(const std::string& texto) {
    int n = 0;
    for (const auto& p : prompt.prompts()) n += p.text == texto;
    return n;
  }

  static constexpr const char* kNoExiste = "El Codigo Informado no existe";

  TestDatabase db;
  ScriptedPrompt prompt;
  std::unique_ptr<ContextoPrograma> ctx;
  std::unique_ptr<Frm_Ferolin> ventana;
  std::string cuentaElegida;
  int consultas = 0;
  int finalizados = 0;
  std::optional<bool> puntoDeGuardadoPorFila;
  bool esAdmin = true;
};

}  // namespace ferolin::testing
