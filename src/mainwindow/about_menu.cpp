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

void MainWindow::About_Click() {
  auto* box = new AboutBox(prompts_, this);
  box->show();
}

}  // namespace qv
