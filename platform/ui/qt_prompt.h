#pragma once
// The operator prompt the program shows: QMessageBox, QInputDialog and
// QFileDialog with Spanish captions, mapped onto the original answer codes.

#include <QString>
#include <QWidget>
#include <string>

#include "platform/ui/operator_prompt.h"

class QAbstractButton;
class QMessageBox;

namespace ferolin::ui {

class QtOperatorPrompt : public OperatorPrompt {
 public:
  // Boxes are centred on parent; without one, on the active window.
  explicit QtOperatorPrompt(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  int Message(const std::string& text, int style, const std::string& title) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText = "") override;
  std::optional<std::string> OpenFile(const FileRequest& request) override;

 private:
  QWidget* ParentWidget() const;
  QWidget* parent_;
};

// Builds the message box for a style code without showing it: buttons with
// their Spanish captions, icon, default and escape buttons. Each button's
// answer code is stored in its "answerCode" property.
void ConfigureMessageBox(QMessageBox& box, const std::string& text, int style,
                         const std::string& title);
// The answer code of a button built by ConfigureMessageBox; kCancel for none.
int AnswerOf(const QAbstractButton* button);

// "Base de Datos de Microsoft Access |*.MDB|Textos|*.txt;*.csv" ->
// "Base de Datos de Microsoft Access (*.MDB *.mdb);;Textos (*.txt *.TXT *.csv *.CSV)":
// file names are case-sensitive here, so each pattern is offered in both cases.
// An empty filter gives "" (every file).
std::string QtFileFilter(const std::string& suiteFilter);

}  // namespace ferolin::ui
