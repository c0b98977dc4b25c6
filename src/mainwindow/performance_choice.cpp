// The performance panel: preset or user bank 1 or 2, and the program list
// whose choice selects the performance on the instrument and reads it back.

#include <QComboBox>
#include <QRadioButton>

#include "instrument/messages.h"
#include "instrument/tables.h"
#include "mainwindow/main_window.h"
#include "mainwindow/wait_cursor.h"

namespace qv {

namespace {

void FillNames(QComboBox* combo, const std::vector<std::string>& names) {
  combo->clear();
  for (const std::string& name : names) combo->addItem(QString::fromLatin1(name.data(), static_cast<int>(name.size())));
  combo->setCurrentIndex(-1);  // no performance is chosen until the user picks a row
}

void FillNumbers(QComboBox* combo) {
  combo->clear();
  for (int i = 1; i <= 128; ++i) combo->addItem(QString(" %1").arg(i));
  combo->setCurrentIndex(-1);
}

}  // namespace

void MainWindow::LoadPresetNames() { FillNames(CmbPrgm, PresetNames1()); }

void MainWindow::OptPreset_Click() { FillNames(CmbPrgm, OptBank1->isChecked() ? PresetNames1() : PresetNames2()); }

void MainWindow::OptUser_Click() { FillNumbers(CmbPrgm); }

void MainWindow::OptBank1_Click() {
  if (OptPreset->isChecked()) FillNames(CmbPrgm, PresetNames1());
}

void MainWindow::OptBank2_Click() {
  if (OptPreset->isChecked()) FillNames(CmbPrgm, PresetNames2());
}

void MainWindow::CmbPrgm_Click() {
  WaitCursor hourglass;
  int program = CmbPrgm->currentIndex();
  if (program < 0 || program > 127) program = 0;
  // Bank select LSB: 40 preset bank 1, 41 user bank 1, 42 preset bank 2, 43 user bank 2.
  const Byte lsb = static_cast<Byte>(0x40 + (OptPreset->isChecked() ? 0 : 1) + (OptBank1->isChecked() ? 0 : 2));
  session_->SendPerfMidiChannelZero();
  link_->SendSysEx(PerfSelect(lsb, static_cast<Byte>(program)));
  session_->RtrvPerformance();
  RefillEffectsPanelIfShown();
}

}  // namespace qv
