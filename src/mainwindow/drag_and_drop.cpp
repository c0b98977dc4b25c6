#include "mainwindow/drag_and_drop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>


namespace qv {

namespace {

QByteArray WindowToken(const QWidget* window) {
  return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
         QByteArray::number(reinterpret_cast<quintptr>(window), 16);
}

// The picture that follows the pointer: the control, or the selected row
// of a list.
QPixmap DragPicture(QWidget* control) {
  if (auto* list = qobject_cast<QListWidget*>(control)) {
    const QList<QListWidgetItem*> rows = list->selectedItems();
    if (rows.isEmpty()) return {};
    return list->viewport()->grab(list->visualItemRect(rows.first()));
  }
  return control->grab();
}

}  // namespace

QString DragText(const Dragged& thing) {
  switch (thing.kind) {
    case Dragged::Kind::Layer:
      return QString("layer:%1").arg(thing.number);
    case Dragged::Kind::Part:
      return QString("part:%1").arg(thing.number);
    case Dragged::Kind::PoolRow:
      return QString("poolrow:%1").arg(thing.number);
    case Dragged::Kind::Nothing:
      break;
  }
  return {};
}

Dragged DraggedThing(const QString& text) {
  struct Name {
    const char* prefix;
    Dragged::Kind kind;
    int first, last;
  };
  static const Name kNames[] = {{"layer:", Dragged::Kind::Layer, 1, 4},
                                {"part:", Dragged::Kind::Part, kFirstMultiPart, kLastMultiPart},
                                {"poolrow:", Dragged::Kind::PoolRow, -1, kPoolSlots - 1}};
  for (const Name& name : kNames) {
    if (!text.startsWith(QLatin1String(name.prefix))) continue;
    bool ok = false;
    const int n = text.mid(static_cast<qsizetype>(qstrlen(name.prefix))).toInt(&ok);
    const Dragged thing{name.kind, n};
    if (ok && n >= name.first && n <= name.last && DragText(thing) == text) return thing;
  }
  return {};
}

QMimeData* MakeDragData(const QWidget* window, const Dragged& thing) {
  auto* data = new QMimeData;
  data->setData(kSourceMimeType, DragText(thing).toUtf8());
  data->setData(kWindowMimeType, WindowToken(window));
  return data;
}

std::optional<Dragged> DraggedFrom(const QWidget* window, const QMimeData* data) {
  if (!data || !data->hasFormat(kSourceMimeType) || data->data(kWindowMimeType) != WindowToken(window))
    return std::nullopt;
  return DraggedThing(QString::fromUtf8(data->data(kSourceMimeType)));
}

// ---- MouseRouter -----------------------------------------------------------

MouseRouter::MouseRouter(DropHost& host, QObject* parent) : QObject(parent), host_(host) {}

void MouseRouter::Watch(QWidget* control, QWidget* mouseTarget, Kind kind, Handler press, Handler release,
                        Thing dragged) {
  sources_.push_back({control, mouseTarget, kind, std::move(press), std::move(release), std::move(dragged)});
  mouseTarget->installEventFilter(this);
}

bool MouseRouter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease)
    return false;
  int index = -1;
  for (std::size_t i = 0; i < sources_.size(); ++i)
    if (sources_[i].mouseTarget == watched) index = static_cast<int>(i);
  if (index < 0 || !sources_[static_cast<std::size_t>(index)].control->isEnabled()) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint pos = mouse->position().toPoint();
  if (type == QEvent::MouseMove) return Move(index, mouse->buttons(), pos);  // a drag: its drop is a command
  // A press and a release are each one command.
  Session::CommandScope command(host_.CommandEditor());
  switch (type) {
    case QEvent::MouseButtonPress:
      return Press(index, false, pos);
    case QEvent::MouseButtonDblClick:
      return Press(index, true, pos);
    default:
      return Release(index);
  }
}

// Which mouse button is pressed does not matter. The second press of a
// double click is a press like the first, but on the pool list it deletes.
// A drag source is tracked before its handler runs: a box that the handler
// shows may take the release.
bool MouseRouter::Press(int index, bool doubleClick, QPoint pos) {
  const Source source = sources_[static_cast<std::size_t>(index)];
  pressed_ = -1;
  const auto track = [&] {
    pressed_ = index;
    pressedAt_ = pos;
  };
  switch (source.kind) {
    case Kind::Performance:
    case Kind::LayerButton:
      if (source.press) source.press();
      return false;
    case Kind::MultiButton:
      track();
      if (source.press) source.press();
      return false;
    case Kind::LayerName:
      track();
      return true;  // the box is a drag handle: no cursor, no text selection
    case Kind::PoolList:
      if (doubleClick) {
        if (source.press) source.press();
        return true;
      }
      track();
      return false;  // the list selects the row under the pointer
  }
  return false;
}

bool MouseRouter::Move(int index, Qt::MouseButtons buttons, QPoint pos) {
  if (pressed_ != index) return false;
  const Source source = sources_[static_cast<std::size_t>(index)];
  if (buttons == Qt::NoButton) {  // the release went elsewhere
    pressed_ = -1;
    return false;
  }
  const bool swallow = source.kind == Kind::LayerName || source.kind == Kind::PoolList;
  if ((pos - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return swallow;
  pressed_ = -1;
  StartDrag(source);
  return true;
}

bool MouseRouter::Release(int index) {
  const bool wasPressed = pressed_ == index;
  pressed_ = -1;
  const Source source = sources_[static_cast<std::size_t>(index)];
  switch (source.kind) {
    case Kind::Performance:
    case Kind::LayerButton:
    case Kind::MultiButton:
      if (source.release) source.release();
      return false;
    case Kind::LayerName:
      // Pressed and released without moving: the box is dropped on itself.
      if (wasPressed) host_.DropOn(source.control, source.dragged());
      return true;
    case Kind::PoolList:
      if (wasPressed) host_.DropOn(source.control, source.dragged());
      return false;
  }
  return false;
}

// Runs the drag to its end (a nested event loop); the drop handlers run on
// the way. A multi part's note, started by the press, also ends when the
// drag ends anywhere but on this window (outside it, in another program, or
// cancelled).
void MouseRouter::StartDrag(const Source& source) {
  auto* drag = new QDrag(source.control);
  drag->setMimeData(MakeDragData(host_.HostWindow(), source.dragged()));
  const QPixmap picture = DragPicture(source.control);
  if (!picture.isNull()) drag->setPixmap(picture);
  const int dropsBefore = host_.DropsTaken();
  drag->exec(Qt::CopyAction);
  if (source.kind == Kind::MultiButton) {
    if (auto* button = qobject_cast<QAbstractButton*>(source.control)) button->setDown(false);
    // A drag that ended outside the window: a command of its own.
    if (host_.DropsTaken() == dropsBefore) {
      Session::CommandScope command(host_.CommandEditor());
      host_.CommandEditor().StopAudition();
    }
  }
}

// ---- DropRouter ------------------------------------------------------------

// A drag event that a control leaves alone goes on to the control's parent
// and so up to the window: watching the window covers every control, also
// those added later.
DropRouter::DropRouter(DropHost& host) : QObject(host.HostWindow()), host_(host) {
  host.HostWindow()->installEventFilter(this);
}

bool DropRouter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* move = static_cast<QDragMoveEvent*>(event);
      if (!DraggedFrom(host_.HostWindow(), move->mimeData())) return false;
      move->setDropAction(Qt::CopyAction);
      move->accept();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::optional<Dragged> thing = DraggedFrom(host_.HostWindow(), drop->mimeData());
      if (!thing) return false;
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      auto* widget = static_cast<QWidget*>(watched);
      QWidget* hit = widget->childAt(drop->position().toPoint());
      host_.DropOn(hit ? hit : widget, *thing);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace qv
