#include "mainwindow/wheel_guard.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace qv {

void WheelGuard::GuardControlsOf(QWidget* panel) {
  for (QComboBox* list : panel->findChildren<QComboBox*>()) Guard(list);
  for (QAbstractSlider* slider : panel->findChildren<QAbstractSlider*>()) Guard(slider);
}

void WheelGuard::Guard(QWidget* control) {
  if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
  control->installEventFilter(this);
}

// An unfocused control lets the wheel event go on to its parent.
bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return false;
  auto* control = static_cast<QWidget*>(watched);
  if (control->hasFocus()) return false;
  event->ignore();
  return true;
}

}  // namespace qv
