#pragma once
// The width of a text in a window's font, in twips.

#include <QFont>
#include <string>

namespace ferolin::ui {

// text is UTF-8; the advance width of the whole text.
int TextWidthTwips(const QFont& font, const std::string& text);

}  // namespace ferolin::ui
