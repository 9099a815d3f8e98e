#pragma once
// "Let pending window events run" of the original platform.

#include <QElapsedTimer>

namespace ferolin::ui {

// Runs the window events already queued, then returns.
void LetEventsRun();

// For long loops: Tick() lets events run at most every intervalMs
// milliseconds, so a loop over many rows stays responsive without spending
// its time in the event loop. The first Tick() always runs them.
class PacedEventPump {
 public:
  explicit PacedEventPump(int intervalMs = 50);
  void Tick();
  void Flush();  // lets events run now and restarts the interval

 private:
  int intervalMs_;
  QElapsedTimer timer_;
  bool started_ = false;
};

}  // namespace ferolin::ui
