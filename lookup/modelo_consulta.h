#pragma once
// The rows of the list lookup window: cells kept flat, ticks and colours per
// row, and an order index so sorting and searching never copy rows.

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace ferolin {

class ModeloConsulta : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ModeloConsulta(QObject* parent = nullptr);

  // Bulk loading: Vaciar, Columnas, then Agregar for every row inside
  // IniciarCarga / TerminarCarga.
  void Vaciar();
  void Columnas(const QStringList& encabezados);
  void IniciarCarga(std::size_t filasPrevistas = 0);
  void Agregar(std::vector<QString>& celdas, bool tick, std::optional<QColor> color);
  void TerminarCarga();

  void SetConTicks(bool v);
  bool ConTicks() const { return conTicks_; }

  // Rows are addressed in the current order (view rows), 0-based.
  int Filas() const { return static_cast<int>(orden_.size()); }
  int NumColumnas() const { return encabezados_.size(); }
  const QString& Celda(int fila, int columna) const;
  void SetCelda(int fila, int columna, const QString& texto);
  bool Tick(int fila) const;
  void SetTick(int fila, bool v);
  void InvertirTicks();
  const QStringList& Encabezados() const { return encabezados_; }

  // Stable sort of the order index by the cell text (case-insensitive).
  void Ordenar(int columna, Qt::SortOrder orden);
  // First row whose trimmed cell starts with prefijo (any case), -1 when none.
  int Buscar(int columna, const QString& prefijo) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::size_t Origen(int fila) const { return static_cast<std::size_t>(orden_[fila]); }

  QStringList encabezados_;
  std::vector<QString> celdas_;  // row-major, NumColumnas() per stored row
  std::vector<char> ticks_;
  std::vector<std::optional<QColor>> colores_;
  std::vector<int> orden_;  // view row -> stored row
  bool conTicks_ = false;
  bool cargando_ = false;
  QFont negrita_;
};

}  // namespace ferolin
