#pragma once
// The suite's toolbar control: eight command buttons that raise ComandoBarra
// with their command word, when clicked or when their key reaches the toolbar.

#include <QString>
#include <QToolBar>
#include <vector>

class QToolButton;

namespace ferolin::outside {

struct ComandoKorv {
  const char* palabra;  // "NUEVO" ...
  const char* titulo;   // button caption, "Nuevo" ...
  int tecla;            // virtual-key code bound to the button
};

class UtilKorv : public QToolBar {
  Q_OBJECT
  Q_PROPERTY(int StyleBar READ StyleBar WRITE SetStyleBar)

 public:
  // Object name "UtilKorv1" unless changed with setObjectName.
  explicit UtilKorv(QWidget* parent = nullptr);

  // Words, captions and keys in button order:
  // NUEVO F2, BORRAR F3, GRABAR F10, PLANILLA F6, CONSULTAR F7, REPORTE F8,
  // CERRAR F4, CANCELAR F11. None of these keys is used by an editor, grid or
  // lookup (F5, F12, Enter, Escape, arrows, Insert, Delete, End, Backspace, Space).
  static const std::vector<ComandoKorv>& Comandos();

  // The window hands every key (virtual-key code) to the toolbar first. A key
  // bound to an enabled button raises ComandoBarra and becomes 0, so the
  // window does not process it further; other keys are left as they are.
  void EnviarTecla(int& keyCode);

  // 1 (or any non-zero value) flat buttons, 0 raised buttons.
  int StyleBar() const { return styleBar_; }
  void SetStyleBar(int style);

  // The button of a command word (any case); nullptr for an unknown word.
  QToolButton* Boton(const QString& palabra) const;
  void HabilitarComando(const QString& palabra, bool enabled);

 signals:
  void ComandoBarra(const QString& palabra);

 private:
  int styleBar_ = 1;
};

}  // namespace ferolin::outside
