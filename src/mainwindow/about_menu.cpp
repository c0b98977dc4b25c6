// Help > "About": the about box, which leaves the main window usable.

#include <QAction>
#include <QMenuBar>

#include "mainwindow/main_window.h"
#include "startup/about_box.h"

namespace qv {

void MainWindow::BuildHelpMenu() {
  HelpMenu = menuBar()->addMenu("Help");
  HelpMenu->setObjectName("HelpMenu");
  About = HelpMenu->addAction("About");
  About->setObjectName("About");
  connect(About, &QAction::triggered, this, [this] { About_Click(); });
}

// One about box at a time: shown again, the open one comes to the front.
void MainWindow::About_Click() {
  if (!aboutBox_) aboutBox_ = new AboutBox(prompts_, this);
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

}  // namespace qv
