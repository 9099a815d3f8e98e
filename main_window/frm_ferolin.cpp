#include "main_window/frm_ferolin.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "data_access/db_dll.h"
#include "lookup/lib_cls_cons3.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "main_window/manejo_errores.h"
#include "main_window/planilla_window.h"
#include "main_window/txt_edit.h"
#include "outside/util_korv.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/keys.h"
#include "platform/ui/text_width.h"
#include "platform/ui/twips.h"
#include "startup/iniciar_programa.h"
#include "startup/servicios.h"

namespace ferolin {

using namespace lista;

namespace {

constexpr const char* kConsultaClientes =
    "SELECT RAZON_SOCIAL, CODIGO FROM VT_CLIENTES WHERE IVA = '   1' OR IVA = '1' ORDER BY "
    "RAZON_SOCIAL";

// Lists longer than this are filled with the grid hidden: each new row would
// otherwise relayout the visible table.
constexpr long kFilasConGrillaOculta = 200;

}  // namespace

Frm_Ferolin::Lote::Lote(Frm_Ferolin& w, long total, const std::vector<std::string>& codigos)
    : w_(w), previo_(w.enLote_) {
  // First, so a failure here leaves the window as it was.
  if (!previo_) w_.cuentasLeidas_.Leer(w_.ctx_.gDB(), codigos);
  w_.enLote_ = true;
  w_.txtedit_->SetDiferido(true);
  w_.grilla_->SetSeleccionSuspendida(true);
  // Events still run during the load; a command started from inside it would
  // reload or import over the list being filled.
  w_.barra_->setEnabled(false);
  w_.cmdBuscar_->setEnabled(false);
  ocultar_ = total > kFilasConGrillaOculta && !w_.grilla_->isHidden();
  if (ocultar_) w_.grilla_->hide();
  w_.ComenzarProgreso(total);
}

Frm_Ferolin::Lote::~Lote() {
  w_.enLote_ = previo_;
  if (!previo_) {
    w_.cuentasLeidas_.Olvidar();
    w_.txtedit_->SetDiferido(false);
    w_.grilla_->SetSeleccionSuspendida(false);
    w_.barra_->setEnabled(true);
    w_.cmdBuscar_->setEnabled(true);
  }
  w_.progreso_->hide();
  if (ocultar_) w_.grilla_->show();
  if (!previo_) {
    if (w_.isActiveWindow() && !w_.txtedit_->Mostrado()) w_.grilla_->setFocus();
    w_.grilla_->MostrarCeldaActual();
  }
}

Frm_Ferolin::Frm_Ferolin(ContextoPrograma& ctx, Servicios servicios, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ctx_(ctx),
      servicios_(std::move(servicios)),
      dialogo_(ctx.prompt),
      bomba_(std::make_unique<ui::PacedEventPump>(20)) {
  if (!servicios_.iniciar) {
    servicios_.iniciar = [this] {
      std::string connString;
      return IniciarPrograma(ctx_, false, "", connString, 3);
    };
  }
  if (!servicios_.consultarCuenta) {
    servicios_.consultarCuenta = [this] {
      Lib_ClsCons3& servicio = ctx_.servicioConsultas();
      servicio.CampoDevuelto = "CODIGO";
      servicio.ConsultaSearch(kConsultaClientes);
      return servicio.ValorDevuelto;
    };
  }
  if (!servicios_.finalizar) servicios_.finalizar = [this] { FinalizarPrograma(ctx_); };
  ArmarControles();
  ConectarEventos();
}

Frm_Ferolin::~Frm_Ferolin() = default;

void Frm_Ferolin::ArmarControles() {
  setObjectName("Frm_Ferolin");
  setWindowTitle("Decreto 603/2019 - FEROLIN");
  setFixedSize(ui::TwipsToPixels(8985), ui::TwipsToPixels(7050));

  barra_ = new outside::UtilKorv(this);
  barra_->setGeometry(ui::TwipsRect(-120, 0, 9015, 855));

  label1_ = new QLabel(
      "Ingrese los codigos de cuentas  de los Responsables Inscriptos, que se incorporan a esta "
      "ley. (Excepto los Consumidores Finales y Monotributos, estos ya estan incluidos)",
      this);
  label1_->setObjectName("Label1");
  label1_->setWordWrap(true);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label1_->setGeometry(ui::TwipsRect(195, 915, 8745, 585));

  grilla_ = new Grilla(3, this);
  grilla_->setObjectName("MSFlexGrid1");
  grilla_->setGeometry(ui::TwipsRect(15, 1575, 8880, 5040));

  cmdBuscar_ = new QPushButton("&Cargar Archivo de texto", this);
  cmdBuscar_->setObjectName("CmdBuscar");
  cmdBuscar_->setGeometry(ui::TwipsRect(120, 6720, 3375, 255));

  lblMuestra_ = new QLabel("Label1", this);
  lblMuestra_->setObjectName("LblMuestra");
  lblMuestra_->setGeometry(ui::TwipsRect(3840, 6720, 6060, 315));

  progreso_ = new QProgressBar(this);
  progreso_->setObjectName("Progreso");
  progreso_->setGeometry(lblMuestra_->geometry().adjusted(0, 0, -ui::TwipsToPixels(1000), 0));
  progreso_->hide();

  // Created last so it stays above the grid it is placed over.
  txtedit_ = new TxtEdit(this);
  txtedit_->setGeometry(ui::TwipsRect(1110, 1965, 855, 285));
  txtedit_->hide();

  setTabOrder(grilla_, cmdBuscar_);
  setTabOrder(cmdBuscar_, txtedit_);
}

void Frm_Ferolin::ConectarEventos() {
  grilla_->installEventFilter(this);
  txtedit_->installEventFilter(this);
  cmdBuscar_->installEventFilter(this);
  connect(barra_, &outside::UtilKorv::ComandoBarra, this, [this](const QString& palabra) {
    std::string p = palabra.toStdString();
    UtilKorv1_click(p);
  });
  connect(cmdBuscar_, &QPushButton::clicked, this, [this] { CmdBuscar_Click(); });
  connect(grilla_, &Grilla::CeldaCambiada, this, &Frm_Ferolin::AlCambiarCelda);
  connect(grilla_, &QTableWidget::cellClicked, this,
          [this](int, int) { textpropiedades(grilla_->Col()); });
  connect(grilla_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { MsflexGridEdt(32); });
}

bool Frm_Ferolin::Form_Load() {
  if (!servicios_.iniciar()) return false;
  auto& utilidades = ctx_.tarvex.utilidades();
  // A window that cannot be dressed still works: the failure is reported and
  // the window keeps its plain look.
  EjecutarPaso(utilidades, "Form_Load", [this] { AplicarEstilo(ctx_, *this); });
  EjecutarPaso(utilidades, "Form_Load", [this] { AplicarIconoYBarras(ctx_, *this); });
  cargado_ = true;
  // A stored list that cannot be read is reported; the window then opens
  // with an empty list instead of ending the program.
  for (;;) {
    outside::ErrorInfo error;
    try {
      InicializaGrid2();
      grilla_->setFocus();
      return true;
    } catch (...) {
      error = ErrorActual();
    }
    if (utilidades.ManejarError(error, "Form_Load") != 4) break;
  }
  grilla_->LimpiarTextos();
  grilla_->SetRows(2);
  grilla_->SetRow(1);
  grilla_->SetCol(0);
  grilla_->setFocus();
  return true;
}

void Frm_Ferolin::Form_KeyDown(int& keyCode, int /*shift*/) {
  barra_->EnviarTecla(keyCode);
}

void Frm_Ferolin::Form_Unload() {
  if (descargado_) return;
  descargado_ = true;
  if (cargado_) servicios_.finalizar();
}

void Frm_Ferolin::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void Frm_Ferolin::keyPressEvent(QKeyEvent* event) {
  // Keys of the controls were handed to the toolbar by the event filter; this
  // only sees keys while no control has the focus (and keys they pass on).
  QWidget* foco = focusWidget();
  if (foco == nullptr || foco == this) {
    int key = ui::VirtualKeyFromQt(*event);
    if (key != 0) {
      Form_KeyDown(key, 0);
      if (key == 0) return;
    }
  }
  QWidget::keyPressEvent(event);
}

bool Frm_Ferolin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto& tecla = static_cast<QKeyEvent&>(*event);
    int key = ui::VirtualKeyFromQt(tecla);
    if (key != 0) {
      int shift = 0;
      if (tecla.modifiers() & Qt::ShiftModifier) shift |= 1;
      if (tecla.modifiers() & Qt::ControlModifier) shift |= 2;
      if (tecla.modifiers() & Qt::AltModifier) shift |= 4;
      Form_KeyDown(key, shift);
      if (key == 0) return true;  // the toolbar took it
    }
    if (watched == grilla_) return TeclaGrilla(tecla);
    if (watched == txtedit_) return TeclaEditor(tecla);
  } else if (event->type() == QEvent::FocusIn) {
    if (watched == grilla_) AlEnfocarGrilla();
    if (watched == txtedit_) AlEnfocarEditor();
  }
  return QWidget::eventFilter(watched, event);
}

void Frm_Ferolin::DejarCorrerEventos() {
  bomba_->Tick();
}

void Frm_Ferolin::InicializaGrid2() {
  grilla_->LimpiarTextos();
  grilla_->SetRows(2);
  const int ancho20 = ui::TwipsToPixels(ui::TextWidthTwips(font(), std::string(20, 'X')));
  const int ancho30 = ui::TwipsToPixels(ui::TextWidthTwips(font(), std::string(30, 'X')));
  grilla_->setColumnWidth(0, ancho20);
  grilla_->setColumnWidth(1, ancho30);
  grilla_->setColumnWidth(2, ancho30);
  grilla_->SetTextMatrix(0, 0, "Codigo");
  grilla_->SetTextMatrix(0, 1, "Descripcion");
  grilla_->SetTextMatrix(0, 2, "Comentarios");
  CargarDatos();
}

void Frm_Ferolin::CargarDatos() {
  grilla_->SetRow(1);
  DB_Dll& gdb = ctx_.gDB();
  std::string sql = kSentenciaLista;
  gdb.AbrirRecordset(sql, rsLista_, nullptr, 0, 1, -1, true);
  // A failed open was already reported by AbrirRecordset and left it closed.
  if (rsLista_.State() == db::state::kClosed) return;
  if (rsLista_.Bof()) {
    gdb.CierraRecordset(rsLista_);
    return;
  }
  auto& utilidades = ctx_.tarvex.utilidades();
  std::vector<std::string> codigos;
  for (rsLista_.MoveFirst(); !rsLista_.Eof(); rsLista_.MoveNext()) {
    codigos.push_back(CodigoDeClave(utilidades.ValorCampo(rsLista_.Fields("Clave"))));
  }
  Lote lote(*this, rsLista_.RecordCount(), codigos);
  long hechos = 0;
  rsLista_.MoveFirst();
  while (!rsLista_.Eof() && !descargado_) {
    const std::string codigo = CodigoDeClave(utilidades.ValorCampo(rsLista_.Fields("Clave")));
    const std::string comentario = utilidades.ValorCampo(rsLista_.Fields("Valor"));
    EntrarValor(0, codigo);
    DejarCorrerEventos();
    if (!codigoInvalido_) EntrarValor(2, comentario);
    rsLista_.MoveNext();
    AvanzarProgreso(++hechos);
  }
  // Closing the window during the load releases gDB: the set is closed on its own.
  if (descargado_) {
    rsLista_.Close();
  } else {
    ctx_.gDB().CierraRecordset(rsLista_);
  }
}

void Frm_Ferolin::EntrarValor(int columna, const std::string& valor) {
  grilla_->SetCol(columna);
  MsflexGridEdt(13);
  textpropiedades(columna);
  txtedit_->SetTexto(valor);
  CampoValida();
  EditKeyCode(ui::vk::kReturn, 0);
}

void Frm_Ferolin::ComenzarProgreso(long total) {
  progreso_->setRange(0, static_cast<int>(std::max(total, 1L)));
  progreso_->setValue(0);
  progreso_->raise();
  progreso_->show();
}

void Frm_Ferolin::AvanzarProgreso(long hecho) {
  // Whole percent steps: the bar repaints itself on every visible change.
  const long paso = std::max(progreso_->maximum() / 100, 1);
  if (hecho % paso == 0 && hecho <= progreso_->maximum()) {
    progreso_->setValue(static_cast<int>(hecho));
  }
}

void Frm_Ferolin::CartelMostrar(const std::string& mensaje) {
  lblMuestra_->setText(QString::fromStdString(mensaje));
  // Painted at once while saving keeps the window busy; at most every 20 ms,
  // so long saves do not spend their time painting the same label.
  if (!relojCartel_.isValid() || relojCartel_.elapsed() >= 20 || mensaje.empty()) {
    lblMuestra_->repaint();
    relojCartel_.restart();
  }
}

std::string Frm_Ferolin::TituloPrograma() const {
  return ctx_.nombrePrograma;
}

void Frm_Ferolin::AbrirPlanilla(const std::string& tabla, const std::string& titulo) {
  auto* planilla = new PlanillaWindow(ctx_.gDB(), tabla, titulo, this);
  planilla->setAttribute(Qt::WA_DeleteOnClose);
  planilla->show();
}

}  // namespace ferolin
