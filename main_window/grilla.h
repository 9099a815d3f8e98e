#pragma once
// A FlexGrid-style grid over QTableWidget: row 0 is the fixed header row (the
// horizontal header), data rows are 1 .. Rows() - 1. The table's own editing
// is switched off; cells are edited by a separate editor placed over them.

#include <QTableWidget>
#include <string>

namespace ferolin {

class Grilla : public QTableWidget {
  Q_OBJECT

 public:
  Grilla(int columnas, QWidget* parent);

  int Rows() const { return rowCount() + 1; }
  void SetRows(int rows);  // at least 2: the header row and one data row
  int Cols() const { return columnCount(); }
  int FixedRows() const { return 1; }

  // The current cell; moving it raises CeldaCambiada.
  int Row() const;
  int Col() const;
  void SetRow(int row);
  void SetCol(int col);

  std::string TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, const std::string& text);
  void LimpiarTextos();  // every data cell becomes ""

  void RemoveRow(int row);
  void InsertRow(int row);  // an empty row in front of row
  void AddRow();            // an empty row at the end

  // While set, moving the current cell leaves the selection alone (long
  // loads); clearing it selects the current cell again.
  void SetSeleccionSuspendida(bool suspendida);

  // Geometry of the current cell relative to the grid widget.
  QRect CeldaActual() const;
  // Scrolls so that the current cell is visible.
  void MostrarCeldaActual();

 signals:
  // The current cell moved from (filaAnterior, colAnterior); leave-cell work
  // for that cell runs first, then enter-cell work for the new one.
  void CeldaCambiada(int filaAnterior, int colAnterior);

 private:
  void IrACelda(int row, int col);
  void AlCambiarCelda(int fila, int col, int filaAnterior, int colAnterior);
  bool seleccionSuspendida_ = false;
};

// Sets every cell of that row, from firstCol to the last column, to "".
void LimpiarFila(Grilla& grilla, int row, int firstCol);

}  // namespace ferolin
