#pragma once
// The column of multi parts M5..M16: each part's button (audition, drag
// source and drop target for pool rows) and its receive channel list.

#include <QWidget>
#include <array>

#include "editor/session.h"
#include "mainwindow/drag_and_drop.h"

class QComboBox;
class QPushButton;

namespace qv {

class MouseRouter;

class MultiColumn : public QWidget {
  Q_OBJECT
 public:
  MultiColumn(Session& session, QWidget* parent = nullptr);

  void WatchMouse(MouseRouter& router);
  // The part index 4..15 whose button `w` is; -1 for any other widget.
  int PartOf(const QWidget* w) const;
  // Draws a part's caption and channel row from the state.
  void ShowCaption(int part);
  void ShowChannel(int part);

  // Part index 4..15 in each.
  void CmbMult_Click(int part);  // CmbMult5_Click .. CmbMult16_Click
  void CmdMult_MouseDown(int part);
  void CmdMult_MouseUp(int part);
  // A drop on a part's button (CmdMult5_DragDrop .. CmdMult16_DragDrop).
  void CmdMult_DragDrop(int part, const Dragged& source);

 private:
  static std::size_t Index(int part) { return static_cast<std::size_t>(part - kFirstMultiPart); }

  Session& session_;
  std::array<QPushButton*, kMultiPartCount> partButtons_{};  // CmdMult5 .. CmdMult16
  std::array<QComboBox*, kMultiPartCount> channelLists_{};   // CmbMult5 .. CmbMult16
};

}  // namespace qv
