// Where the main window meets its edit panels.

#include <QLineEdit>
#include <QPushButton>

#include "mainwindow/caption.h"
#include "mainwindow/main_window.h"

namespace qv {

void MainWindow::LoadEffectAndPresetTables() {
  SSTab2->LoadEffectLists();
  LoadPresetNames();
}

void MainWindow::HideEditPanels() { SSTab1->hide(); }

void MainWindow::EditEffcts_Click() { SSTab2->EditEffcts(); }

void MainWindow::RefillEffectsPanelIfShown() {
  if (SSTab2->isVisible()) SSTab2->EditEffcts();
}

void MainWindow::ShowPartIfEditing(int part) {
  if (MultiEditShown()) EditMult(part);
}

bool MainWindow::MultiEditShown() const { return SSTab1->isVisible(); }

void MainWindow::EditMult(int part) { SSTab1->EditMult(part); }

void MainWindow::ShowMultEdit() { SSTab1->ShowMultEdit(); }

void MainWindow::SetMultEditName(const QString& text) { SSTab1->TxtName1->setText(text); }

QString MainWindow::PartCaption(int part) { return Caption(Multi(part).CmdMult); }

void MainWindow::SetPartCaption(int part, const QString& caption) { SetCaption(Multi(part).CmdMult, caption); }

// Workspace files are not read yet: the parts follow their retrieve boxes.
bool MainWindow::LoadStartupWorkspace(const QString&) { return false; }

}  // namespace qv
