#pragma once
// Layout sizes of the original windows are twips: 1440 per inch, so 15 twips
// are one pixel at 96 dpi. Qt scales device-independent pixels on high-dpi screens.

#include <QRect>

namespace ferolin::ui {

inline constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel / twip (halves away from zero).
constexpr int TwipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int PixelsToTwips(int pixels) {
  return pixels * kTwipsPerPixel;
}

// left, top, width, height in twips -> pixel rectangle.
inline QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

}  // namespace ferolin::ui
