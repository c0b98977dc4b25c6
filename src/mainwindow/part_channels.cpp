// The multi parts' receive channels and the Initialize and Retrieve menus.

#include <QComboBox>
#include <QPushButton>

#include "instrument/messages.h"
#include "mainwindow/caption.h"
#include "mainwindow/main_window.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

void MainWindow::CmbMult_Click(int part) {
  if (model_.Busy) return;
  const int ch = Multi(part).CmbMult->currentIndex();
  if (ch < 0 || ch > 15) return;
  model_.PartBlk.At(kReceiveChannelByte, 0, part) = static_cast<Byte>(ch);
  link_->SendSysEx(XgParmChange(0x08, static_cast<Byte>(part), 0x04, static_cast<Byte>(ch)));
}

void MainWindow::InitMlt_Click(int part) {
  session_->InitMultiPart(part);
  SetCaption(Multi(part).CmdMult, DefaultMultiCaption(part));
  ShowEditedName();
}

void MainWindow::InitMltall_Click() {
  WaitCursor hourglass;
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) session_->InitMultiPart(part);
  for (MultiPartControls& c : Multis) SetCaption(c.CmdMult, DefaultMultiCaption(c.part));
  ShowEditedName();
}

// The panel was opened on the part before its name was reset: the name box
// takes the new caption, so that typing in it does not bring the old name back.
void MainWindow::ShowEditedName() {
  if (MultiEditShown() && IsMultiPart(model_.EditPart)) SetMultEditName(PartCaption(model_.EditPart));
}

void MainWindow::RtrvMulti_Click(int multi) { session_->RtrvMultiPart(multi); }

void MainWindow::RtrvAllMulti_Click() {
  WaitCursor hourglass;
  session_->RtrvAllMultis();
}

void MainWindow::RtrvPerf_Click() { session_->RtrvPerformance(); }

}  // namespace qv
