#include "platform/ui/keys.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace ferolin::ui {
namespace {

// Keys with one fixed code, both ways. The first entry of a code is the one
// QtKeyFromVirtual gives back.
constexpr std::array<std::pair<int, int>, 46> kFixed{{
    {Qt::Key_Backspace, vk::kBack},
    {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab},
    {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},
    {Qt::Key_Shift, vk::kShift},
    {Qt::Key_Control, vk::kControl},
    {Qt::Key_Alt, vk::kMenu},
    {Qt::Key_Pause, vk::kPause},
    {Qt::Key_CapsLock, vk::kCapital},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPrior},
    {Qt::Key_PageDown, vk::kNext},
    {Qt::Key_End, vk::kEnd},
    {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_Insert, vk::kInsert},
    {Qt::Key_Delete, vk::kDelete},
    // The punctuation keys of a US layout, unshifted and shifted.
    {Qt::Key_Semicolon, vk::kOem1},
    {Qt::Key_Colon, vk::kOem1},
    {Qt::Key_Equal, vk::kOemPlus},
    {Qt::Key_Plus, vk::kOemPlus},
    {Qt::Key_Comma, vk::kOemComma},
    {Qt::Key_Less, vk::kOemComma},
    {Qt::Key_Minus, vk::kOemMinus},
    {Qt::Key_Underscore, vk::kOemMinus},
    {Qt::Key_Period, vk::kOemPeriod},
    {Qt::Key_Greater, vk::kOemPeriod},
    {Qt::Key_Slash, vk::kOem2},
    {Qt::Key_Question, vk::kOem2},
    {Qt::Key_QuoteLeft, vk::kOem3},
    {Qt::Key_AsciiTilde, vk::kOem3},
    {Qt::Key_Ntilde, vk::kOem3},  // where a Spanish keyboard has it
    {Qt::Key_BracketLeft, vk::kOem4},
    {Qt::Key_BraceLeft, vk::kOem4},
    {Qt::Key_Backslash, vk::kOem5},
    {Qt::Key_Bar, vk::kOem5},
    {Qt::Key_BracketRight, vk::kOem6},
    {Qt::Key_BraceRight, vk::kOem6},
    {Qt::Key_Apostrophe, vk::kOem7},
    {Qt::Key_QuoteDbl, vk::kOem7},
    {Qt::Key_Menu, 93},
}};

constexpr std::array<std::pair<int, int>, 6> kKeypad{{
    {Qt::Key_Asterisk, vk::kMultiply},
    {Qt::Key_Plus, vk::kAdd},
    {Qt::Key_Minus, vk::kSubtract},
    {Qt::Key_Period, vk::kDecimal},
    {Qt::Key_Comma, vk::kDecimal},
    {Qt::Key_Slash, vk::kDivide},
}};

}  // namespace

int VirtualKeyFromQt(int qtKey, bool keypad) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::k0 + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return vk::kA + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::kF1 + (qtKey - Qt::Key_F1);
  if (keypad) {
    for (const auto& [qt, code] : kKeypad) {
      if (qt == qtKey) return code;
    }
  }
  for (const auto& [qt, code] : kFixed) {
    if (qt == qtKey) return code;
  }
  return 0;
}

int VirtualKeyFromQt(const QKeyEvent& event) {
  return VirtualKeyFromQt(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int QtKeyFromVirtual(int virtualKey) {
  if (virtualKey >= vk::k0 && virtualKey <= vk::k0 + 9) return Qt::Key_0 + (virtualKey - vk::k0);
  if (virtualKey >= 96 && virtualKey <= 105) return Qt::Key_0 + (virtualKey - 96);  // keypad
  if (virtualKey >= vk::kA && virtualKey <= vk::kA + 25) return Qt::Key_A + (virtualKey - vk::kA);
  if (virtualKey >= vk::kF1 && virtualKey <= vk::kF1 + 23) {
    return Qt::Key_F1 + (virtualKey - vk::kF1);
  }
  for (const auto& [qt, code] : kKeypad) {
    if (code == virtualKey) return qt;
  }
  for (const auto& [qt, code] : kFixed) {
    if (code == virtualKey) return qt;
  }
  return 0;
}

int KeyAsciiFromQt(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vk::kReturn;
    case Qt::Key_Backspace:
      return vk::kBack;
    case Qt::Key_Escape:
      return vk::kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return vk::kTab;
    default:
      break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return 0;
  const auto codePoints = text.toUcs4();
  return codePoints.isEmpty() ? 0 : static_cast<int>(codePoints.front());
}

}  // namespace ferolin::ui
