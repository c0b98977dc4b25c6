// The start-up of the main window: one tick after the window is made, it
// fills its lists, has the editor do the start-up work and shows itself.

#include <QTimer>

#include "mainwindow/audition_panel.h"
#include "mainwindow/effects_panel.h"
#include "mainwindow/main_window.h"
#include "mainwindow/performance_panel.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

void MainWindow::Timer1_Timer() {
  timer1_->stop();
  Form_Loadx();
  if (onStartupWorkDone) onStartupWorkDone();
  show();
}

// The lists of notes, programs and effects are filled whatever the devices,
// so that without an instrument they still show their names. The editor
// selects the first program of preset bank 1 (when the output could be
// opened); the list shows it from the editor state.
void MainWindow::Form_Loadx() {
  WaitCursor hourglass;
  audition_->FillLists();
  LoadEffectAndPresetTables();
  core_.StartupWork();
}

void MainWindow::LoadEffectAndPresetTables() {
  effects_->LoadEffectLists();
  performance_->LoadPresetNames();
}

}  // namespace qv
