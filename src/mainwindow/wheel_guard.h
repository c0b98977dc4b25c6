#pragma once
// Controls that send to the instrument take the mouse wheel only while they
// have keyboard focus: a wheel step over a list or slider that the user did
// not click leaves it alone and scrolls what lies beneath instead. The wheel
// no longer gives them focus either.

#include <QObject>

class QWidget;

namespace qv {

class WheelGuard : public QObject {
  Q_OBJECT
 public:
  explicit WheelGuard(QObject* parent) : QObject(parent) {}
  // Guards every list box and slider inside `panel`.
  void GuardControlsOf(QWidget* panel);
  void Guard(QWidget* control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qv
