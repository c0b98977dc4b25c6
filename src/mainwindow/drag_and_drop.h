#pragma once
// Drag and drop on the main window. A drag carries the object name of the
// dragged control and a token of the window it started in, so that a drop
// can tell its source apart and drags from elsewhere are left alone.
// MouseRouter turns the mouse on the audition buttons and the drag sources
// into presses, releases and drags; DropRouter makes the window and every
// control on it accept our drags and hands each drop to the window.

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

#include "editor/session.h"

class QMimeData;
class QWidget;

namespace qv {

// The window the drags start from and end on.
class DropHost {
 public:
  virtual ~DropHost() = default;
  // A drop of the control named `source` on `target`.
  virtual void DropOn(QWidget* target, const QString& source) = 0;
  virtual int DropsTaken() const = 0;  // drops handled so far
  virtual QWidget* HostWindow() = 0;
  // The editor whose commands the presses and releases are, and whose
  // StopAudition ends a drag that left the window.
  virtual Session& CommandEditor() = 0;
};

inline constexpr char kSourceMimeType[] = "application/x-quorvane-source";
inline constexpr char kWindowMimeType[] = "application/x-quorvane-window";

// What a drag of the control named `sourceName` from `window` carries.
QMimeData* MakeDragData(const QWidget* window, const QString& sourceName);
// The dragged control's name when `data` is a drag that began in `window`;
// empty otherwise.
QString DraggedSource(const QWidget* window, const QMimeData* data);

class MouseRouter : public QObject {
  Q_OBJECT
 public:
  enum class Kind { Performance, LayerButton, MultiButton, LayerName, PoolList };

  using Handler = std::function<void()>;

  MouseRouter(DropHost& host, QObject* parent);
  // The mouse events of `mouseTarget` (the control itself, or the list's
  // viewport) are those of `control`. `press` runs on a press (on the pool
  // list: a double click), `release` on a release.
  void Watch(QWidget* control, QWidget* mouseTarget, Kind kind, Handler press = {}, Handler release = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Source {
    QWidget* control;
    QWidget* mouseTarget;
    Kind kind;
    Handler press;
    Handler release;
  };
  bool Press(int index, bool doubleClick, QPoint pos);
  bool Move(int index, Qt::MouseButtons buttons, QPoint pos);
  bool Release(int index);
  void StartDrag(const Source& source);

  DropHost& host_;
  std::vector<Source> sources_;
  int pressed_ = -1;  // the source pressed and not yet dragged or released
  QPoint pressedAt_;
};

class DropRouter : public QObject {
  Q_OBJECT
 public:
  explicit DropRouter(DropHost& host);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DropHost& host_;
};

}  // namespace qv
