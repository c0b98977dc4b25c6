#pragma once
// The window on screen while the program opens the MIDI devices and reads
// the instrument. It takes no input.

#include <QFrame>
#include <QLabel>

namespace qv {

class SplashWindow : public QFrame {
  Q_OBJECT
 public:
  explicit SplashWindow(QWidget* parent = nullptr);

  // Shows the window and has it painted before returning, so that it stays
  // on screen while the caller blocks the event loop. User input waiting in
  // the queue is left for later.
  void ShowNow();

  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblStatus;

 protected:
  // A key press or a click on the window does nothing.
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace qv
