#include "main_window/planilla_window.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <vector>

#include "data_access/db_dll.h"

namespace ferolin {

namespace {

// The rows as read, held once; the view and the filter only index them.
class ModeloPlanilla : public QAbstractTableModel {
 public:
  ModeloPlanilla(std::vector<QString> columnas, std::vector<std::vector<QString>> filas,
                 QObject* parent)
      : QAbstractTableModel(parent), columnas_(std::move(columnas)), filas_(std::move(filas)) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(filas_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(columnas_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    return filas_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return columnas_[static_cast<std::size_t>(section)];
    return section + 1;
  }

 private:
  std::vector<QString> columnas_;
  std::vector<std::vector<QString>> filas_;
};

}  // namespace

PlanillaWindow::PlanillaWindow(DB_Dll& gdb, const std::string& tabla, const std::string& titulo,
                               QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName("Planilla_" + QString::fromStdString(tabla));
  setWindowTitle(QString::fromStdString(titulo));

  std::vector<QString> columnas;
  std::vector<std::vector<QString>> filas;
  db::Recordset rs;
  std::string sql = "SELECT * FROM " + tabla;
  gdb.AbrirRecordset(sql, rs);
  if (rs.State() != db::state::kClosed) {
    for (std::size_t c = 0; c < rs.FieldCount(); ++c) {
      columnas.push_back(QString::fromStdString(rs.Fields(c).Name()));
    }
    filas.reserve(static_cast<std::size_t>(std::max(rs.RecordCount(), 0L)));
    while (!rs.Eof()) {
      std::vector<QString> fila;
      fila.reserve(columnas.size());
      for (std::size_t c = 0; c < columnas.size(); ++c) {
        fila.push_back(QString::fromStdString(rs.Fields(c).Text()));
      }
      filas.push_back(std::move(fila));
      rs.MoveNext();
    }
    gdb.CierraRecordset(rs);
  }

  auto* modelo = new ModeloPlanilla(std::move(columnas), std::move(filas), this);
  filtro_ = new QSortFilterProxyModel(this);
  filtro_->setSourceModel(modelo);
  filtro_->setFilterKeyColumn(-1);
  filtro_->setFilterCaseSensitivity(Qt::CaseInsensitive);

  buscar_ = new QLineEdit(this);
  buscar_->setObjectName("TxtBuscar");
  buscar_->setPlaceholderText("Buscar");
  buscar_->setClearButtonEnabled(true);
  connect(buscar_, &QLineEdit::textChanged, filtro_, &QSortFilterProxyModel::setFilterFixedString);

  lista_ = new QTableView(this);
  lista_->setObjectName("lstPlanilla");
  lista_->setModel(filtro_);
  lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lista_->setSortingEnabled(true);
  lista_->sortByColumn(-1, Qt::AscendingOrder);
  lista_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  lista_->horizontalHeader()->setStretchLastSection(true);

  auto* capa = new QVBoxLayout(this);
  capa->addWidget(buscar_);
  capa->addWidget(lista_);
  resize(640, 480);
}

PlanillaWindow::~PlanillaWindow() = default;

int PlanillaWindow::FilasVisibles() const {
  return filtro_->rowCount();
}

int PlanillaWindow::FilasTotales() const {
  return filtro_->sourceModel()->rowCount();
}

}  // namespace ferolin
