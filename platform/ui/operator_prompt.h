#pragma once
// Every message box, input box and file dialog of the program goes through
// this interface, with the original platform's numeric codes.

#include <optional>
#include <string>

namespace ferolin::ui {

namespace buttons {
inline constexpr int kOk = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kRetryCancel = 5;
}  // namespace buttons
namespace icon {
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kWarning = 48;
inline constexpr int kInformation = 64;
}  // namespace icon
namespace default_button {
inline constexpr int kSecond = 256;
inline constexpr int kThird = 512;
}  // namespace default_button
namespace answer {
inline constexpr int kNone = 0;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace answer

// Splits a style value (buttons + icon + default button) into its parts.
struct MessageStyle {
  int buttons = buttons::kOk;
  int icon = 0;
  int defaultButton = 0;  // 0 first, 1 second, 2 third
  static MessageStyle FromCode(int style);
};

struct FileRequest {
  std::string title;
  std::string filter;  // "Description |*.EXT" pairs separated by "|", as the suite writes them
  std::string initialDir;
};

class OperatorPrompt {
 public:
  virtual ~OperatorPrompt() = default;
  // Texts are UTF-8. Returns one of answer::*.
  virtual int Message(const std::string& text, int style, const std::string& title) = 0;
  // nullopt when the operator cancels.
  virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText = "") = 0;
  // The chosen file's full path, nullopt when cancelled.
  virtual std::optional<std::string> OpenFile(const FileRequest& request) = 0;
};

}  // namespace ferolin::ui
