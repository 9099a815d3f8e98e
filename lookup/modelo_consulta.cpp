#include "lookup/modelo_consulta.h"

#include <algorithm>
#include <numeric>

namespace ferolin {

ModeloConsulta::ModeloConsulta(QObject* parent) : QAbstractTableModel(parent) {
  negrita_.setBold(true);
}

void ModeloConsulta::Vaciar() {
  beginResetModel();
  celdas_.clear();
  ticks_.clear();
  colores_.clear();
  orden_.clear();
  endResetModel();
}

void ModeloConsulta::Columnas(const QStringList& encabezados) {
  beginResetModel();
  celdas_.clear();
  ticks_.clear();
  colores_.clear();
  orden_.clear();
  encabezados_ = encabezados;
  endResetModel();
}

void ModeloConsulta::IniciarCarga(std::size_t filasPrevistas) {
  beginResetModel();
  cargando_ = true;
  celdas_.reserve(celdas_.size() + filasPrevistas * static_cast<std::size_t>(NumColumnas()));
  ticks_.reserve(ticks_.size() + filasPrevistas);
  colores_.reserve(colores_.size() + filasPrevistas);
  orden_.reserve(orden_.size() + filasPrevistas);
}

void ModeloConsulta::Agregar(std::vector<QString>& celdas, bool tick, std::optional<QColor> color) {
  const bool aislado = !cargando_;
  if (aislado) beginInsertRows(QModelIndex(), Filas(), Filas());
  celdas.resize(static_cast<std::size_t>(NumColumnas()));
  for (auto& c : celdas) celdas_.push_back(std::move(c));
  orden_.push_back(static_cast<int>(ticks_.size()));
  ticks_.push_back(tick ? 1 : 0);
  colores_.push_back(color);
  if (aislado) endInsertRows();
}

void ModeloConsulta::TerminarCarga() {
  cargando_ = false;
  endResetModel();
}

void ModeloConsulta::SetConTicks(bool v) {
  beginResetModel();
  conTicks_ = v;
  endResetModel();
}

const QString& ModeloConsulta::Celda(int fila, int columna) const {
  return celdas_[Origen(fila) * static_cast<std::size_t>(NumColumnas()) +
                 static_cast<std::size_t>(columna)];
}

void ModeloConsulta::SetCelda(int fila, int columna, const QString& texto) {
  celdas_[Origen(fila) * static_cast<std::size_t>(NumColumnas()) +
          static_cast<std::size_t>(columna)] = texto;
  emit dataChanged(index(fila, columna), index(fila, columna), {Qt::DisplayRole});
}

bool ModeloConsulta::Tick(int fila) const {
  return ticks_[Origen(fila)] != 0;
}

void ModeloConsulta::SetTick(int fila, bool v) {
  ticks_[Origen(fila)] = v ? 1 : 0;
  emit dataChanged(index(fila, 0), index(fila, 0), {Qt::CheckStateRole});
}

void ModeloConsulta::InvertirTicks() {
  for (auto& t : ticks_) t = t ? 0 : 1;
  if (Filas() > 0) emit dataChanged(index(0, 0), index(Filas() - 1, 0), {Qt::CheckStateRole});
}

void ModeloConsulta::Ordenar(int columna, Qt::SortOrder orden) {
  if (columna < 0 || columna >= NumColumnas()) return;
  emit layoutAboutToBeChanged();
  const std::size_t n = static_cast<std::size_t>(NumColumnas());
  std::vector<QString> claves(ticks_.size());
  for (std::size_t i = 0; i < claves.size(); ++i)
    claves[i] = celdas_[i * n + static_cast<std::size_t>(columna)].toCaseFolded();
  std::vector<int> nuevo(ticks_.size());
  std::iota(nuevo.begin(), nuevo.end(), 0);
  if (orden == Qt::AscendingOrder) {
    std::stable_sort(nuevo.begin(), nuevo.end(),
                     [&](int a, int b) { return claves[a] < claves[b]; });
  } else {
    std::stable_sort(nuevo.begin(), nuevo.end(),
                     [&](int a, int b) { return claves[b] < claves[a]; });
  }
  // Persistent indexes (the current row) follow their row.
  QModelIndexList viejos = persistentIndexList();
  std::vector<int> posicion(nuevo.size());
  for (std::size_t i = 0; i < nuevo.size(); ++i) posicion[nuevo[i]] = static_cast<int>(i);
  QModelIndexList nuevos;
  for (const auto& idx : viejos) {
    int origen = orden_[idx.row()];
    nuevos.append(index(posicion[origen], idx.column()));
  }
  orden_ = std::move(nuevo);
  changePersistentIndexList(viejos, nuevos);
  emit layoutChanged();
}

int ModeloConsulta::Buscar(int columna, const QString& prefijo) const {
  if (columna < 0 || columna >= NumColumnas()) return -1;
  const std::size_t n = static_cast<std::size_t>(NumColumnas());
  for (int f = 0; f < Filas(); ++f) {
    QStringView celda(celdas_[Origen(f) * n + static_cast<std::size_t>(columna)]);
    if (celda.trimmed().startsWith(prefijo, Qt::CaseInsensitive)) return f;
  }
  return -1;
}

int ModeloConsulta::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Filas();
}

int ModeloConsulta::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : NumColumnas();
}

QVariant ModeloConsulta::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Filas()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return Celda(index.row(), index.column());
    case Qt::CheckStateRole:
      if (conTicks_ && index.column() == 0) return Tick(index.row()) ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ForegroundRole:
      if (const auto& c = colores_[Origen(index.row())]) return *c;
      return {};
    case Qt::FontRole:
      if (colores_[Origen(index.row())]) return negrita_;
      return {};
    default:
      return {};
  }
}

bool ModeloConsulta::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !conTicks_ || index.column() != 0) return false;
  SetTick(index.row(), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags ModeloConsulta::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (conTicks_ && index.column() == 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant ModeloConsulta::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < encabezados_.size())
    return encabezados_[section];
  return {};
}

}  // namespace ferolin
