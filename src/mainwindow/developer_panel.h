#pragma once
// The developer's parameter window: five number boxes and three buttons that
// send a hand-made parameter change, control change or parameter request,
// above the list that traces what the last dump transaction received.
// Debug > "Window On" and "Window Off" show and hide them together.

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "editor/session.h"

class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace qv {

class DeveloperPanel : public QWidget {
  Q_OBJECT
 public:
  DeveloperPanel(Session& session, QWidget* parent = nullptr);

  // Adds "Window On" and "Window Off" to the Debug menu.
  void AddMenuItems(QMenu* debug);

  // The trace of the dump transactions.
  void ClearTrace();
  void AddTraceLine(const QString& line);

  void WinOn_Click();
  void WinOff_Click();
  void CmdChngCntl_Click();
  void CmdChngParm_Click();
  void CmdRtrvParm_Click();
  // The parameter change typed into TxtParm 0..4; nothing when a box is not valid.
  void SendParmChange();
  // The parameter request typed into TxtParm 1..3; nothing when a box is not valid.
  std::optional<Bytes> RqstParm() const;

 private:
  std::vector<QWidget*> Controls() const;
  std::string ParmText(int index) const;

  Session& session_;
  QListWidget* trace_;                      // List1
  std::array<QLineEdit*, 5> parmBoxes_{};   // TxtParm_0 .. TxtParm_4: model, three address bytes, data
  QPushButton* retrieve_;                   // CmdRtrvParm
  QPushButton* change_;                     // CmdChngParm
  QPushButton* control_;                    // CmdChngCntl
};

}  // namespace qv
