#pragma once
// A slider that tells a settled position apart from a move: Released() is
// emitted when a mouse button that was pressed on the slider (on its handle
// or its track) is released; Stepped() when a key or the wheel changes its
// position while no mouse button holds it, once per change. valueChanged()
// follows every change of position, by mouse, keyboard or code.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QWheelEvent>

namespace qv {

class ReleaseSlider : public QSlider {
  Q_OBJECT
 public:
  explicit ReleaseSlider(Qt::Orientation orientation, QWidget* parent = nullptr) : QSlider(orientation, parent) {}

 signals:
  void Released();
  void Stepped();

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
  void keyPressEvent(QKeyEvent* event) override {
    Step([&] { QSlider::keyPressEvent(event); });
  }
  void wheelEvent(QWheelEvent* event) override {
    Step([&] { QSlider::wheelEvent(event); });
  }

 private:
  // While a mouse button holds the slider, its release settles the position.
  template <typename Handle>
  void Step(Handle handle) {
    const int before = value();
    handle();
    if (!pressed_ && value() != before) emit Stepped();
  }

  bool pressed_ = false;
};

}  // namespace qv
