#pragma once
// The in-place cell editor: a single-line text box that carries the column
// configuration the check and the lookup read back (DataField, Tag, MaxLength).

#include <QLineEdit>
#include <string>

namespace ferolin {

class TxtEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TxtEdit(QWidget* parent);

  std::string DataField;
  std::string Tag;

  // Most characters the operator may type (0 = no limit). Text put in by the
  // program is never cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n) { maxLength_ = n < 0 ? 0 : n; }

  std::string Texto() const { return diferido_ ? textoDiferido_ : text().toStdString(); }
  void SetTexto(const std::string& t);

  // Inserts typed text at the caret, cut to what MaxLength still allows.
  void Teclear(const QString& texto);

  // Shown in the grid's sense: not explicitly hidden, even while the window
  // itself is not on screen yet.
  bool Mostrado() const { return diferido_ ? mostradoDiferido_ : !isHidden(); }
  void Mostrar();
  void Ocultar();

  // While deferred (long loads), text and visibility are only recorded; the
  // widget takes them when the deferral ends. Saves laying out and showing
  // a text box twice per cell.
  void SetDiferido(bool diferido);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int maxLength_ = 0;
  bool diferido_ = false;
  bool mostradoDiferido_ = false;
  std::string textoDiferido_;
};

}  // namespace ferolin
