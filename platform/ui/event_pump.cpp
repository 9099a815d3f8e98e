#include "platform/ui/event_pump.h"

#include <QCoreApplication>

namespace ferolin::ui {

void LetEventsRun() {
  QCoreApplication::processEvents();
}

PacedEventPump::PacedEventPump(int intervalMs) : intervalMs_(intervalMs < 0 ? 0 : intervalMs) {}

void PacedEventPump::Tick() {
  if (started_ && intervalMs_ > 0 && !timer_.hasExpired(intervalMs_)) return;
  Flush();
}

void PacedEventPump::Flush() {
  LetEventsRun();
  timer_.start();
  started_ = true;
}

}  // namespace ferolin::ui
