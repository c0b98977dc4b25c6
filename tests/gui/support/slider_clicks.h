#pragma once
// A press and release on a slider's handle: a release without a move.

#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtTest>

namespace qv::test {

inline void ClickHandle(QSlider* s) {
  QStyleOptionSlider opt;
  opt.initFrom(s);
  opt.orientation = s->orientation();
  opt.minimum = s->minimum();
  opt.maximum = s->maximum();
  opt.sliderPosition = opt.sliderValue = s->value();
  if (s->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
  const QPoint at = s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s).center();
  QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace qv::test
