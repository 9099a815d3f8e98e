#pragma once
// The program's key codes are the original platform's virtual-key codes;
// Qt keys are converted here, once.

class QKeyEvent;

namespace ferolin::ui {

namespace vk {
inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kMenu = 18;  // Alt
inline constexpr int kPause = 19;
inline constexpr int kCapital = 20;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPrior = 33;  // Page Up
inline constexpr int kNext = 34;   // Page Down
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int k0 = 48;          // '0'..'9' are 48..57
inline constexpr int kA = 65;          // 'A'..'Z' are 65..90
inline constexpr int kMultiply = 106;  // keypad
inline constexpr int kAdd = 107;
inline constexpr int kSubtract = 109;
inline constexpr int kDecimal = 110;
inline constexpr int kDivide = 111;
inline constexpr int kF1 = 112;  // F1..F24 are 112..135
inline constexpr int kF5 = 116;
inline constexpr int kF12 = 123;
inline constexpr int kOem1 = 186;  // ;
inline constexpr int kOemPlus = 187;
inline constexpr int kOemComma = 188;
inline constexpr int kOemMinus = 189;
inline constexpr int kOemPeriod = 190;
inline constexpr int kOem2 = 191;  // /
inline constexpr int kOem3 = 192;  // `
inline constexpr int kOem4 = 219;  // [
inline constexpr int kOem5 = 220;  // backslash
inline constexpr int kOem6 = 221;  // ]
inline constexpr int kOem7 = 222;  // '
}  // namespace vk

// 0 when the key has no virtual-key code. Keypad digits give the same codes
// as the main row (48..57): handlers that append "the character of the code"
// then get the digit, not a letter.
int VirtualKeyFromQt(const QKeyEvent& event);
int VirtualKeyFromQt(int qtKey, bool keypad = false);
// The Qt::Key for a virtual-key code; 0 (Qt::Key_unknown is not used) when none.
int QtKeyFromVirtual(int virtualKey);
// The character code a key press produces (the original key-press events):
// Enter 13, Backspace 8, Escape 27, Tab 9, otherwise the typed character's
// code point; 0 for keys that type nothing.
int KeyAsciiFromQt(const QKeyEvent& event);

}  // namespace ferolin::ui
