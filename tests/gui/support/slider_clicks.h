#pragma once
// Mouse and wheel gestures on a slider: a press and release on its handle
// (a release without a move), a drag of its handle, a step of the wheel.

#include <QApplication>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QtTest>

namespace qv::test {

inline QPoint HandleCentre(QSlider* s) {
  QStyleOptionSlider opt;
  opt.initFrom(s);
  opt.orientation = s->orientation();
  opt.minimum = s->minimum();
  opt.maximum = s->maximum();
  opt.sliderPosition = opt.sliderValue = s->value();
  if (s->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
  return s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s).center();
}

inline void ClickHandle(QSlider* s) {
  const QPoint at = HandleCentre(s);
  QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, at);
}

// Presses the handle, moves it by `by` in `steps` moves and releases it there.
inline void DragHandle(QSlider* s, QPoint by, int steps = 4) {
  const QPoint from = HandleCentre(s);
  QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, from);
  for (int i = 1; i <= steps; ++i) QTest::mouseMove(s, from + by * i / steps);
  QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, from + by);
}

// One notch of the wheel over the middle of `w`: 120 away from the user, -120 towards.
inline void WheelStep(QWidget* w, int delta) {
  const QPointF at = QRectF(w->rect()).center();
  QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &wheel);
}

}  // namespace qv::test
