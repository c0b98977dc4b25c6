// The audition: a note sounds while the performance button, a layer button
// or a multi button is held. While a layer sounds the other layers are
// switched off and afterwards back to their stored switches. Nothing is
// remembered between press and release: each message is built from the
// controls as they stand.

#include <QAction>

#include "instrument/messages.h"
#include "mainwindow/main_window.h"

namespace qv {

namespace {

Bytes LayerSwitch(int layer, int value) {
  return CsParmChange(0x60, static_cast<Byte>(layer), 0x16, static_cast<Byte>(value & 0x7F));
}

// The other three layers in ascending order, each with its switch value,
// then the note message: one buffer of 30 bytes.
template <typename SwitchValue>
Bytes OtherLayersThen(int layer, SwitchValue value, const Bytes& note) {
  Bytes buffer;
  for (int other = 1; other <= 4; ++other)
    if (other != layer) Append(buffer, LayerSwitch(other, value(other)));
  Append(buffer, note);
  return buffer;
}

}  // namespace

bool MainWindow::TransmitChannelAssigned() const {
  const auto* item = findChild<QAction*>("TrnsChnlAssgn");
  return item && item->isChecked();
}

namespace {

void SendTransmitChannel(MainWindow& w, int channel) {
  if (!w.TransmitChannelAssigned()) return;
  w.Link().SendSysEx(CsParmChange(0x50, 0x00, 0x0A, static_cast<Byte>(channel & 0x0F)));
}

}  // namespace

// The performance and the layers send the transmit channel 1 whatever the
// performance channel is.
void MainWindow::CmdPrfm_MouseDown() {
  link_->SendSysEx(NoteOn(PerformanceChannel(), static_cast<Byte>(NoteRow()), static_cast<Byte>(VelocityRow())));
  SendTransmitChannel(*this, 0);
}

void MainWindow::CmdPrfm_MouseUp() {
  link_->SendSysEx(NoteOff(PerformanceChannel(), static_cast<Byte>(NoteRow()), static_cast<Byte>(VelocityRow())));
}

void MainWindow::CmdLyr_MouseDown(int layer) {
  if (layer < 1 || layer > 4) return;
  const Bytes note = NoteOn(PerformanceChannel(), static_cast<Byte>(NoteRow()), static_cast<Byte>(VelocityRow()));
  link_->SendSysEx(OtherLayersThen(layer, [](int) { return 0; }, note));
  SendTransmitChannel(*this, 0);
}

// The other layers go back to the switches of the last retrieval or load,
// before the note ends.
void MainWindow::CmdLyr_MouseUp(int layer) {
  if (layer < 1 || layer > 4) return;
  const Bytes note = NoteOff(PerformanceChannel(), static_cast<Byte>(NoteRow()), static_cast<Byte>(VelocityRow()));
  link_->SendSysEx(OtherLayersThen(
      layer, [this](int other) { return static_cast<int>(model_.LyrSw[static_cast<std::size_t>(other)]); }, note));
}

// The note sounds on the part's channel, and so on every part that
// receives there. The drag that may follow is started by the mouse router.
void MainWindow::CmdMult_MouseDown(int part) {
  if (!IsMultiPart(part)) return;
  if (MultiEditShown()) EditMult(part);
  const int channel = PartChannelRow(part);
  link_->SendSysEx(NoteOn(channel, static_cast<Byte>(NoteRow()), static_cast<Byte>(VelocityRow())));
  SendTransmitChannel(*this, channel);
}

void MainWindow::CmdMult_MouseUp(int part) {
  if (!IsMultiPart(part)) return;
  link_->SendSysEx(NoteOff(PartChannelRow(part), static_cast<Byte>(NoteRow()), static_cast<Byte>(VelocityRow())));
}

}  // namespace qv
