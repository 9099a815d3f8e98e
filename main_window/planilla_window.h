#pragma once
// The maintenance sheet of a master table: its rows in a list, with a search
// box that filters them as the operator types.

#include <QWidget>
#include <string>

class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace ferolin {

class DB_Dll;

class PlanillaWindow : public QWidget {
  Q_OBJECT

 public:
  // Reads the table's rows through gdb; raises the data-access failures the
  // read does not report itself.
  PlanillaWindow(DB_Dll& gdb, const std::string& tabla, const std::string& titulo,
                 QWidget* parent = nullptr);
  ~PlanillaWindow() override;

  QLineEdit& TxtBuscar() { return *buscar_; }
  QTableView& Lista() { return *lista_; }
  int FilasVisibles() const;
  int FilasTotales() const;

 private:
  QLineEdit* buscar_ = nullptr;
  QTableView* lista_ = nullptr;
  QSortFilterProxyModel* filtro_ = nullptr;
};

}  // namespace ferolin
