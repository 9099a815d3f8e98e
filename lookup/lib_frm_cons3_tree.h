#pragma once
// The tree lookup window: hierarchical codes (families, or codes that extend
// a shorter code) under a root node; pick one node or tick several.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data_access/contexto_datos.h"

class QComboBox;
class QFrame;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace ferolin {

class Lib_FrmCons3Tree : public QDialog {
  Q_OBJECT
 public:
  explicit Lib_FrmCons3Tree(ContextoDatos& contexto, QWidget* parent = nullptr);
  ~Lib_FrmCons3Tree() override;

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

  // The family statement the family tree always runs.
  static const char* const kSentenciaFamilias;

  void Cargar();
  void ArmarTreeVFamilias();
  void ArmarTreeVAutomatico();
  void Buscar(const std::string& texto);
  void BuscarEnBase();  // F5 in the search box
  void Aceptar();
  void Cancelar();
  void NuevaBusqueda();
  void Descargar();
  void Marcar(QTreeWidgetItem* nodo, bool tick);  // ticks flow six levels down

  QTreeWidget* TreeV() { return arbol_; }
  QComboBox* CmbSearch() { return caja_; }
  QTreeWidgetItem* Nodo(const std::string& clave) const;  // by key ("A" + code), any case
  // Nodes in the order they were added, the root first.
  const std::vector<QTreeWidgetItem*>& Nodos() const { return nodos_; }

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  void Iniciar();
  bool LeerFilas(const std::string& rutina,
                 std::vector<std::vector<std::optional<std::string>>>& filas, int columnas);
  void AgregarNodo(QTreeWidgetItem* padre, const std::string& codigo, const std::string& texto);
  std::string Codigo(QTreeWidgetItem* nodo) const;

  ContextoDatos& contexto_;
  QTreeWidget* arbol_ = nullptr;
  QComboBox* caja_ = nullptr;
  QFrame* frame1_ = nullptr;
  QPushButton* cmdAceptar_ = nullptr;
  QPushButton* cmdCancelar_ = nullptr;
  QPushButton* cmdNueva_ = nullptr;
  std::unordered_map<std::string, QTreeWidgetItem*> claves_;  // upper-case key -> node
  std::vector<QTreeWidgetItem*> nodos_;
  std::string cabezaSql_;
  std::string colaOrden_;
  bool propagando_ = false;
};

}  // namespace ferolin
