#include "platform/ui/operator_prompt.h"

namespace ferolin::ui {

MessageStyle MessageStyle::FromCode(int style) {
  MessageStyle parts;
  parts.buttons = style & 0x7;
  parts.icon = style & 0x70;
  parts.defaultButton = (style & 0x300) >> 8;
  return parts;
}

}  // namespace ferolin::ui
