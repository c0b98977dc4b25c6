// The audition note and velocity: each box follows its slider and back, and
// StopAudition silences every channel.

#include <QComboBox>
#include <QSlider>

#include "instrument/messages.h"
#include "mainwindow/main_window.h"

namespace qv {

void MainWindow::CmbMidNtNo_Click() {
  if (CmbMidNtNo->currentIndex() >= 0) SldNt->setValue(127 - CmbMidNtNo->currentIndex());
}

void MainWindow::CmbMidVel_Click() {
  if (CmbMidVel->currentIndex() >= 0) SldVel->setValue(127 - CmbMidVel->currentIndex());
}

void MainWindow::SldNt_Update() {
  if (CmbMidNtNo->count() > 0) CmbMidNtNo->setCurrentIndex(127 - SldNt->value());
}

void MainWindow::SldVel_Update() {
  if (CmbMidVel->count() > 0) CmbMidVel->setCurrentIndex(127 - SldVel->value());
}

int MainWindow::NoteRow() const { return std::clamp(CmbMidNtNo->currentIndex(), 0, 127); }
int MainWindow::VelocityRow() const { return std::clamp(CmbMidVel->currentIndex(), 0, 127); }

void MainWindow::StopAudition() {
  Bytes allOff, notesOff;
  for (int c = 0; c < 16; ++c) Append(allOff, AllNotesOff(c));
  link_->SendSysEx(allOff);
  const Byte kk = static_cast<Byte>(NoteRow()), vv = static_cast<Byte>(VelocityRow());
  for (int c = 0; c < 16; ++c) Append(notesOff, NoteOff(c, kk, vv));
  link_->SendSysEx(notesOff);
}

}  // namespace qv
