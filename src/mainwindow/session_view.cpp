// What the instrument procedures show on the main window.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "mainwindow/caption.h"
#include "mainwindow/main_window.h"

namespace qv {

int MainWindow::PerformanceChannel() {
  const int row = prefs_.PerfChannelRow();
  return row >= 0 && row <= 15 ? row : 0;
}

void MainWindow::ShowPerformance(const std::string& name) {
  SetCaption(CmdPrfm, QString::fromLatin1(name.data(), static_cast<int>(name.size())));
  static const char kLetters[] = "ABCD";
  for (LayerControls& c : Layers) {
    const bool on = model_.LyrSw[static_cast<std::size_t>(c.layer)] == 1;
    c.CmdLyr->setEnabled(on);
    c.TxtLyr->setEnabled(on);
    c.TxtLyr->setText(on ? Caption(CmdPrfm) + QChar::fromLatin1(kLetters[c.layer - 1]) : QString(9, ' '));
  }
}

void MainWindow::SetPartChannelRow(int part, int row) { SelectRow(Multi(part).CmbMult, row); }

int MainWindow::PartChannelRow(int part) {
  const int row = Multi(part).CmbMult->currentIndex();
  return row >= 0 && row <= 15 ? row : 0;
}

void MainWindow::ClearTrace() { List1->clear(); }

void MainWindow::AddTraceLine(const std::string& line) { List1->addItem(QString::fromStdString(line)); }

}  // namespace qv
