#include "drop_events.h"

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWindow>
#include <memory>

#include "mainwindow/drag_and_drop.h"
#include "mainwindow/main_window.h"

namespace qv::test {

bool DropOnto(MainWindow& window, const QString& source, QWidget* target, QPoint at, bool foreign) {
  std::unique_ptr<QMimeData> data(MakeDragData(&window, DraggedThing(source)));
  if (foreign) data->setData(kWindowMimeType, "another program");
  const QPoint pos = target->mapTo(&window, at.isNull() ? target->rect().center() : at);
  QDragEnterEvent enter(pos, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window.windowHandle(), &enter);
  if (!enter.isAccepted()) {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(window.windowHandle(), &leave);
    return false;
  }
  QDropEvent drop(QPointF(pos), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window.windowHandle(), &drop);
  return drop.isAccepted();
}

QAction* TransmitChannelItem(MainWindow& window) { return window.findChild<QAction*>("TrnsChnlAssgn"); }

}  // namespace qv::test
