#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "outside/utilidades.h"

namespace ferolin::outside {

void Utilidades::PrepararVentana(QWidget* window, int keepPosition) const {
  if (window == nullptr || !window->isWindow()) return;
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  QRect frame(window->pos(), window->frameSize());
  if (keepPosition == 0) {
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QRect over = owner && owner->isVisible() ? owner->frameGeometry() : area;
    frame.moveCenter(over.center());
  }
  // Kept inside the screen; a window larger than the screen shows its top left.
  if (frame.right() > area.right()) frame.moveRight(area.right());
  if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
  if (frame.left() < area.left()) frame.moveLeft(area.left());
  if (frame.top() < area.top()) frame.moveTop(area.top());
  window->move(frame.topLeft());
}

}  // namespace ferolin::outside
