#include "main_window/txt_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace ferolin {

TxtEdit::TxtEdit(QWidget* parent) : QLineEdit(parent) {
  setObjectName("txtedit");
  setFrame(false);
}

void TxtEdit::SetTexto(const std::string& t) {
  if (diferido_) {
    textoDiferido_ = t;
    return;
  }
  const QString q = QString::fromStdString(t);
  if (q != text()) setText(q);  // an unchanged text is not laid out again
}

void TxtEdit::Mostrar() {
  if (diferido_) {
    mostradoDiferido_ = true;
  } else {
    show();
    raise();
  }
}

void TxtEdit::Ocultar() {
  if (diferido_) {
    mostradoDiferido_ = false;
  } else {
    hide();
  }
}

void TxtEdit::SetDiferido(bool diferido) {
  if (diferido == diferido_) return;
  if (diferido) {
    textoDiferido_ = text().toStdString();
    mostradoDiferido_ = !isHidden();
    diferido_ = true;
    return;
  }
  diferido_ = false;
  SetTexto(textoDiferido_);
  setCursorPosition(static_cast<int>(text().size()));
  if (mostradoDiferido_) {
    Mostrar();
  } else {
    Ocultar();
  }
}

void TxtEdit::Teclear(const QString& texto) {
  QString t = texto;
  if (maxLength_ > 0) {
    const auto lugar = maxLength_ - (text().size() - selectedText().size());
    t = t.left(std::max<qsizetype>(lugar, 0));
  }
  if (!t.isEmpty()) insert(t);
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
