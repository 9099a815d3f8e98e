#include "platform/ui/keys.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace ferolin::ui {
namespace {

struct KeyCase {
  int qtKey;
  Qt::KeyboardModifiers modifiers;
  int virtualKey;
  bool roundTrip;  // QtKeyFromVirtual gives qtKey back
};

class KeyTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTable, ConvertsBothWays) {
  const auto& c = GetParam();
  const QKeyEvent event(QEvent::KeyPress, c.qtKey, c.modifiers);
  EXPECT_EQ(VirtualKeyFromQt(event), c.virtualKey);
  if (c.roundTrip) {
    EXPECT_EQ(QtKeyFromVirtual(c.virtualKey), c.qtKey);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTable,
                         ::testing::Values(KeyCase{Qt::Key_Backspace, Qt::NoModifier, 8, true},
                                           KeyCase{Qt::Key_Tab, Qt::NoModifier, 9, true},
                                           KeyCase{Qt::Key_Backtab, Qt::ShiftModifier, 9, false},
                                           KeyCase{Qt::Key_Return, Qt::NoModifier, 13, true},
                                           KeyCase{Qt::Key_Enter, Qt::KeypadModifier, 13, false},
                                           KeyCase{Qt::Key_Escape, Qt::NoModifier, 27, true},
                                           KeyCase{Qt::Key_Space, Qt::NoModifier, 32, true},
                                           KeyCase{Qt::Key_PageUp, Qt::NoModifier, 33, true},
                                           KeyCase{Qt::Key_PageDown, Qt::NoModifier, 34, true},
                                           KeyCase{Qt::Key_End, Qt::NoModifier, 35, true},
                                           KeyCase{Qt::Key_Home, Qt::NoModifier, 36, true},
                                           KeyCase{Qt::Key_Left, Qt::NoModifier, 37, true},
                                           KeyCase{Qt::Key_Up, Qt::NoModifier, 38, true},
                                           KeyCase{Qt::Key_Right, Qt::NoModifier, 39, true},
                                           KeyCase{Qt::Key_Down, Qt::KeypadModifier, 40, true},
                                           KeyCase{Qt::Key_Insert, Qt::NoModifier, 45, true},
                                           KeyCase{Qt::Key_Delete, Qt::NoModifier, 46, true},
                                           KeyCase{Qt::Key_0, Qt::NoModifier, 48, true},
                                           KeyCase{Qt::Key_9, Qt::NoModifier, 57, true},
                                           KeyCase{Qt::Key_7, Qt::KeypadModifier, 55, true},
                                           KeyCase{Qt::Key_A, Qt::NoModifier, 65, true},
                                           KeyCase{Qt::Key_Z, Qt::ShiftModifier, 90, true},
                                           KeyCase{Qt::Key_F1, Qt::NoModifier, 112, true},
                                           KeyCase{Qt::Key_F5, Qt::NoModifier, 116, true},
                                           KeyCase{Qt::Key_F12, Qt::NoModifier, 123, true},
                                           KeyCase{Qt::Key_Comma, Qt::NoModifier, 188, true},
                                           KeyCase{Qt::Key_Period, Qt::NoModifier, 190, true},
                                           KeyCase{Qt::Key_Period, Qt::KeypadModifier, 110, true},
                                           KeyCase{Qt::Key_Minus, Qt::KeypadModifier, 109, true},
                                           KeyCase{Qt::Key_Asterisk, Qt::KeypadModifier, 106, true},
                                           KeyCase{Qt::Key_Exclam, Qt::ShiftModifier, 0, false},
                                           KeyCase{Qt::Key_Aacute, Qt::NoModifier, 0, false}));

TEST(Keys, CodesWithoutAQtKeyGiveZero) {
  EXPECT_EQ(QtKeyFromVirtual(0), 0);
  EXPECT_EQ(QtKeyFromVirtual(255), 0);
  EXPECT_EQ(QtKeyFromVirtual(97), Qt::Key_1);  // keypad 1
}

struct AsciiCase {
  int qtKey;
  QString text;
  int ascii;
};

class KeyAscii : public ::testing::TestWithParam<AsciiCase> {};

TEST_P(KeyAscii, GivesTheTypedCharacterCode) {
  const auto& c = GetParam();
  const QKeyEvent event(QEvent::KeyPress, c.qtKey, Qt::NoModifier, c.text);
  EXPECT_EQ(KeyAsciiFromQt(event), c.ascii);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyAscii,
    ::testing::Values(AsciiCase{Qt::Key_Return, "\r", 13}, AsciiCase{Qt::Key_Enter, "", 13},
                      AsciiCase{Qt::Key_Backspace, "\b", 8}, AsciiCase{Qt::Key_Escape, "", 27},
                      AsciiCase{Qt::Key_A, "a", 'a'}, AsciiCase{Qt::Key_Comma, ",", ','},
                      AsciiCase{Qt::Key_Ntilde, "ñ", 0xF1}, AsciiCase{Qt::Key_F5, "", 0},
                      AsciiCase{Qt::Key_unknown, "€", 0x20AC}));

}  // namespace
}  // namespace ferolin::ui
