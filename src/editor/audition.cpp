// The audition: a note sounds while the performance button, a layer button
// or a multi button is held. While a layer sounds the other layers are
// switched off and afterwards back to their stored switches. Nothing is
// remembered between press and release: each message is built from the
// state as it stands.

#include <algorithm>

#include "editor/session.h"
#include "instrument/messages.h"

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

int Session::NoteRow() const { return std::clamp(state_.NoteRow, 0, 127); }
int Session::VelocityRow() const { return std::clamp(state_.VelocityRow, 0, 127); }

void Session::SendTransmitChannel(int channel) {
  if (!state_.TransmitChannelAssigned) return;
  link_.SendSysEx(CsParmChange(0x50, 0x00, 0x0A, static_cast<Byte>(channel & 0x0F)));
}

// The performance and the layers send the transmit channel 1 whatever the
// performance channel is.
void Session::AuditionPerformance(bool down) {
  const Byte kk = static_cast<Byte>(NoteRow()), vv = static_cast<Byte>(VelocityRow());
  if (!down) return link_.SendSysEx(NoteOff(PerfChannel(), kk, vv));
  link_.SendSysEx(NoteOn(PerfChannel(), kk, vv));
  SendTransmitChannel(0);
}

// On release the other layers go back to the switches of the last retrieval
// or load, before the note ends.
void Session::AuditionLayer(int layer, bool down) {
  if (layer < 1 || layer > 4) return;
  const Byte kk = static_cast<Byte>(NoteRow()), vv = static_cast<Byte>(VelocityRow());
  if (!down) {
    const Bytes note = NoteOff(PerfChannel(), kk, vv);
    link_.SendSysEx(OtherLayersThen(
        layer, [this](int other) { return static_cast<int>(model_.LyrSw[static_cast<std::size_t>(other)]); }, note));
    return;
  }
  const Bytes note = NoteOn(PerfChannel(), kk, vv);
  link_.SendSysEx(OtherLayersThen(layer, [](int) { return 0; }, note));
  SendTransmitChannel(0);
}

// The note sounds on the part's channel, and so on every part that
// receives there. A press also opens the multi edit panel on the part when
// it is shown.
void Session::AuditionPart(int part, bool down) {
  if (!IsMultiPart(part)) return;
  const Byte kk = static_cast<Byte>(NoteRow()), vv = static_cast<Byte>(VelocityRow());
  if (!down) return link_.SendSysEx(NoteOff(state_.PartChannel(part), kk, vv));
  ShowPartIfEditing(part);
  const int channel = state_.PartChannel(part);
  link_.SendSysEx(NoteOn(channel, kk, vv));
  SendTransmitChannel(channel);
}

void Session::StopAudition() {
  Bytes allOff, notesOff;
  for (int c = 0; c < 16; ++c) Append(allOff, qv::AllNotesOff(c));
  link_.SendSysEx(allOff);
  const Byte kk = static_cast<Byte>(NoteRow()), vv = static_cast<Byte>(VelocityRow());
  for (int c = 0; c < 16; ++c) Append(notesOff, NoteOff(c, kk, vv));
  link_.SendSysEx(notesOff);
}

// Nothing waits for a device known gone: the sends' one box ends the command.
void Session::AllNtsOff() {
  StopAudition();
  if (link_.DeviceGone()) return;
  link_.DisconnectThru();
  link_.LinkClock().SleepMs(1000);
  link_.StopInput();
  if (link_.ConnectThru() == kMidiOk) link_.StartInput();
}

// Local control of the keyboard: 00 switches it off, 01 on.
void Session::SetLocalOff(bool on) {
  state_.LocalOff = on;
  link_.SendSysEx(CsParmChange(0x50, 0x00, 0x0B, on ? 0x00 : 0x01));
}

// The performance's arpeggiator switch: 04 off, 05 on.
void Session::SetArpOff(bool on) {
  state_.ArpOff = on;
  link_.SendSysEx(CsParmChange(0x60, 0x00, 0x33, on ? 0x04 : 0x05));
}

}  // namespace qv
