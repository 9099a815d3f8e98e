#include "lookup/lib_frm_cons3_tree.h"
#include "data_access/texto.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "data_access/db_dll.h"
#include "lookup/pasos.h"
#include "lookup/sentencias.h"
#include "platform/db/recordset.h"
#include "platform/ui/keys.h"
#include "platform/ui/twips.h"

namespace ferolin {

using consulta::ConReporte;
using consulta::Omitible;

namespace {
constexpr int kRolClave = Qt::UserRole + 1;
constexpr int kNivelesTick = 6;
}  // namespace

const char* const Lib_FrmCons3Tree::kSentenciaFamilias =
    "SELECT     TOP 100 PERCENT IdFamilia, Descripcion, "
    "(SELECT     TOP 1 idfamilia FROM @Admin_v_ta_familias a  "
    " Where a.IdFamilia < b.IdFamilia And (Len(LTrim(RTrim(a.IdFamilia))) < "
    "Len(LTrim(RTrim(b.IdFamilia)))) "
    " ORDER BY idfamilia DESC) AS [relative] FROM dbo.V_TA_FAMILIAS b Where IdFamilia<>'' ORDER "
    "BY IdFamilia";

Lib_FrmCons3Tree::Lib_FrmCons3Tree(ContextoDatos& contexto, QWidget* parent)
    : QDialog(parent), contexto_(contexto) {
  setWindowTitle("Consulta...");
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setSizeGripEnabled(true);
  resize(ui::TwipsToPixels(5910), ui::TwipsToPixels(4755));
  if (QScreen* s = QGuiApplication::primaryScreen())
    move(s->availableGeometry().center() - rect().center());

  auto* vbox = new QVBoxLayout(this);
  caja_ = new QComboBox(this);
  caja_->setEditable(true);
  caja_->setInsertPolicy(QComboBox::NoInsert);
  caja_->setToolTip("F5 realiza nueva busqueda");
  caja_->lineEdit()->installEventFilter(this);
  connect(caja_, &QComboBox::editTextChanged, this,
          [this](const QString& t) { Omitible([&] { Buscar(t.toStdString()); }); });
  connect(caja_, &QComboBox::activated, this,
          [this](int) { Omitible([&] { Buscar(caja_->currentText().toStdString()); }); });
  vbox->addWidget(caja_);

  arbol_ = new QTreeWidget(this);
  arbol_->setHeaderHidden(true);
  arbol_->setRootIsDecorated(true);
  arbol_->setUniformRowHeights(true);
  vbox->addWidget(arbol_, 1);
  connect(arbol_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* it, int col) {
    if (col == 0 && !propagando_ && CheckBoxes) Marcar(it, it->checkState(0) == Qt::Checked);
  });
  connect(arbol_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem*, int) { Aceptar(); });

  frame1_ = new QFrame(this);
  auto* hbox = new QHBoxLayout(frame1_);
  cmdAceptar_ = new QPushButton("&Aceptar", frame1_);
  cmdCancelar_ = new QPushButton("&Cancelar", frame1_);
  cmdNueva_ = new QPushButton("&Nueva Busqueda", frame1_);
  for (QPushButton* b : {cmdAceptar_, cmdCancelar_, cmdNueva_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
    hbox->addWidget(b);
  }
  vbox->addWidget(frame1_);
  connect(cmdAceptar_, &QPushButton::clicked, this, [this] { Aceptar(); });
  connect(cmdCancelar_, &QPushButton::clicked, this, [this] { Cancelar(); });
  connect(cmdNueva_, &QPushButton::clicked, this, [this] { NuevaBusqueda(); });
}

Lib_FrmCons3Tree::~Lib_FrmCons3Tree() = default;

void Lib_FrmCons3Tree::Cargar() {
  const std::string rutina = "FORM_LOAD";
  if (!ConReporte(contexto_, rutina, [&] {
        Valores = std::vector<std::string>{};
        arbol_->clear();
        claves_.clear();
        nodos_.clear();
      }))
    return;
  ConReporte(contexto_, rutina, [&] {
    if (texto::Contiene(sql, "v_ta_familias"))
      ArmarTreeVFamilias();
    else
      ArmarTreeVAutomatico();
  });
}

void Lib_FrmCons3Tree::Iniciar() {
  arbol_->clear();
  claves_.clear();
  nodos_.clear();
  auto* raiz = new QTreeWidgetItem(arbol_, QStringList{"Consulta..."});
  raiz->setData(0, kRolClave, QString("A"));
  if (CheckBoxes) raiz->setCheckState(0, Qt::Unchecked);
  claves_["A"] = raiz;
  nodos_.push_back(raiz);
  raiz->setExpanded(true);
}

bool Lib_FrmCons3Tree::LeerFilas(const std::string& rutina,
                                 std::vector<std::vector<std::optional<std::string>>>& filas,
                                 int columnas) {
  db::Recordset rs;
  DB_Dll& datos = contexto_.gDB();
  if (!ConReporte(contexto_, rutina, [&] {
        std::string s = sql;
        datos.AbrirRecordset(s, rs, &datos.gCnn(), 0, 1, -1, true);
      }))
    return false;
  if (rs.State() == db::state::kClosed) return false;  // reported by the data access
  bool seguir = ConReporte(contexto_, rutina, [&] {
    if (rs.Bof() && rs.Eof()) return;
    for (; !rs.Eof(); rs.MoveNext()) {
      std::vector<std::optional<std::string>> fila;
      for (int c = 0; c < columnas; ++c) {
        db::Field f = rs.Fields(static_cast<std::size_t>(c));
        fila.push_back(f.IsNull() ? std::nullopt : std::optional<std::string>(f.Text()));
      }
      filas.push_back(std::move(fila));
    }
  });
  Omitible([&] { datos.CierraRecordset(rs); });
  return seguir;
}

void Lib_FrmCons3Tree::AgregarNodo(QTreeWidgetItem* padre, const std::string& codigo,
                                   const std::string& texto) {
  const std::string clave = texto::Mayusculas("A" + codigo);
  if (claves_.count(clave)) throw std::runtime_error("La clave " + ("A" + codigo) + " ya existe");
  auto* nodo = new QTreeWidgetItem(padre, QStringList{QString::fromStdString(texto)});
  nodo->setData(0, kRolClave, QString::fromStdString("A" + codigo));
  if (CheckBoxes) {
    propagando_ = true;
    nodo->setCheckState(0, Qt::Unchecked);
    propagando_ = false;
  }
  claves_[clave] = nodo;
  nodos_.push_back(nodo);
}

void Lib_FrmCons3Tree::ArmarTreeVFamilias() {
  const std::string rutina = "ArmarTreeVFamilias";
  sql = kSentenciaFamilias;
  Iniciar();
  std::vector<std::vector<std::optional<std::string>>> filas;
  if (!LeerFilas(rutina, filas, 3)) return;
  for (const auto& f : filas) {
    bool seguir = ConReporte(contexto_, rutina, [&] {
      const std::string codigo = f[0].value_or("");
      QTreeWidgetItem* padre = nodos_.front();
      if (f[2]) {
        padre = Nodo("A" + *f[2]);
        if (!padre) throw std::runtime_error("No existe el nodo A" + *f[2]);
      }
      AgregarNodo(padre, codigo, codigo + " - " + f[1].value_or(""));
    });
    if (!seguir) return;
  }
}

void Lib_FrmCons3Tree::ArmarTreeVAutomatico() {
  const std::string rutina = "ArmarTreeVAutomatico";
  Iniciar();
  std::vector<std::vector<std::optional<std::string>>> filas;
  if (!LeerFilas(rutina, filas, 2)) return;
  for (const auto& f : filas) {
    bool seguir = ConReporte(contexto_, rutina, [&] {
      const std::string codigo = f[0].value_or("");
      const std::string clave = texto::Mayusculas("A" + codigo);
      // The parent is the node with the longest key that starts the new key.
      QTreeWidgetItem* padre = nodos_.front();
      for (std::size_t largo = clave.size() - 1; largo >= 1; --largo) {
        auto it = claves_.find(clave.substr(0, largo));
        if (it != claves_.end()) {
          padre = it->second;
          break;
        }
      }
      AgregarNodo(padre, codigo, codigo + " - " + f[1].value_or(""));
    });
    if (!seguir) return;
  }
}

QTreeWidgetItem* Lib_FrmCons3Tree::Nodo(const std::string& clave) const {
  auto it = claves_.find(texto::Mayusculas(clave));
  return it == claves_.end() ? nullptr : it->second;
}

std::string Lib_FrmCons3Tree::Codigo(QTreeWidgetItem* nodo) const {
  return nodo->data(0, kRolClave).toString().toStdString().substr(1);
}

void Lib_FrmCons3Tree::Buscar(const std::string& texto) {
  if (nodos_.empty()) return;
  if (texto.empty()) {
    arbol_->setCurrentItem(nodos_.front());
    return;
  }
  const QString buscado = QString::fromStdString(texto);
  for (std::size_t i = 1; i < nodos_.size(); ++i) {
    const QString t = nodos_[i]->text(0);
    const qsizetype guion = t.indexOf('-');
    const QString codigo = (guion < 0 ? t : t.left(guion)).trimmed();
    const QString descripcion = guion < 0 ? QString() : t.mid(guion + 1).trimmed();
    if (codigo.startsWith(buscado, Qt::CaseInsensitive) ||
        descripcion.startsWith(buscado, Qt::CaseInsensitive)) {
      arbol_->setCurrentItem(nodos_[i]);
      arbol_->scrollToItem(nodos_[i]);
      return;
    }
  }
}

void Lib_FrmCons3Tree::BuscarEnBase() {
  Omitible([&] {
    caja_->setProperty("tag", QString("Descripcion"));
    auto r = consulta::SentenciaF5Arbol(sql, caja_->currentText().toStdString());
    colaOrden_ = r.colaOrden;
    sql = r.sql;
    caja_->setEditText("");
    cabezaSql_ = sql;
    Cargar();
  });
}

void Lib_FrmCons3Tree::Marcar(QTreeWidgetItem* nodo, bool tick) {
  propagando_ = true;
  std::vector<std::pair<QTreeWidgetItem*, int>> pila{{nodo, 0}};
  while (!pila.empty()) {
    auto [n, nivel] = pila.back();
    pila.pop_back();
    if (n != nodo) n->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
    if (nivel == kNivelesTick) continue;
    for (int i = 0; i < n->childCount(); ++i) pila.emplace_back(n->child(i), nivel + 1);
  }
  if (nodo->checkState(0) != (tick ? Qt::Checked : Qt::Unchecked))
    nodo->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
  propagando_ = false;
}

void Lib_FrmCons3Tree::Aceptar() {
  DB_Dll& datos = contexto_.gDB();
  auto& u = contexto_.tarvex.utilidades();
  bool sigue = ConReporte(contexto_, "CmdAceptar_Click", [&] {
    if (!Valores) Valores = std::vector<std::string>{};
    const std::string campo = texto::Recortar(CampoDevuelto);
    if (CheckBoxes) {
      Valores->clear();
      for (std::size_t i = 1; i < nodos_.size(); ++i) {
        if (nodos_[i]->checkState(0) != Qt::Checked) continue;
        const std::string codigo = Codigo(nodos_[i]);
        if (texto::IgualSinCaso(campo, "IDFAMILIA") || texto::IgualSinCaso(campo, "CODIGO")) {
          Valores->push_back(texto::Recortar(codigo));
        } else if (texto::IgualSinCaso(campo, "IDPOSICION")) {
          db::Recordset rs;
          if (datos.ExisteEnTabla("MA_POSICIONES", codigo, "IDPOSICION", &rs, 8, "", true))
            Valores->push_back(u.ValorCampo(rs.Fields("IDPOSICION")));
          Omitible([&] { datos.CierraRecordset(rs); });
        }
      }
      return;
    }
    QTreeWidgetItem* actual = arbol_->currentItem();
    if (!actual) return;
    const std::string codigo = Codigo(actual);
    db::Recordset rs;
    bool encontrado = false;
    if (texto::IgualSinCaso(campo, "IDFAMILIA")) {
      encontrado = datos.ExisteEnTabla("@admin_V_TA_FAMILIAS", codigo, "IDFAMILIA", &rs, 8, "");
    } else if (texto::IgualSinCaso(campo, "IDPOSICION")) {
      encontrado = datos.ExisteEnTabla("MA_POSICIONES", codigo, "IDPOSICION", &rs, 8, "");
    } else if (texto::IgualSinCaso(campo, "CODIGO")) {
      encontrado = datos.ExisteEnTabla("TA_CCOSTO", codigo, "CODIGO", &rs, 8, "") ||
                   datos.ExisteEnTabla("MA_CUENTAS", codigo, "CODIGO", &rs, 8, "");
    } else {
      return;
    }
    ValorDevuelto = encontrado ? u.ValorCampo(rs.Fields(campo)) : "";
    Omitible([&] { datos.CierraRecordset(rs); });
  });
  if (sigue) QDialog::done(QDialog::Accepted);
}

void Lib_FrmCons3Tree::Cancelar() {
  ValorDevuelto.clear();
  CmpsDevueltos.reset();
  Valores.reset();
  QDialog::done(QDialog::Rejected);
}

void Lib_FrmCons3Tree::NuevaBusqueda() {
  Omitible([&] {
    if (texto::Contiene(sql, "v_ta_familias"))
      ArmarTreeVFamilias();
    else
      ArmarTreeVAutomatico();
  });
}

void Lib_FrmCons3Tree::Descargar() {
  try {
    arbol_->clear();
    claves_.clear();
    nodos_.clear();
  } catch (const std::exception& e) {
    contexto_.prompt.Message(e.what(), 16, "Aviso al Operador");
  }
}

bool Lib_FrmCons3Tree::eventFilter(QObject* obj, QEvent* ev) {
  if (obj == caja_->lineEdit() && ev->type() == QEvent::KeyPress) {
    int vk = ui::VirtualKeyFromQt(*static_cast<QKeyEvent*>(ev));
    if (vk == ui::vk::kF5) {
      BuscarEnBase();
      return true;
    }
    if (vk == ui::vk::kUp || vk == ui::vk::kDown || vk == ui::vk::kPrior || vk == ui::vk::kNext) {
      arbol_->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(obj, ev);
}

}  // namespace ferolin
