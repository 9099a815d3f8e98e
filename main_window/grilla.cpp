#include "main_window/grilla.h"

#include <QHeaderView>
#include <algorithm>

namespace ferolin {

Grilla::Grilla(int columnas, QWidget* parent) : QTableWidget(1, columnas, parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(false);  // Tab leaves the grid, as in the suite's grids
  verticalHeader()->setVisible(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  setWordWrap(false);
  setCurrentCell(0, 0);
  connect(this, &QTableWidget::currentCellChanged, this, &Grilla::AlCambiarCelda);
}

void Grilla::AlCambiarCelda(int fila, int col, int filaAnterior, int colAnterior) {
  // Qt reports "no current cell" while rows are being removed; the grid always
  // has one, so the event is only raised between two real cells.
  if (fila < 0 || col < 0) return;
  emit CeldaCambiada(filaAnterior < 0 ? -1 : filaAnterior + 1, colAnterior);
}

void Grilla::SetRows(int rows) {
  rows = std::max(rows, 2);
  const int fila = Row();
  const int col = Col();
  setRowCount(rows - 1);
  if (currentRow() < 0) setCurrentCell(std::min(fila, rows - 1) - 1, col);
}

int Grilla::Row() const {
  return currentRow() < 0 ? 1 : currentRow() + 1;
}

int Grilla::Col() const {
  return currentColumn() < 0 ? 0 : currentColumn();
}

void Grilla::IrACelda(int row, int col) {
  setCurrentCell(
      row, col,
      seleccionSuspendida_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
}

void Grilla::SetSeleccionSuspendida(bool suspendida) {
  seleccionSuspendida_ = suspendida;
  if (!suspendida && currentRow() >= 0) {
    selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
  }
}

void Grilla::SetRow(int row) {
  if (row < 1 || row >= Rows()) return;
  IrACelda(row - 1, Col());
}

void Grilla::SetCol(int col) {
  if (col < 0 || col >= Cols()) return;
  IrACelda(Row() - 1, col);
}

std::string Grilla::TextMatrix(int row, int col) const {
  if (row == 0) {
    const QTableWidgetItem* h = horizontalHeaderItem(col);
    return h ? h->text().toStdString() : std::string();
  }
  const QTableWidgetItem* it = item(row - 1, col);
  return it ? it->text().toStdString() : std::string();
}

void Grilla::SetTextMatrix(int row, int col, const std::string& text) {
  const QString q = QString::fromStdString(text);
  if (row == 0) {
    setHorizontalHeaderItem(col, new QTableWidgetItem(q));
    return;
  }
  if (QTableWidgetItem* it = item(row - 1, col)) {
    it->setText(q);
  } else if (!q.isEmpty()) {
    setItem(row - 1, col, new QTableWidgetItem(q));
  }
}

void Grilla::LimpiarTextos() {
  clearContents();
}

void Grilla::RemoveRow(int row) {
  if (row < 1 || row >= Rows() || Rows() <= 2) return;
  const int col = Col();
  const int fila = Row();
  removeRow(row - 1);
  if (currentRow() < 0) setCurrentCell(std::min(fila, Rows() - 1) - 1, col);
}

void Grilla::InsertRow(int row) {
  if (row < 1 || row > Rows()) return;
  const int fila = Row();
  const int col = Col();
  insertRow(row - 1);
  // Qt keeps the current item, which has moved down; the grid keeps the row
  // number instead, so the new empty row becomes current when inserted there.
  const bool bloqueadas = blockSignals(true);
  setCurrentCell(fila - 1, col);
  blockSignals(bloqueadas);
}

void Grilla::AddRow() {
  insertRow(rowCount());
}

QRect Grilla::CeldaActual() const {
  const QRect r = visualRect(model()->index(Row() - 1, Col()));
  return r.translated(viewport()->pos());
}

void Grilla::MostrarCeldaActual() {
  scrollTo(model()->index(Row() - 1, Col()), QAbstractItemView::EnsureVisible);
}

void LimpiarFila(Grilla& grilla, int row, int firstCol) {
  for (int c = std::max(firstCol, 0); c < grilla.Cols(); ++c) grilla.SetTextMatrix(row, c, "");
}

}  // namespace ferolin
