// Leaving the program, by File > "Exit" or by the window's close box: after
// the user confirms, MIDI thru is cut, the devices that are open are closed
// and the other windows are unloaded. Nothing is saved.

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "mainwindow/main_window.h"

namespace qv {

void MainWindow::BuildExitItem() {
  FileMenu->addSeparator();
  ExitMenu = FileMenu->addAction("Exit");
  ExitMenu->setObjectName("ExitMenu");
  connect(ExitMenu, &QAction::triggered, this, [this] { ExitMenu_Click(); });
}

void MainWindow::ExitMenu_Click() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
  bool cancel = false;
  Form_Unload(cancel);
  if (cancel)
    event->ignore();
  else
    event->accept();
}

void MainWindow::Form_Unload(bool& cancel) {
  if (prompts_.Question("Do you really want to exit program?", "Exit") != Prompts::Answer::Ok) {
    cancel = true;
    return;
  }
  MidiLink& link = Link();
  link.DisconnectThru();
  // Only a device that was opened is stopped or closed: a user without a
  // MIDI input gets no error box while quitting. Every box is shown and the
  // next step still runs.
  if (link.InputOpen()) {
    link.StopInput();
    link.CloseInput();
  }
  if (link.OutputOpen()) {
    link.ResetOutput();
    link.CloseOutput();
  }
  if (onUnload) onUnload();
}

}  // namespace qv
