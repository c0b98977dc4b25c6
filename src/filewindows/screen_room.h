#pragma once
// Keeping windows on the screen: the room a window has, and a frame moved
// just as far as it must to lie within that room.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace qv {

// The available area (the screen less its panels and docks) of the screen
// that holds the middle of `window`'s frame, else of the window's own screen.
inline QRect AvailableArea(const QWidget& window) {
  QScreen* screen = QGuiApplication::screenAt(window.frameGeometry().center());
  if (!screen) screen = window.screen();
  return screen ? screen->availableGeometry() : QRect();
}

// `frame` moved as little as it can to lie wholly within `area`; a frame
// larger than the area keeps its top left corner on the area's.
inline QRect MovedWithin(QRect frame, const QRect& area) {
  if (area.isEmpty()) return frame;
  frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
  frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
  return frame;
}

// What a window's frame adds to its inside (title bar and borders), as far
// as the window system has told.
inline QSize FrameExtra(const QWidget& window) { return window.frameGeometry().size() - window.size(); }

}  // namespace qv
