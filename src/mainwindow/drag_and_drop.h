#pragma once
// Drag and drop on the main window. A drag carries the thing dragged and a
// token of the window it started in, so that drags from elsewhere are left
// alone. MouseRouter turns the mouse on the audition buttons and the drag
// sources into presses, releases and drags; DropRouter makes the window and
// every control on it accept our drags and hands each drop to the window.

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "editor/session.h"

class QMimeData;
class QWidget;

namespace qv {

// The thing a drag carries, as the text "layer:N" (the name box of layer
// N = 1..4), "part:N" (the button of the multi part of index N = 4..15, the
// index the editor uses: "part:4" is M5) or "poolrow:N" (the Layer Pool list
// with its row N selected, -1 when it has none).
struct Dragged {
  enum class Kind { Nothing, Layer, Part, PoolRow };
  Kind kind = Kind::Nothing;
  int number = -1;
  bool operator==(const Dragged&) const = default;
};
QString DragText(const Dragged& thing);
// The thing a text names; Kind::Nothing for any other text.
Dragged DraggedThing(const QString& text);

// The window the drags start from and end on.
class DropHost {
 public:
  virtual ~DropHost() = default;
  // A drop of `thing` on `target`.
  virtual void DropOn(QWidget* target, const Dragged& thing) = 0;
  virtual int DropsTaken() const = 0;  // drops handled so far
  virtual QWidget* HostWindow() = 0;
  // The editor whose commands the presses and releases are, and whose
  // StopAudition ends a drag that left the window.
  virtual Session& CommandEditor() = 0;
};

inline constexpr char kSourceMimeType[] = "application/x-quorvane-source";
inline constexpr char kWindowMimeType[] = "application/x-quorvane-window";

// What a drag of `thing` from `window` carries.
QMimeData* MakeDragData(const QWidget* window, const Dragged& thing);
// The thing dragged when `data` is a drag that began in `window`; none
// otherwise.
std::optional<Dragged> DraggedFrom(const QWidget* window, const QMimeData* data);

class MouseRouter : public QObject {
  Q_OBJECT
 public:
  enum class Kind { Performance, LayerButton, MultiButton, LayerName, PoolList };

  using Handler = std::function<void()>;
  using Thing = std::function<Dragged()>;

  MouseRouter(DropHost& host, QObject* parent);
  // The mouse events of `mouseTarget` (the control itself, or the list's
  // viewport) are those of `control`. `press` runs on a press (on the pool
  // list: a double click), `release` on a release. A drag source (a multi
  // button, a layer name, the pool list) drags what `dragged` names as the
  // drag starts.
  void Watch(QWidget* control, QWidget* mouseTarget, Kind kind, Handler press = {}, Handler release = {},
             Thing dragged = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Source {
    QWidget* control;
    QWidget* mouseTarget;
    Kind kind;
    Handler press;
    Handler release;
    Thing dragged;
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
