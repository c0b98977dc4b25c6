#pragma once
// The Layer Pool: layers and multi parts dropped on the pool list become
// pool entries, a pool row dropped on a multi button goes into that part, a
// double click deletes a row and Clear empties the pool.

#include <QWidget>

#include "editor/session.h"

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
  int SelectedPoolRow() const;  // -1 when no row of the pool list is selected
  // Brings the list to the state's rows, keeping the rows that stay.
  void ShowPool();

  void LbxLyrPool_DragDrop(const QString& source);
  void LbxLyrPool_DblClick();
  void CmdClrLyrPool_Click();

 private:
  Session& session_;
  QListWidget* list_;     // LbxLyrPool
  QPushButton* clear_;    // CmdClrLyrPool
};

}  // namespace qv
