// Where the main window meets its edit panels.

#include "mainwindow/main_window.h"

namespace qv {

void MainWindow::LoadEffectAndPresetTables() { LoadPresetNames(); }

void MainWindow::HideEditPanels() {}

void MainWindow::RefillEffectsPanelIfShown() {}

void MainWindow::ShowPartIfEditing(int part) {
  if (MultiEditShown()) EditMult(part);
}

bool MainWindow::MultiEditShown() const { return false; }

void MainWindow::EditMult(int) {}

void MainWindow::ShowMultEdit() {}

void MainWindow::SetMultEditName(const QString&) {}

// Workspace files are not read yet: the parts follow their retrieve boxes.
bool MainWindow::LoadStartupWorkspace(const QString&) { return false; }

}  // namespace qv
