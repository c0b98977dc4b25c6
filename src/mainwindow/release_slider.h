#pragma once
// A slider that tells a release apart from a move: Released() is emitted when
// a mouse button that was pressed on the slider (on its handle or its track)
// is released; valueChanged() follows every change of position, by mouse,
// keyboard or code.

#include <QMouseEvent>
#include <QSlider>

namespace qv {

class ReleaseSlider : public QSlider {
  Q_OBJECT
 public:
  explicit ReleaseSlider(Qt::Orientation orientation, QWidget* parent = nullptr) : QSlider(orientation, parent) {}

 signals:
  void Released();

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = true;
    QSlider::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    QSlider::mouseReleaseEvent(event);
    if (pressed_ && event->buttons() == Qt::NoButton) {
      pressed_ = false;
      emit Released();
    }
  }

 private:
  bool pressed_ = false;
};

}  // namespace qv
