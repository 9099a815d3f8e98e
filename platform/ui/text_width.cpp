#include "platform/ui/text_width.h"

#include <QFontMetrics>
#include <QString>

#include "platform/ui/twips.h"

namespace ferolin::ui {

int TextWidthTwips(const QFont& font, const std::string& text) {
  const QFontMetrics metrics(font);
  return PixelsToTwips(metrics.horizontalAdvance(QString::fromStdString(text)));
}

}  // namespace ferolin::ui
