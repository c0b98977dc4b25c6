#pragma once
// The Layer Pool: layers and multi parts dropped on the pool list become
// pool entries, a pool row dropped on a multi button goes into that part, a
// double click deletes the selected row and Clear empties the pool. The rows
// and the selected row are the editor state's; a row the user selects is
// kept there.

#include <QWidget>

#include "editor/session.h"
#include "mainwindow/drag_and_drop.h"

class QListWidget;
class QPushButton;

namespace qv {

class MouseRouter;

class LayerPoolPanel : public QWidget {
  Q_OBJECT
 public:
  LayerPoolPanel(Session& session, QWidget* parent = nullptr);

  void WatchMouse(MouseRouter& router);
  bool IsPoolList(const QWidget* w) const;
  // Brings the list to the state's rows, keeping the rows that stay, and
  // selects the state's selected row.
  void ShowPool();

  void LbxLyrPool_DragDrop(const Dragged& source);
  void LbxLyrPool_DblClick();
  void CmdClrLyrPool_Click();

 private:
  int ListSelection() const;  // the row the list shows selected, -1 for none
  void DrawRows();
  Session& session_;
  QListWidget* list_;     // LbxLyrPool
  QPushButton* clear_;    // CmdClrLyrPool
};

}  // namespace qv
