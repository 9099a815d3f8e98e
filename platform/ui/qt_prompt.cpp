#include "platform/ui/qt_prompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <cctype>
#include <vector>

namespace ferolin::ui {
namespace {

constexpr const char* kAnswerProperty = "answerCode";

struct ButtonSpec {
  const char* caption;
  int answer;
  QMessageBox::ButtonRole role;
};

// Buttons of each set in the original order (the order the default-button
// bits count in).
std::vector<ButtonSpec> ButtonsOf(int set) {
  const ButtonSpec ok{"Aceptar", answer::kOk, QMessageBox::AcceptRole};
  const ButtonSpec cancel{"Cancelar", answer::kCancel, QMessageBox::RejectRole};
  const ButtonSpec abort{"Anular", answer::kAbort, QMessageBox::RejectRole};
  const ButtonSpec retry{"Reintentar", answer::kRetry, QMessageBox::AcceptRole};
  const ButtonSpec ignore{"Omitir", answer::kIgnore, QMessageBox::AcceptRole};
  const ButtonSpec yes{"Sí", answer::kYes, QMessageBox::YesRole};
  const ButtonSpec no{"No", answer::kNo, QMessageBox::NoRole};
  switch (set) {
    case buttons::kOkCancel:
      return {ok, cancel};
    case buttons::kAbortRetryIgnore:
      return {abort, retry, ignore};
    case buttons::kYesNoCancel:
      return {yes, no, cancel};
    case buttons::kYesNo:
      return {yes, no};
    case buttons::kRetryCancel:
      return {retry, cancel};
    default:
      return {ok};
  }
}

// The answer when the box is closed without a button: the cancelling one
// (Cancelar, No, Anular) or the only one.
int EscapeAnswer(int set) {
  switch (set) {
    case buttons::kAbortRetryIgnore:
      return answer::kAbort;
    case buttons::kYesNo:
      return answer::kNo;
    case buttons::kOkCancel:
    case buttons::kYesNoCancel:
    case buttons::kRetryCancel:
      return answer::kCancel;
    default:
      return answer::kOk;
  }
}

QMessageBox::Icon IconOf(int code) {
  switch (code) {
    case icon::kCritical:
      return QMessageBox::Critical;
    case icon::kQuestion:
      return QMessageBox::Question;
    case icon::kWarning:
      return QMessageBox::Warning;
    case icon::kInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The suite breaks lines with CR alone or CR LF.
QString PlainLines(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QString TitleOrProgram(const std::string& title) {
  return title.empty() ? QCoreApplication::applicationName() : QString::fromStdString(title);
}

std::string Trimmed(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool HasLetters(const std::string& s) {
  for (unsigned char c : s) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  }
  return false;
}

// File names differ in case here, not on the suite's platform: "*.MDB" also
// offers "*.mdb".
std::string Patterns(const std::string& suitePatterns) {
  std::string out;
  auto add = [&](const std::string& p) {
    if (p.empty()) return;
    if (!out.empty()) out += ' ';
    out += p;
  };
  std::size_t start = 0;
  while (start <= suitePatterns.size()) {
    const auto end = suitePatterns.find_first_of("; ", start);
    const std::string p =
        Trimmed(suitePatterns.substr(start, end == std::string::npos ? end : end - start));
    add(p);
    if (HasLetters(p)) {
      std::string upper = p, lower = p;
      for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (upper != p) add(upper);
      if (lower != p) add(lower);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

}  // namespace

void ConfigureMessageBox(QMessageBox& box, const std::string& text, int style,
                         const std::string& title) {
  const MessageStyle parts = MessageStyle::FromCode(style);
  box.setWindowTitle(TitleOrProgram(title));
  box.setTextFormat(Qt::PlainText);  // data in a message is never markup
  box.setText(PlainLines(text));
  box.setIcon(IconOf(parts.icon));
  const auto choices = ButtonsOf(parts.buttons);
  const int escape = EscapeAnswer(parts.buttons);
  for (std::size_t i = 0; i < choices.size(); ++i) {
    QPushButton* button = box.addButton(QString::fromUtf8(choices[i].caption), choices[i].role);
    button->setProperty(kAnswerProperty, choices[i].answer);
    if (static_cast<int>(i) == parts.defaultButton) box.setDefaultButton(button);
    if (choices[i].answer == escape) box.setEscapeButton(button);
  }
  if (parts.defaultButton >= static_cast<int>(choices.size())) {
    box.setDefaultButton(qobject_cast<QPushButton*>(box.buttons().first()));
  }
}

int AnswerOf(const QAbstractButton* button) {
  if (button == nullptr) return answer::kCancel;
  const QVariant code = button->property(kAnswerProperty);
  return code.isValid() ? code.toInt() : answer::kCancel;
}

std::string QtFileFilter(const std::string& suiteFilter) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    const auto bar = suiteFilter.find('|', start);
    items.push_back(
        Trimmed(suiteFilter.substr(start, bar == std::string::npos ? bar : bar - start)));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::string out;
  for (std::size_t i = 0; i < items.size(); i += 2) {
    std::string description = items[i];
    std::string patterns = i + 1 < items.size() ? items[i + 1] : std::string();
    if (patterns.empty()) {
      // A lone pattern without a description names itself.
      if (description.find_first_of("*?") == std::string::npos) continue;
      patterns = description;
    }
    if (description.empty()) description = patterns;
    if (!out.empty()) out += ";;";
    out += description + " (" + Patterns(patterns) + ")";
  }
  return out;
}

QWidget* QtOperatorPrompt::ParentWidget() const {
  return parent_ ? parent_ : QApplication::activeWindow();
}

int QtOperatorPrompt::Message(const std::string& text, int style, const std::string& title) {
  QMessageBox box(ParentWidget());
  ConfigureMessageBox(box, text, style, title);
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  return clicked ? AnswerOf(clicked) : EscapeAnswer(MessageStyle::FromCode(style).buttons);
}

std::optional<std::string> QtOperatorPrompt::Input(const std::string& prompt,
                                                   const std::string& title,
                                                   const std::string& defaultText) {
  QInputDialog dialog(ParentWidget());
  dialog.setWindowTitle(TitleOrProgram(title));
  dialog.setLabelText(PlainLines(prompt));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(QString::fromStdString(defaultText));
  dialog.setOkButtonText(QStringLiteral("Aceptar"));
  dialog.setCancelButtonText(QStringLiteral("Cancelar"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtOperatorPrompt::OpenFile(const FileRequest& request) {
  QFileDialog dialog(ParentWidget(), TitleOrProgram(request.title),
                     QString::fromStdString(request.initialDir));
  const std::string filter = QtFileFilter(request.filter);
  if (!filter.empty()) dialog.setNameFilter(QString::fromStdString(filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Abrir"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Buscar en:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.first().toStdString();
}

}  // namespace ferolin::ui
