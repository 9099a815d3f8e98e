#pragma once
// The list lookup window: runs one query, shows its rows with one search box
// above every column, and lets the operator pick one row or tick several.
// Cargar() loads it (the original's load event); exec() shows it modally and
// returns when accept or cancel hides it.

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data_access/contexto_datos.h"
#include "platform/db/recordset.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QTableView;
class QWidget;

namespace ferolin {

class DB_Dll;
class ModeloConsulta;

class Lib_FrmCons3 : public QDialog {
  Q_OBJECT
 public:
  using LectorCfg = std::function<std::string(const std::string& clave)>;
  using Lanzador =
      std::function<void(const std::string& Programa, std::string& Parametro, long& Resultado)>;

  Lib_FrmCons3(ContextoDatos& contexto, LectorCfg cfg, QWidget* parent = nullptr);
  ~Lib_FrmCons3() override;

  // --- Properties set by the caller before loading ---
  std::string StkNivel1, StkNivel2, StkNivel3, StkNivel4;
  std::string MuestraStock;
  std::string sql;
  std::string CampoDevuelto;
  std::optional<std::vector<std::string>> CmpsDevueltos;
  bool CheckBoxes = false;
  std::string gConnString;
  std::string ValorDevuelto;
  std::string FiltroInicial;
  std::string CampoBusqueda;
  bool OrdenarPorLwv = false;
  std::optional<std::vector<std::string>> Valores;
  std::optional<std::vector<std::string>> Cantidades;
  bool UsaCantidades = false;
  std::string ValoresDefault;
  bool CfgUsaConsultaLIKE = false;
  bool GrabarCfg = false;
  bool UsarUDBC = false;
  Lanzador LanzadorProgramas;

  // --- Methods ---
  void Cargar();
  void Descargar();  // the unload: saves widths when GrabarCfg, empties the list
  void CalcularAncho();
  void Leer(long Cdesde = 1, long Cuantas = 0);
  void Encolumnar();
  long Busqueda(int Clave, const std::string& QueValor) const;
  int IndiceColumna(const std::string& Columna) const;

  // Actions of the buttons and keys (also for tests and the pickers).
  void Aceptar();
  void Cancelar();
  void NuevaBusqueda();
  void NuevoRegistro();
  void MarcarTodos();
  void BuscarEnBase(int caja);  // F5 in search box caja
  void ClickEncabezado(int columna);
  // One key of the list, as virtual-key code and shift state.
  bool TeclaLista(int keyCode, bool shift, bool otrosModificadores);
  void InformarFaltante();  // F12

  // Pickers: after Cargar() with no statement, one column titled Titulo whose
  // rows are added in order; the window is sized for the longest text.
  void PrepararSelector(const std::string& Titulo, bool conTicks);
  void AgregarOpcion(const std::string& texto, bool tick);
  void AnchoSelector(std::size_t largo);

  // --- What the window shows ---
  ModeloConsulta& Modelo() { return *modelo_; }
  QTableView* ListView1() { return lista_; }
  QComboBox* CmbSearch(int k) { return cajas_.at(static_cast<std::size_t>(k)); }
  int CantidadCajas() const { return static_cast<int>(cajas_.size()); }
  int BusquedaActual() const { return busquedaActual_; }
  QPushButton* CmdNueva() { return cmdNueva_; }
  QPushButton* CmdAceptar() { return cmdAceptar_; }
  QPushButton* CmdCancelar() { return cmdCancelar_; }
  QPushButton* CmdNuevo() { return cmdNuevo_; }
  QPushButton* CmdTodos() { return cmdTodos_; }
  QScrollBar* HScroll1() { return hScroll_; }
  const std::string& SqlActual() const { return sqlActual_; }
  const std::string& SqlInicial() const { return sqlInicial_; }
  const std::string& TablaConsulta() const { return tablaConsulta_; }
  long CantidadLeida() const { return cantidadLeida_; }
  int SeleccionActual() const;  // view row, -1 when none
  void SeleccionarFila(int fila);
  // Column widths in twips, in list order.
  std::vector<int> AnchosTwips() const;
  void SetAnchoTwips(int columna, int twips);
  // Layout in twips of the client area (the resize rules).
  void Redimensionar();

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;
  void resizeEvent(QResizeEvent* ev) override;
  void reject() override;  // the close box: hides without touching the results

 private:
  void CrearControles();
  QComboBox* CargarCaja(int k);
  void BusquedaIncremental(int k);
  std::optional<QColor> ColorStock(const db::Recordset& rs, int iPunto, int iStock) const;
  std::optional<QColor> ColorDe(const std::string& valor) const;
  std::string ValorCelda(int fila, int columna1) const;  // 1-based column
  void LeerAnchosGuardados();
  void GrabarAnchosGuardados();
  void ColocarCajas();
  void Cantidad(int fila, int modo);
  DB_Dll& Datos();

  ContextoDatos& contexto_;
  LectorCfg cfg_;
  std::unique_ptr<DB_Dll> udbc_;
  db::Recordset rs_;
  ModeloConsulta* modelo_ = nullptr;

  bool esArticulos_ = false;
  std::string sqlActual_;
  std::string sqlInicial_;
  std::string tablaConsulta_;
  std::string colaOrden_;
  long cantidadLeida_ = 0;
  int busquedaActual_ = 0;
  bool ordenDescendente_ = false;  // the list's sort order, flipped by each header click

  QLabel* label1_ = nullptr;
  QPushButton* cmdNuevo_ = nullptr;
  QPushButton* cmdTodos_ = nullptr;
  QWidget* picFields_ = nullptr;
  QLabel* lblFieldName_ = nullptr;
  QTableView* lista_ = nullptr;
  QScrollBar* hScroll_ = nullptr;
  QFrame* frame1_ = nullptr;
  QPushButton* cmdAceptar_ = nullptr;
  QPushButton* cmdCancelar_ = nullptr;
  QPushButton* cmdNueva_ = nullptr;
  std::vector<QComboBox*> cajas_;
  std::vector<std::string> tags_;  // field name of every search box
  int anchoListaTwips_ = 0;
};

}  // namespace ferolin
