#pragma once
// Frm_Ferolin: the program's one window. It keeps the zero-rate account list
// in a grid edited in place, checks every code against MA_CUENTAS, saves the
// list into TA_CONFIGURACION, imports it from a text file and reacts to the
// toolbar's command words.

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main_window/cuentas_leidas.h"
#include "outside/dialogo_archivo.h"
#include "platform/db/recordset.h"
#include "startup/contexto_programa.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace ferolin {

namespace outside {
class UtilKorv;
}
namespace ui {
class PacedEventPump;
}
class Grilla;
class TxtEdit;

class Frm_Ferolin : public QWidget {
  Q_OBJECT

 public:
  // What the window calls outside itself; tests replace these.
  struct Servicios {
    // The start-up (IniciarPrograma); false when there is no connection.
    std::function<bool()> iniciar;
    // The account lookup: the chosen customer's code, "" when cancelled.
    std::function<std::string()> consultarCuenta;
    // End-of-run work when the window unloads (FinalizarPrograma).
    std::function<void()> finalizar;
    // Whether saving runs each insert (of a block of rows or of one row)
    // inside a savepoint of its own, for a server that would abort the whole
    // transaction on a refused statement. Unset: none; the engines keep the
    // transaction alive (SQL Server and SQLite by themselves, PostgreSQL
    // through the driver's statement rollback, which the ODBC engine sets).
    std::optional<bool> puntoDeGuardadoPorFila;
  };
  // Servicios left empty take the program's own procedures.
  explicit Frm_Ferolin(ContextoPrograma& ctx, Servicios servicios = {}, QWidget* parent = nullptr);
  ~Frm_Ferolin() override;

  // --- Start and end (the window's load and unload) ---
  // Runs the start-up, dresses the window and loads the stored list. False
  // when the program must end without showing the window.
  bool Form_Load();
  void Form_KeyDown(int& keyCode, int shift);

  // --- The list ---
  void InicializaGrid2();
  void CargarDatos();
  void ProcesoPrincipal();
  void CartelMostrar(const std::string& mensaje);

  // --- Commands ---
  void UtilKorv1_click(std::string& palabra);
  void CmdBuscar_Click();
  void CmdConsultar();
  void AbrirPlanilla(const std::string& tabla, const std::string& titulo);

  // --- Editor procedures (grid and editor of this window) ---
  void MsflexGridEdt(int keyAscii);
  void textpropiedades(int columna);
  void EditKeyCode(int keyCode, int shift);
  void MsflexKey(int keyCode);
  void CampoValida();
  // The editor's key-down: the check and the move a confirming key makes.
  void ConfirmarEdicion(int keyCode);
  // The editor's key-press rule for the comment column; returns the key to
  // type (0 refuses it).
  int FiltrarTecla(int keyAscii);

  bool CodigoInvalido() const { return codigoInvalido_; }

  Grilla& MSFlexGrid1() { return *grilla_; }
  TxtEdit& txtedit() { return *txtedit_; }
  outside::UtilKorv& UtilKorv1() { return *barra_; }
  QPushButton& CmdBuscar() { return *cmdBuscar_; }
  QLabel& LblMuestra() { return *lblMuestra_; }
  QProgressBar& Progreso() { return *progreso_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ArmarControles();
  void ConectarEventos();
  void Form_Unload();
  // Enters a value into the current cell as if typed and confirmed with Enter.
  void EntrarValor(int columna, const std::string& valor);
  void DejarCorrerEventos();
  void EnfocarGrilla();
  void ConfirmarEditorEn(int fila, int col);
  // Grid and editor events.
  bool TeclaGrilla(QKeyEvent& event);
  bool TeclaEditor(QKeyEvent& event);
  void AlCambiarCelda(int filaAnterior, int colAnterior);
  void AlEnfocarGrilla();
  void AlEnfocarEditor();
  // Long loads and imports: the editor path without moving the keyboard
  // focus for every cell, the grid out of sight while it grows, and the
  // accounts of the codes about to be entered read beforehand.
  class Lote {
   public:
    Lote(Frm_Ferolin& w, long total, const std::vector<std::string>& codigos = {});
    ~Lote();
    Lote(const Lote&) = delete;
    Lote& operator=(const Lote&) = delete;

   private:
    Frm_Ferolin& w_;
    bool previo_;
    bool ocultar_ = false;
  };
  void ComenzarProgreso(long total);
  void AvanzarProgreso(long hecho);
  void GrabarLista();
  std::string TituloPrograma() const;

  ContextoPrograma& ctx_;
  Servicios servicios_;
  outside::UtilKorv* barra_ = nullptr;
  QLabel* label1_ = nullptr;
  Grilla* grilla_ = nullptr;
  TxtEdit* txtedit_ = nullptr;
  QPushButton* cmdBuscar_ = nullptr;
  QLabel* lblMuestra_ = nullptr;
  QProgressBar* progreso_ = nullptr;
  outside::DialogoArchivo dialogo_;
  db::Recordset rsLista_;
  db::Recordset rsValida_;
  CuentasLeidas cuentasLeidas_;
  std::unique_ptr<ui::PacedEventPump> bomba_;
  bool codigoInvalido_ = false;
  QElapsedTimer relojCartel_;
  bool enLote_ = false;
  bool cargado_ = false;
  bool descargado_ = false;
};

}  // namespace ferolin
