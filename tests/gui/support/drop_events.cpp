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

namespace {

bool Deliver(MainWindow& window, QMimeData* data, QWidget* target, QPoint at) {
  QWindow* handle = window.windowHandle();
  if (!handle) return false;
  const QPoint pos = target->mapTo(&window, at.isNull() ? target->rect().center() : at);
  QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &enter);
  if (!enter.isAccepted()) {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(handle, &leave);
    return false;
  }
  QDropEvent drop(QPointF(pos), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(handle, &drop);
  return drop.isAccepted();
}

}  // namespace

bool DropOnto(MainWindow& window, const QString& source, QWidget* target, QPoint at) {
  std::unique_ptr<QMimeData> data(MakeDragData(&window, source));
  return Deliver(window, data.get(), target, at);
}

bool DropForeignOnto(MainWindow& window, QWidget* target) {
  QMimeData data;
  data.setData(kSourceMimeType, "TxtLyr1");
  data.setData(kWindowMimeType, "another program");
  return Deliver(window, &data, target, {});
}

QAction* TransmitChannelItem(MainWindow& window) {
  auto* item = window.findChild<QAction*>("TrnsChnlAssgn");
  if (!item) {
    item = new QAction("Trans Chnl Assigned by Audition", &window);
    item->setObjectName("TrnsChnlAssgn");
    item->setCheckable(true);
  }
  return item;
}

}  // namespace qv::test
