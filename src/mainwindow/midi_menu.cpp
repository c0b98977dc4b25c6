// The Midi menu: All Notes Off with MIDI thru paused for a second, the Local
// Off and Arpeggiator Off check marks that each send one parameter change,
// and the check mark that lets an audition set the transmit channel.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "instrument/messages.h"
#include "mainwindow/main_window.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

namespace {

QAction* MenuItem(QMenu* menu, const char* name, const char* caption, bool checkable) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(QString::fromLatin1(name));
  action->setCheckable(checkable);
  return action;
}

}  // namespace

void MainWindow::SetUpMidiMenuExitAndDebug() {
  BuildMidiMenu();
  BuildExitItem();
  BuildDeveloperControls();
}

void MainWindow::BuildMidiMenu() {
  MidiMenu = menuBar()->addMenu("Midi");
  MidiMenu->setObjectName("Midi");
  AllNtsOff = MenuItem(MidiMenu, "AllNtsOff", "All Notes Off", false);
  LocalOff = MenuItem(MidiMenu, "LocalOff", "Local Off", true);
  ArpOff = MenuItem(MidiMenu, "ArpOff", "Arpeggiator Off", true);
  TrnsChnlAssgn = MenuItem(MidiMenu, "TrnsChnlAssgn", "Trans Chnl Assigned by Audition", true);
  // A checkable item has already changed its check mark when it triggers:
  // the handlers below only send what the new mark says.
  connect(AllNtsOff, &QAction::triggered, this, [this] { AllNtsOff_Click(); });
  connect(LocalOff, &QAction::triggered, this, [this] { SendLocalOff(); });
  connect(ArpOff, &QAction::triggered, this, [this] { SendArpOff(); });
}

void MainWindow::AllNtsOff_Click() {
  WaitCursor hourglass;
  StopAudition();
  MidiLink& link = Link();
  link.DisconnectThru();
  link.LinkClock().SleepMs(1000);
  link.StopInput();
  if (link.ConnectThru() == kMidiOk) link.StartInput();
}

void MainWindow::LocalOff_Click() {
  LocalOff->setChecked(!LocalOff->isChecked());
  SendLocalOff();
}

void MainWindow::ArpOff_Click() {
  ArpOff->setChecked(!ArpOff->isChecked());
  SendArpOff();
}

void MainWindow::TrnsChnlAssgn_Click() { TrnsChnlAssgn->setChecked(!TrnsChnlAssgn->isChecked()); }

// Local control of the keyboard: 00 switches it off, 01 on.
void MainWindow::SendLocalOff() { Link().SendSysEx(CsParmChange(0x50, 0x00, 0x0B, LocalOff->isChecked() ? 0x00 : 0x01)); }

// The performance's arpeggiator switch: 04 off, 05 on.
void MainWindow::SendArpOff() { Link().SendSysEx(CsParmChange(0x60, 0x00, 0x33, ArpOff->isChecked() ? 0x04 : 0x05)); }

}  // namespace qv
