#include "main_window/txt_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace ferolin {

TxtEdit::TxtEdit(QWidget* parent) : QLineEdit(parent) {
  setObjectName("txtedit");
  setFrame(false);
}

void TxtEdit::Teclear(const QString& texto) {
  QString t = texto;
  if (maxLength_ > 0) {
    const auto lugar = maxLength_ - (text().size() - selectedText().size());
    t = t.left(std::max<qsizetype>(lugar, 0));
  }
  if (!t.isEmpty() || !texto.isEmpty()) insert(t);
}

void TxtEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    Teclear(QApplication::clipboard()->text().split('\n').value(0));
    event->accept();
    return;
  }
  const QString t = event->text();
  const bool imprimible = !t.isEmpty() && t.at(0).isPrint() &&
                          !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
  if (imprimible && maxLength_ > 0) {
    Teclear(t);
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace ferolin
