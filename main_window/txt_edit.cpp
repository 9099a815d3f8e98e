#include "main_window/txt_edit.h"

#include <QValidator>

namespace ferolin {

namespace {

// Refuses an edit that makes the text longer than the limit; text that is
// already longer may still be shortened or changed without growing.
class LimiteTecleo : public QValidator {
 public:
  explicit LimiteTecleo(TxtEdit* editor) : QValidator(editor), editor_(editor) {}
  State validate(QString& input, int&) const override {
    const int max = editor_->MaxLength();
    if (max > 0 && input.size() > max && input.size() > editor_->text().size()) return Invalid;
    return Acceptable;
  }

 private:
  TxtEdit* editor_;
};

}  // namespace

TxtEdit::TxtEdit(QWidget* parent) : QLineEdit(parent) {
  setObjectName("txtedit");
  setFrame(false);
  setValidator(new LimiteTecleo(this));
}

}  // namespace ferolin
