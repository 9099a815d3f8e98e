#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QTimer>

#include "platform/ui/event_pump.h"
#include "platform/ui/text_width.h"
#include "platform/ui/twips.h"

namespace ferolin::ui {
namespace {

TEST(Twips, ConvertWithFifteenTwipsAPixel) {
  for (const auto& [twips, pixels] : std::vector<std::pair<int, int>>{{0, 0},
                                                                      {15, 1},
                                                                      {7, 0},
                                                                      {8, 1},
                                                                      {1440, 96},
                                                                      {9015, 601},
                                                                      {855, 57},
                                                                      {-120, -8},
                                                                      {-7, 0},
                                                                      {-8, -1}}) {
    EXPECT_EQ(TwipsToPixels(twips), pixels) << twips;
  }
  EXPECT_EQ(PixelsToTwips(96), 1440);
  EXPECT_EQ(TwipsRect(-120, 0, 9015, 855), QRect(-8, 0, 601, 57));
}

TEST(TextWidth, IsTheFontsAdvanceInTwips) {
  QFont font;
  const QFontMetrics metrics(font);
  EXPECT_EQ(TextWidthTwips(font, "Código"),
            metrics.horizontalAdvance(QStringLiteral("Código")) * 15);
  EXPECT_EQ(TextWidthTwips(font, ""), 0);
  EXPECT_GT(TextWidthTwips(font, "WWWW"), TextWidthTwips(font, "W"));
}

TEST(EventPump, RunsQueuedEventsAndPacesTheLongLoops) {
  int runs = 0;
  QTimer::singleShot(0, [&] { ++runs; });
  LetEventsRun();
  EXPECT_EQ(runs, 1);

  PacedEventPump pump(60000);
  QTimer::singleShot(0, [&] { ++runs; });
  pump.Tick();  // the first tick always runs them
  EXPECT_EQ(runs, 2);
  QTimer::singleShot(0, [&] { ++runs; });
  pump.Tick();  // within the interval: nothing runs
  EXPECT_EQ(runs, 2);
  pump.Flush();
  EXPECT_EQ(runs, 3);

  PacedEventPump eager(0);
  eager.Tick();
  QTimer::singleShot(0, [&] { ++runs; });
  eager.Tick();
  EXPECT_EQ(runs, 4);
}

}  // namespace
}  // namespace ferolin::ui
