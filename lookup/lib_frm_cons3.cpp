#include "lookup/lib_frm_cons3.h"
#include "data_access/texto.h"

#include <QComboBox>
#include <QDateTime>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <cmath>

#include "data_access/db_dll.h"
#include "lookup/anchos_columnas.h"
#include "lookup/modelo_consulta.h"
#include "lookup/pasos.h"
#include "lookup/sentencias.h"
#include "platform/ui/keys.h"
#include "platform/ui/text_width.h"
#include "platform/ui/twips.h"

namespace ferolin {

using consulta::ConReporte;
using consulta::Omitible;
using ui::PixelsToTwips;
using ui::TwipsToPixels;

namespace {

constexpr int kAltoBarra = 615;    // Frame1
constexpr int kAnchoBoton = 1215;  // buttons of Frame1 and the title strip
constexpr int kAltoBoton = 375;
constexpr int kTopeTira = 420;    // picFields below the title strip
constexpr int kMarcoAncho = 120;  // borders the original sizes include
constexpr int kMarcoAlto = 520;   // title bar and borders
const QColor kCian(0, 255, 255);  // &HFFFF00 in 0x00BBGGRR
const QColor kBlanco(255, 255, 255);

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

int PantallaTwips() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? PixelsToTwips(s->availableGeometry().width()) : 1024 * 15;
}

void Pintar(QComboBox* caja, const QColor& color) {
  QPalette p = caja->lineEdit()->palette();
  p.setColor(QPalette::Base, color);
  caja->lineEdit()->setPalette(p);
}

std::string Formato(double v, int decimales) {
  QLocale loc = QLocale::system();
  loc.setNumberOptions(QLocale::OmitGroupSeparator);
  return loc.toString(v, 'f', decimales).toStdString();
}

}  // namespace

Lib_FrmCons3::Lib_FrmCons3(ContextoDatos& contexto, LectorCfg cfg, QWidget* parent)
    : QDialog(parent), contexto_(contexto), cfg_(std::move(cfg)) {
  CrearControles();
}

Lib_FrmCons3::~Lib_FrmCons3() = default;

void Lib_FrmCons3::CrearControles() {
  setWindowTitle("Consulta...");
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(true);
  resize(TwipsToPixels(7260), TwipsToPixels(5115));

  QFont calibri("Calibri");
  label1_ = new QLabel("CONSULTA", this);
  label1_->setFont(calibri);
  cmdNuevo_ = new QPushButton("N&uevo", this);
  cmdNuevo_->setFont(calibri);
  cmdTodos_ = new QPushButton("&Marcar", this);
  cmdTodos_->setFont(calibri);

  picFields_ = new QWidget(this);
  lblFieldName_ = new QLabel(picFields_);
  lblFieldName_->setFont(QFont("Tahoma"));
  lblFieldName_->hide();
  lista_ = new QTableView(picFields_);
  modelo_ = new ModeloConsulta(this);
  lista_->setModel(modelo_);
  lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lista_->setSelectionMode(QAbstractItemView::SingleSelection);
  lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lista_->setSortingEnabled(false);
  lista_->setWordWrap(false);
  lista_->setShowGrid(false);
  lista_->verticalHeader()->hide();
  lista_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  lista_->verticalHeader()->setDefaultSectionSize(lista_->fontMetrics().height() + 6);
  lista_->horizontalHeader()->setSectionsClickable(true);
  lista_->horizontalHeader()->setHighlightSections(false);
  lista_->horizontalHeader()->setStretchLastSection(false);
  lista_->installEventFilter(this);
  connect(lista_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int c) { ClickEncabezado(c); });
  connect(lista_, &QTableView::doubleClicked, this, [this](const QModelIndex&) { Aceptar(); });
  connect(lista_->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int, int, int) { ColocarCajas(); });

  hScroll_ = new QScrollBar(Qt::Horizontal, this);
  connect(hScroll_, &QScrollBar::valueChanged, this,
          [this](int v) { picFields_->move(-TwipsToPixels(v), picFields_->y()); });

  frame1_ = new QFrame(this);
  cmdAceptar_ = new QPushButton("&Aceptar", frame1_);
  cmdCancelar_ = new QPushButton("&Cancelar", frame1_);
  cmdNueva_ = new QPushButton("&Nueva Busqueda", frame1_);
  for (QPushButton* b : {cmdNuevo_, cmdTodos_, cmdAceptar_, cmdCancelar_, cmdNueva_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
    b->resize(TwipsToPixels(kAnchoBoton), TwipsToPixels(kAltoBoton));
  }
  connect(cmdAceptar_, &QPushButton::clicked, this, [this] { Aceptar(); });
  connect(cmdCancelar_, &QPushButton::clicked, this, [this] { Cancelar(); });
  connect(cmdNueva_, &QPushButton::clicked, this, [this] { NuevaBusqueda(); });
  connect(cmdNuevo_, &QPushButton::clicked, this, [this] { NuevoRegistro(); });
  connect(cmdTodos_, &QPushButton::clicked, this, [this] { MarcarTodos(); });

  CargarCaja(0);
  Redimensionar();
}

QComboBox* Lib_FrmCons3::CargarCaja(int k) {
  // A box that is already loaded stays as it is.
  if (k < CantidadCajas()) {
    cajas_[static_cast<std::size_t>(k)]->show();
    return cajas_[static_cast<std::size_t>(k)];
  }
  auto* caja = new QComboBox(picFields_);
  caja->setEditable(true);
  caja->setInsertPolicy(QComboBox::NoInsert);
  caja->setToolTip("F5 realiza nueva busqueda");
  // Focus and keys reach the combo or its editor depending on which has focus.
  caja->installEventFilter(this);
  caja->lineEdit()->installEventFilter(this);
  connect(caja, &QComboBox::editTextChanged, this,
          [this, k](const QString&) { BusquedaIncremental(k); });
  connect(caja, &QComboBox::activated, this, [this, k](int) { BusquedaIncremental(k); });
  if (!cajas_.empty()) QWidget::setTabOrder(cajas_.back(), caja);
  caja->show();
  cajas_.push_back(caja);
  tags_.emplace_back();
  return caja;
}

DB_Dll& Lib_FrmCons3::Datos() {
  if (!UsarUDBC) return contexto_.gDB();
  if (!udbc_) udbc_ = std::make_unique<DB_Dll>(contexto_);
  return *udbc_;
}

// ---------------------------------------------------------------- loading

void Lib_FrmCons3::Cargar() {
  const std::string rutina = "FORM_LOAD";
  auto paso = [&](auto&& f) { return ConReporte(contexto_, rutina, f); };
  auto vestir = [&] { contexto_.tarvex.utilidades().PrepararVentana(this, 0); };

  if (!paso([&] { esArticulos_ = texto::Contiene(sql, "articulos"); })) return;
  if (!paso([&] {
        Valores = std::vector<std::string>{};
        Cantidades = std::vector<std::string>{};
      }))
    return;
  if (!paso([&] {
        modelo_->Vaciar();
        QFont f = lista_->font();
        f.setBold(true);
        f.setPointSize(10);
        lista_->setFont(f);
        lista_->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
      }))
    return;
  if (texto::Recortar(sql).empty()) {
    paso(vestir);
    return;
  }
  if (!paso([&] { sql += " "; })) return;
  if (!paso([&] { tablaConsulta_ = consulta::TablaDeSentencia(sql); })) return;
  if (!paso([&] {
        if (sqlInicial_.empty()) sqlInicial_ = sql;
        sqlActual_ = sql;
      }))
    return;
  if (!paso([&] { Datos().AbrirRecordset(sql, rs_, nullptr, 0, 1, -1, true); })) return;
  if (!paso([&] { modelo_->SetConTicks(CheckBoxes); })) return;
  if (!paso([&] { Encolumnar(); })) return;
  if (!paso([&] { Leer(1, 0); })) return;
  if (!paso([&] {
        if (OrdenarPorLwv)
          modelo_->Ordenar(0, ordenDescendente_ ? Qt::DescendingOrder : Qt::AscendingOrder);
      }))
    return;
  if (!paso([&] {
        if (!texto::Recortar(FiltroInicial).empty()) cajas_[0]->setEditText(Q(FiltroInicial));
      }))
    return;
  if (!paso([&] { Datos().CierraRecordset(rs_); })) return;
  if (!paso([&] { LeerAnchosGuardados(); })) return;
  if (!paso([&] { CalcularAncho(); })) return;
  paso(vestir);
}

void Lib_FrmCons3::Encolumnar() {
  // A statement that could not be opened has been reported by the data access.
  if (rs_.State() == db::state::kClosed) return;
  QStringList encabezados;
  std::vector<int> anchos;
  const bool articulos =
      texto::Contiene(sql, "V_MA_ARTICULOS") || texto::Contiene(sql, "STK_MA_ARTICULOS");
  try {
    for (std::size_t k = 0; k < rs_.FieldCount(); ++k) {
      db::Field f = rs_.Fields(k);
      long ancho = f.DefinedSize();
      if (f.Type() == db::type::kCurrency || f.Type() == db::type::kNumeric) ancho = 12;
      if (k > 0) CargarCaja(static_cast<int>(k));
      tags_[k] = f.Name();
      ancho = std::clamp(ancho, 0L, 60L);
      std::string encabezado = f.Name();
      if (articulos) {
        for (int p = 1; p <= 8; ++p) {
          if (texto::IgualSinCaso(f.Name(), "PRECIO" + std::to_string(p)))
            encabezado = cfg_ ? cfg_("NOM_PCLASE" + std::to_string(p)) : "";
        }
      } else if (texto::IgualSinCaso(ValoresDefault, "@10")) {
        ancho += 10;
      }
      encabezados << Q(encabezado);
      anchos.push_back(
          ui::TextWidthTwips(font(), std::string(static_cast<std::size_t>(ancho), 'X')));
    }
  } catch (const std::exception& e) {
    contexto_.prompt.Message(consulta::InfoDe(e, "Lib_FrmCons3").description, 0, "");
  }
  // Boxes of a previous, wider statement stay loaded but have no column.
  for (std::size_t k = std::max<std::size_t>(1, anchos.size()); k < cajas_.size(); ++k)
    cajas_[k]->hide();
  modelo_->Columnas(encabezados);
  for (std::size_t i = 0; i < anchos.size(); ++i) SetAnchoTwips(static_cast<int>(i), anchos[i]);
}

std::optional<QColor> Lib_FrmCons3::ColorDe(const std::string& valor) const {
  std::string t = texto::Recortar(valor);
  if (t.empty()) return std::nullopt;
  long n;
  if (t.size() > 2 && (t[0] == '&') && (t[1] == 'H' || t[1] == 'h'))
    n = std::strtol(t.c_str() + 2, nullptr, 16);
  else
    n = static_cast<long>(texto::ValorNumerico(t));
  return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF),
                static_cast<int>((n >> 16) & 0xFF));
}

std::optional<QColor> Lib_FrmCons3::ColorStock(const db::Recordset& rs, int iPunto,
                                               int iStock) const {
  if (iPunto < 0 || iStock < 0) return std::nullopt;  // 3265: not coloured
  auto& u = contexto_.tarvex.utilidades();
  double punto = u.TextoANumero(u.ValorCampo(rs.Fields(static_cast<std::size_t>(iPunto))));
  double stock = u.TextoANumero(u.ValorCampo(rs.Fields(static_cast<std::size_t>(iStock))));
  const std::string* nivel;
  if (punto == 0 && stock > 0)
    nivel = &StkNivel1;
  else if (punto > 0 && stock > punto)
    nivel = &StkNivel2;
  else if (punto > 0 && stock < punto)
    nivel = &StkNivel3;
  else
    nivel = &StkNivel4;
  return ColorDe(*nivel);
}

void Lib_FrmCons3::Leer(long /*Cdesde*/, long /*Cuantas*/) {
  cantidadLeida_ = 0;
  if (rs_.State() == db::state::kClosed) return;
  if (rs_.Bof() && rs_.Eof()) return;
  auto& u = contexto_.tarvex.utilidades();
  const std::size_t n = rs_.FieldCount();
  auto indice = [&](const std::string& nombre) {
    for (std::size_t i = 0; i < n; ++i)
      if (texto::IgualSinCaso(rs_.Fields(i).Name(), nombre)) return static_cast<int>(i);
    return -1;
  };
  const int iDevuelto = indice(CampoDevuelto);
  const int iPunto = esArticulos_ ? indice("PUNTOPEDIDO") : -1;
  const int iStock = esArticulos_ ? indice("Stock") : -1;
  const bool colorear =
      texto::IgualSinCaso(texto::Recortar(MuestraStock), "SI") && esArticulos_ && n > 1;
  const bool preMarcar = CheckBoxes && !ValoresDefault.empty() && iDevuelto >= 0;

  modelo_->IniciarCarga(static_cast<std::size_t>(std::max(0L, rs_.RecordCount())));
  std::vector<QString> celdas;
  bool seguir = true;
  while (seguir && !rs_.Eof()) {
    seguir = ConReporte(contexto_, "FORM_LOAD", [&] {
      ++cantidadLeida_;
      std::optional<QColor> color = esArticulos_ ? ColorStock(rs_, iPunto, iStock) : std::nullopt;
      celdas.assign(n, QString());
      celdas[0] = Q(texto::Recortar(u.ValorCampo(rs_.Fields(0))));
      bool tick =
          preMarcar && texto::Contiene(ValoresDefault, texto::Recortar(u.ValorCampo(rs_.Fields(
                                                           static_cast<std::size_t>(iDevuelto)))));
      for (std::size_t j = 1; j < n; ++j)
        celdas[j] = Q(u.AjustarTexto(u.ValorCampo(rs_.Fields(j))));
      modelo_->Agregar(celdas, tick, colorear ? color : std::nullopt);
    });
    if (!rs_.Eof()) rs_.MoveNext();
  }
  modelo_->TerminarCarga();
}

void Lib_FrmCons3::SetAnchoTwips(int columna, int twips) {
  lista_->setColumnWidth(columna, TwipsToPixels(twips));
}

std::vector<int> Lib_FrmCons3::AnchosTwips() const {
  std::vector<int> v;
  for (int i = 0; i < modelo_->NumColumnas(); ++i)
    v.push_back(PixelsToTwips(lista_->columnWidth(i)));
  return v;
}

void Lib_FrmCons3::ColocarCajas() {
  const int x0 = lista_->x() + lista_->frameWidth();
  for (int i = 0; i < modelo_->NumColumnas() && i < CantidadCajas(); ++i) {
    QComboBox* caja = cajas_[static_cast<std::size_t>(i)];
    int izquierda = lista_->horizontalHeader()->sectionPosition(i);
    int ancho = std::max(1, lista_->columnWidth(i) - TwipsToPixels(50));
    caja->setGeometry(x0 + izquierda, 0, ancho, caja->sizeHint().height());
  }
}

void Lib_FrmCons3::CalcularAncho() {
  int suma = 0;
  for (int w : AnchosTwips()) suma += w;
  ColocarCajas();
  anchoListaTwips_ = suma + 360;
  const int anchoTira = suma + 360;
  hScroll_->setMaximum(anchoTira <= 32700 ? static_cast<int>(std::lround((anchoTira + 480) * 0.6))
                                          : 32700);
  const int pantalla = PantallaTwips();
  int ancho = (anchoListaTwips_ + 360 >= pantalla) ? pantalla - 480 : anchoListaTwips_ + 280;
  resize(TwipsToPixels(ancho - kMarcoAncho), height());
  Redimensionar();
}

void Lib_FrmCons3::LeerAnchosGuardados() {
  try {
    if (texto::IgualSinCaso(tablaConsulta_, "Stk_ma_articulos")) tablaConsulta_ = "VT_MA_ARTICULOS";
    auto& u = contexto_.tarvex.utilidades();
    auto anchos =
        consulta::LeerAnchos(u.CarpetaConBarra(contexto_.carpetaPrograma), tablaConsulta_);
    for (int i = 0; i < modelo_->NumColumnas() && i < static_cast<int>(anchos.size()); ++i)
      SetAnchoTwips(
          i, static_cast<int>(std::lround(u.TextoANumero(anchos[static_cast<std::size_t>(i)]))));
    ColocarCajas();
  } catch (const std::exception&) {
    // Unreadable widths leave the computed ones.
  }
}

void Lib_FrmCons3::GrabarAnchosGuardados() {
  if (!GrabarCfg) return;
  std::vector<std::string> textos;
  for (int w : AnchosTwips()) textos.push_back(std::to_string(w));
  consulta::GrabarAnchos(contexto_.tarvex.utilidades().CarpetaConBarra(contexto_.carpetaPrograma),
                         tablaConsulta_, textos);
}

void Lib_FrmCons3::Descargar() {
  try {
    UsarUDBC = false;
    GrabarAnchosGuardados();
    modelo_->Vaciar();
  } catch (const std::exception& e) {
    contexto_.prompt.Message(consulta::InfoDe(e, "Lib_FrmCons3").description, 16,
                             "Aviso al Operador");
  }
}

// ----------------------------------------------------------------- layout

void Lib_FrmCons3::resizeEvent(QResizeEvent* ev) {
  QDialog::resizeEvent(ev);
  Redimensionar();
}

void Lib_FrmCons3::Redimensionar() {
  Omitible([&] {
    const int W = PixelsToTwips(width()) + kMarcoAncho;
    const int H = PixelsToTwips(height()) + kMarcoAlto;
    const int altoCaja = PixelsToTwips(cajas_.empty() ? 21 : cajas_[0]->sizeHint().height());
    const int altoScroll = PixelsToTwips(hScroll_->sizeHint().height());

    const int topBarra = H - kAltoBarra - kMarcoAlto;
    frame1_->setGeometry(ui::TwipsRect(0, topBarra, W, kAltoBarra));
    const int topScroll = topBarra - altoScroll;
    hScroll_->setGeometry(ui::TwipsRect(0, topScroll, W - kMarcoAncho, altoScroll));

    const int altoTira = std::max(altoCaja + 300, topScroll - kTopeTira);
    const int anchoTira = std::max(W - kMarcoAncho, anchoListaTwips_);
    picFields_->setGeometry(TwipsToPixels(-hScroll_->value()), TwipsToPixels(kTopeTira),
                            TwipsToPixels(anchoTira), TwipsToPixels(altoTira));
    const int anchoLista = std::max(W - kMarcoAncho - 20, anchoListaTwips_);
    lista_->setGeometry(ui::TwipsRect(0, altoCaja, anchoLista, altoTira - altoCaja));

    // Buttons of the bar.
    const int anchoBarra = W;
    int wA = kAnchoBoton, wC = kAnchoBoton;
    const int topBoton = (kAltoBarra - kAltoBoton) / 2;
    int leftA = 100;
    int leftC = (anchoBarra - wC) / 2;
    int leftN = anchoBarra - (wC + 150);
    if (cmdNueva_->isHidden()) {
      if (wA + wC + 400 > anchoBarra) {
        wA = wA / 2;
        wC = wA;
        leftC = anchoBarra - (wC + 150);
        leftN = leftC;
      } else {
        leftC = leftN;
      }
    }
    cmdAceptar_->setGeometry(ui::TwipsRect(leftA, topBoton, wA, kAltoBoton));
    cmdCancelar_->setGeometry(ui::TwipsRect(leftC, topBoton, wC, kAltoBoton));
    cmdNueva_->setGeometry(ui::TwipsRect(leftN, topBoton, kAnchoBoton, kAltoBoton));

    // Title strip.
    const int anchoTitulo = std::max(kAnchoBoton, W - kMarcoAncho - 20 - 2 * kAnchoBoton);
    label1_->setGeometry(ui::TwipsRect(60, 60, anchoTitulo, kAltoBoton));
    cmdTodos_->setGeometry(
        ui::TwipsRect(60 + anchoTitulo - kAnchoBoton, 20, kAnchoBoton, kAltoBoton));
    cmdNuevo_->setGeometry(ui::TwipsRect(60 + anchoTitulo, 20, kAnchoBoton, kAltoBoton));
    ColocarCajas();
  });
}

// ----------------------------------------------------------------- search

long Lib_FrmCons3::Busqueda(int Clave, const std::string& QueValor) const {
  const int columna = Clave <= 0 ? 0 : Clave;
  if (columna >= modelo_->NumColumnas()) return 0;
  return modelo_->Buscar(columna, Q(texto::Recortar(QueValor))) + 1;
}

int Lib_FrmCons3::IndiceColumna(const std::string& Columna) const {
  const QString buscada = Q(texto::Recortar(Columna));
  const auto& enc = modelo_->Encabezados();
  for (int i = 0; i < enc.size(); ++i)
    if (enc[i].trimmed().compare(buscada, Qt::CaseInsensitive) == 0) return i + 1;
  return 0;
}

void Lib_FrmCons3::BusquedaIncremental(int k) {
  Omitible([&] {
    int columna = contexto_.tarvex.utilidades().TextoAIndice(std::to_string(k));
    long fila = Busqueda(
        columna, texto::Recortar(cajas_[static_cast<std::size_t>(k)]->currentText().toStdString()));
    if (fila > 0) SeleccionarFila(static_cast<int>(fila - 1));
  });
}

int Lib_FrmCons3::SeleccionActual() const {
  auto filas = lista_->selectionModel()->selectedRows();
  return filas.isEmpty() ? -1 : filas.first().row();
}

void Lib_FrmCons3::SeleccionarFila(int fila) {
  if (fila < 0 || fila >= modelo_->Filas()) return;
  QModelIndex idx = modelo_->index(fila, 0);
  lista_->selectionModel()->setCurrentIndex(
      idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  lista_->scrollTo(idx);
}

void Lib_FrmCons3::BuscarEnBase(int caja) {
  // A picker has no statement to narrow.
  if (texto::Recortar(sqlInicial_).empty()) return;
  Omitible([&] {
    QComboBox* c = cajas_.at(static_cast<std::size_t>(caja));
    std::string texto = c->currentText().toStdString();
    auto r = consulta::SentenciaF5Lista(sql, sqlActual_, tags_.at(static_cast<std::size_t>(caja)),
                                        texto, CfgUsaConsultaLIKE);
    if (!CfgUsaConsultaLIKE) c->setEditText(Q(texto));
    colaOrden_ = r.colaOrden;
    sql = r.sql;
    c->setEditText("");
    sqlActual_ = sql;
    Cargar();
  });
}

void Lib_FrmCons3::ClickEncabezado(int columna) {
  Omitible([&] {
    ordenDescendente_ = !ordenDescendente_;
    modelo_->Ordenar(columna, ordenDescendente_ ? Qt::DescendingOrder : Qt::AscendingOrder);
    int fila = SeleccionActual();
    if (fila >= 0) lista_->scrollTo(modelo_->index(fila, 0));
  });
}

// ------------------------------------------------------------------- keys

bool Lib_FrmCons3::eventFilter(QObject* obj, QEvent* ev) {
  if (obj == lista_ && ev->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(ev);
    int vk = ui::VirtualKeyFromQt(*ke);
    if (vk == ui::vk::kF12 && esArticulos_) {
      InformarFaltante();
      return true;
    }
    const auto mods = ke->modifiers() & ~Qt::KeypadModifier;
    return TeclaLista(
        vk, mods == Qt::ShiftModifier,
        (mods & ~Qt::ShiftModifier) != 0 || (mods != Qt::NoModifier && mods != Qt::ShiftModifier));
  }
  for (int k = 0; k < CantidadCajas(); ++k) {
    QComboBox* caja = cajas_[static_cast<std::size_t>(k)];
    if (obj != caja->lineEdit() && obj != caja) continue;
    if (ev->type() == QEvent::FocusIn) {
      busquedaActual_ = k;
      Pintar(caja, kCian);
    } else if (ev->type() == QEvent::FocusOut) {
      Pintar(caja, kBlanco);
    } else if (ev->type() == QEvent::KeyPress) {
      int vk = ui::VirtualKeyFromQt(*static_cast<QKeyEvent*>(ev));
      if (vk == ui::vk::kF12 && esArticulos_) {
        InformarFaltante();
        return true;
      }
      if (vk == ui::vk::kF5) {
        BuscarEnBase(k);
        return true;
      }
      if (vk == ui::vk::kUp || vk == ui::vk::kDown || vk == ui::vk::kPrior || vk == ui::vk::kNext) {
        TeclaLista(vk, false, false);
        lista_->setFocus();
        return true;
      }
    }
    break;
  }
  return QDialog::eventFilter(obj, ev);
}

bool Lib_FrmCons3::TeclaLista(int keyCode, bool shift, bool otrosModificadores) {
  bool consumida = false;
  ConReporte(contexto_, "ListView1_KeyDown", [&] {
    const bool sinModificador = !shift && !otrosModificadores;
    auto alCuadro = [&](const QString& agregado, bool borrar) {
      if (busquedaActual_ >= CantidadCajas()) busquedaActual_ = 0;
      QComboBox* caja = cajas_[static_cast<std::size_t>(busquedaActual_)];
      QString t = caja->currentText();
      if (borrar)
        t.chop(1);
      else
        t += agregado;
      caja->setEditText(t);
      caja->setFocus();
      caja->lineEdit()->end(false);
      consumida = true;
    };
    if (keyCode == ui::vk::kSpace && CheckBoxes) {
      int fila =
          lista_->currentIndex().isValid() ? lista_->currentIndex().row() : SeleccionActual();
      if (fila >= 0) modelo_->SetTick(fila, !modelo_->Tick(fila));
      consumida = true;
    } else if (keyCode == ui::vk::kReturn) {
      consumida = true;
      Aceptar();
    } else if (keyCode == ui::vk::kInsert && shift && !otrosModificadores && UsaCantidades) {
      consumida = true;
      Cantidad(SeleccionActual(), 0);
    } else if (keyCode == ui::vk::kInsert && sinModificador && UsaCantidades) {
      consumida = true;
      Cantidad(SeleccionActual(), 1);
    } else if (keyCode == ui::vk::kDelete && sinModificador && UsaCantidades) {
      consumida = true;
      Cantidad(SeleccionActual(), -1);
    } else if ((keyCode >= 47 && keyCode <= 93) || (keyCode >= 97 && keyCode <= 125)) {
      alCuadro(QString(QChar(keyCode)), false);
    } else if (keyCode == ui::vk::kSpace) {
      alCuadro(" ", false);
    } else if (keyCode == ui::vk::kBack) {
      alCuadro({}, true);
    }
  });
  return consumida;
}

void Lib_FrmCons3::Cantidad(int fila, int modo) {
  const int col = IndiceColumna("Cantidad");
  if (fila < 0 || col == 0) return;  // no row or no quantities column: nothing to change
  const std::string actual = ValorCelda(fila, col);
  if (modo == 0) {
    auto respuesta =
        contexto_.prompt.Input("Ingrese la Cantidad del Articulo...", "Carga de Datos", actual);
    if (!respuesta) return;  // a cancelled input keeps the quantity
    modelo_->SetCelda(fila, col - 1, Q(Formato(texto::ValorNumerico(*respuesta), 2)));
    modelo_->SetTick(fila, true);
  } else if (modo > 0) {
    modelo_->SetCelda(fila, col - 1, Q(Formato(texto::ValorNumerico(actual) + 1, 1)));
    modelo_->SetTick(fila, true);
  } else {
    double v = texto::ValorNumerico(actual) - 1;
    if (v <= 0) {
      modelo_->SetTick(fila, false);
      modelo_->SetCelda(fila, col - 1, "0.00");
    } else {
      modelo_->SetCelda(fila, col - 1, Q(Formato(v, 1)));
    }
  }
}

std::string Lib_FrmCons3::ValorCelda(int fila, int columna1) const {
  if (fila < 0 || columna1 < 1 || columna1 > modelo_->NumColumnas()) return "";
  return modelo_->Celda(fila, columna1 - 1).toStdString();
}

void Lib_FrmCons3::InformarFaltante() {
  if (!esArticulos_) return;
  const int fila = SeleccionActual();
  if (fila < 0) return;  // nothing to report
  Omitible([&] {
    const std::string codigo = ValorCelda(fila, IndiceColumna("idarticulo"));
    const std::string descripcion = ValorCelda(fila, IndiceColumna("Descripcion"));
    int r = contexto_.prompt.Message("Desea informar el articulo " + texto::Recortar(codigo) + " " +
                                         texto::Recortar(descripcion) + "\r\n" +
                                         "como un faltante de stock?",
                                     4 + 32, "Atención!");
    if (r != 6) return;
    DB_Dll& db = contexto_.gDB();
    std::string st =
        "INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('" +
        QDateTime::currentDateTime().toString("dd/MM/yyyy HH:mm:ss").toStdString() + "','" +
        texto::DoblarApostrofes(contexto_.tarvex.utilidades().AjustarTexto(codigo, 25)) + "','" +
        texto::DoblarApostrofes(texto::Recortar(descripcion)) + "','" +
        texto::DoblarApostrofes(db.gUsuario) + "')";
    db.EjecutaConsultaSQL(st);
  });
}

// ---------------------------------------------------------------- buttons

void Lib_FrmCons3::Aceptar() {
  bool sigue = ConReporte(contexto_, "CmdAceptar_Click", [&] {
    if (!Valores) Valores = std::vector<std::string>{};
    if (CheckBoxes) {
      if (CampoDevuelto.empty() && modelo_->NumColumnas() > 0)
        CampoDevuelto = modelo_->Encabezados()[0].toStdString();
      const int col = IndiceColumna(CampoDevuelto);
      std::string anterior;
      for (int f = 0; f < modelo_->Filas(); ++f) {
        if (!modelo_->Tick(f)) continue;
        if (col > 0) anterior = ValorCelda(f, col);
        Valores->push_back(anterior);
      }
      return;
    }
    const int fila = SeleccionActual();
    if (fila < 0) return;
    if (CmpsDevueltos) {
      std::string anterior;
      for (const auto& nombre : *CmpsDevueltos) {
        int col = IndiceColumna(nombre);
        if (col > 0) anterior = ValorCelda(fila, col);
        Valores->push_back(anterior);
      }
    }
    const std::string ultimo = Valores->empty() ? "" : Valores->back();
    if (!texto::Recortar(CampoDevuelto).empty()) {
      int col = IndiceColumna(CampoDevuelto);
      ValorDevuelto = col > 0 ? ValorCelda(fila, col) : ultimo;
    } else {
      ValorDevuelto = ultimo;
    }
  });
  if (sigue) QDialog::done(QDialog::Accepted);
}

void Lib_FrmCons3::Cancelar() {
  ValorDevuelto.clear();
  CmpsDevueltos.reset();
  Valores.reset();
  QDialog::done(QDialog::Rejected);
}

void Lib_FrmCons3::reject() {
  QDialog::reject();
}

void Lib_FrmCons3::NuevaBusqueda() {
  Omitible([&] {
    sql = sqlInicial_;
    Cargar();
    cajas_[0]->setFocus();
  });
}

void Lib_FrmCons3::NuevoRegistro() {
  Omitible([&] {
    const std::string t = texto::Recortar(tablaConsulta_);
    std::string programa = "SHELL:V_TA_TABLAS";
    std::string parametro = tablaConsulta_;
    if (texto::IgualSinCaso(t, "VT_CLIENTES")) {
      programa = "SHELL:V_MA_CLIENTES";
      parametro = "1";
    } else if (texto::IgualSinCaso(t, "VT_PROVEEDORES")) {
      programa = "SHELL:V_MA_CLIENTES";
      parametro = "0";
    } else if (texto::IgualSinCaso(t, "V_TA_Tecnicos")) {
      programa = "SHELL:V_TA_Tecnicos";
      parametro = "";
    } else if (texto::IgualSinCaso(t, "V_TA_VENDEDORES")) {
      programa = "SHELL:V_TA_VENDEDORES";
      parametro = "";
    } else if (texto::IgualSinCaso(t, "V_MA_ARTICULOS") ||
               texto::IgualSinCaso(t, "VT_MA_ARTICULOS")) {
      programa = "SHELL:V_MA_ARTICULOS";
      parametro = "";
    }
    if (!LanzadorProgramas) return;
    long resultado = 0;
    LanzadorProgramas(programa, parametro, resultado);
  });
}

void Lib_FrmCons3::PrepararSelector(const std::string& Titulo, bool conTicks) {
  setWindowTitle(Q(Titulo));
  cmdNueva_->hide();
  OrdenarPorLwv = true;
  sql.clear();
  gConnString.clear();
  CampoDevuelto = Titulo;
  CheckBoxes = conTicks;
  modelo_->SetConTicks(conTicks);
  const int ancho = std::max(PixelsToTwips(width()) - kMarcoAncho - 20, 300);
  modelo_->Columnas(QStringList{Q(Titulo)});
  SetAnchoTwips(0, ancho);
  for (std::size_t k = 1; k < cajas_.size(); ++k) cajas_[k]->hide();
  ColocarCajas();
  Redimensionar();
}

void Lib_FrmCons3::AgregarOpcion(const std::string& texto, bool tick) {
  std::vector<QString> celdas{Q(texto)};
  modelo_->Agregar(celdas, tick, std::nullopt);
}

void Lib_FrmCons3::AnchoSelector(std::size_t largo) {
  const int pantalla = PantallaTwips();
  const long ancho = static_cast<long>(largo) * 120;
  const int twips = ancho < pantalla ? static_cast<int>(ancho) : pantalla;
  resize(std::max(TwipsToPixels(twips - kMarcoAncho), 120), height());
  SetAnchoTwips(0, std::max(PixelsToTwips(width()) - kMarcoAncho - 20, 300));
  Redimensionar();
}

void Lib_FrmCons3::MarcarTodos() {
  modelo_->InvertirTicks();
}

}  // namespace ferolin
