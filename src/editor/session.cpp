#include "editor/session.h"

#include <algorithm>

#include "instrument/default_multi.h"
#include "instrument/messages.h"

namespace qv {

Session::Session(EditorState& state, MidiLink& link, EditorView& view)
    : state_(state), model_(state.Model), link_(link), view_(view) {}

void Session::SetPartCaption(int part, const std::string& caption) {
  if (!IsMultiPart(part) || state_.Caption(part) == caption) return;
  state_.Caption(part) = caption;
  view_.PartCaptionChanged(part);
}

void Session::SetChannelRow(int part, int row) {
  if (!IsMultiPart(part)) return;
  const int ch = row >= 0 && row <= 15 ? row : -1;
  state_.ChannelRow(part) = ch;
  view_.ChannelRowChanged(part);
  if (model_.Busy || ch < 0) return;
  model_.PartBlk.At(kReceiveChannelByte, 0, part) = static_cast<Byte>(ch);
  link_.SendSysEx(XgParmChange(0x08, static_cast<Byte>(part), 0x04, static_cast<Byte>(ch)));
}

void Session::InitMultiPart(int part) {
  if (part < 0 || part >= PartBlkStore::kParts) return;
  for (int b = 0; b < kMultiBlocks; ++b) {
    WriteDefaultBlock(b, static_cast<Byte>(part), static_cast<Byte>(part), model_.PartBlk.Block(b, part));
    link_.SendPartBlock(part, b);
  }
  if (!IsMultiPart(part)) return;
  SetChannelRow(part, part);
  view_.ShowPartIfEditing(part);
}

// The panel was opened on the part before its name was reset: the name box
// takes the new caption, so that typing in it does not bring the old name back.
void Session::InitMlt(int part) {
  InitMultiPart(part);
  SetPartCaption(part, DefaultPartCaption(part));
  view_.EditedNameChanged(false);
}

void Session::InitMltall() {
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) InitMultiPart(part);
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) SetPartCaption(part, DefaultPartCaption(part));
  view_.EditedNameChanged(false);
}

void Session::RtrvMultiPart(int multi) {
  view_.ClearTrace();
  for (int b = 0; b < kMultiBlocks; ++b) link_.RtrvDump(kDumpMulti, multi, b);
}

void Session::RtrvAllMultis() {
  view_.ClearTrace();
  for (int multi = 5; multi <= 16; ++multi)
    for (int b = 0; b < kMultiBlocks; ++b) link_.RtrvDump(kDumpMulti, multi, b);
}

// ---- The multi edit panel's switches ------------------------------------------

namespace {

// A switch of the part: its stored byte and the XG address 08 pp a3, and how
// many states it has.
struct SwitchByte {
  int block;
  int byte;
  Byte a3;
  int states;
};
constexpr std::array<SwitchByte, kEditSwitches> kSwitches = {{
    {1, 64, 0x67, 2},  // portamento on/off
    {0, 15, 0x06, 3},  // same note number key on assign
    {0, 14, 0x05, 2},  // mono/poly
    {0, 16, 0x07, 4},  // part mode
}};

// What a switch shows for a stored value: the value when it names a state;
// else the portamento box shows "off" and an option group selects no button.
int ShownState(int which, int value) {
  if (value >= 0 && value < kSwitches[static_cast<std::size_t>(which)].states) return value;
  return which == kSwPortamento ? 0 : kNoSwitchState;
}

}  // namespace

void Session::SetEditPart(int part) {
  if (IsMultiPart(part)) model_.EditPart = part;
}

void Session::ShowEditSwitches() {
  const int part = model_.EditPart;
  if (!IsMultiPart(part)) return;
  for (int which = 0; which < kEditSwitches; ++which) {
    const SwitchByte& sw = kSwitches[static_cast<std::size_t>(which)];
    const int value = model_.PartBlk.At(sw.byte, sw.block, part);
    int& shown = state_.ShownSwitches[static_cast<std::size_t>(which)];
    const bool names = value < sw.states;
    const int now = ShownState(which, value);
    const bool changed = now != shown;
    shown = now;
    if (names && changed) SetEditSwitch(which, value);
  }
}

void Session::SetEditSwitch(int which, int value) {
  if (which < 0 || which >= kEditSwitches) return;
  const SwitchByte& sw = kSwitches[static_cast<std::size_t>(which)];
  state_.ShownSwitches[static_cast<std::size_t>(which)] = ShownState(which, value);
  const int part = model_.EditPart;
  if (!IsMultiPart(part) || value < 0 || value > 127) return;
  model_.PartBlk.At(sw.byte, sw.block, part) = static_cast<Byte>(value);
  link_.SendSysEx(XgParmChange(0x08, static_cast<Byte>(part), sw.a3, static_cast<Byte>(value)));
}

void Session::SetVoice(int part, int msb, int lsb, int prg) {
  constexpr int kVoiceBlock = 0, kMsbByte = 10, kLsbByte = 11, kPrgByte = 12;
  const auto inRange = [](int v) { return v >= 0 && v <= 127; };
  if (!IsMultiPart(part) || !inRange(msb) || !inRange(lsb) || !inRange(prg)) return;
  model_.PartBlk.At(kMsbByte, kVoiceBlock, part) = static_cast<Byte>(msb);
  model_.PartBlk.At(kLsbByte, kVoiceBlock, part) = static_cast<Byte>(lsb);
  model_.PartBlk.At(kPrgByte, kVoiceBlock, part) = static_cast<Byte>(prg);
  const Byte pp = static_cast<Byte>(part);
  Bytes message = XgParmChange(0x08, pp, 0x01, static_cast<Byte>(msb));
  Append(message, XgParmChange(0x08, pp, 0x02, static_cast<Byte>(lsb)));
  Append(message, XgParmChange(0x08, pp, 0x03, static_cast<Byte>(prg)));
  link_.SendSysEx(message);
}

// ---- Developer controls and exit ----------------------------------------------

void Session::SendRaw(const Bytes& message) { link_.SendSysEx(message); }

void Session::RequestParm(const Bytes& request) {
  view_.ClearTrace();
  link_.RtrvDump(kDumpParm, 0, 0, request);
}

// Only a device that was opened is stopped or closed: a user without a MIDI
// input gets no error box while quitting.
void Session::CloseDevices() {
  link_.DisconnectThru();
  if (link_.InputOpen()) {
    link_.StopInput();
    link_.CloseInput();
  }
  if (link_.OutputOpen()) {
    link_.ResetOutput();
    link_.CloseOutput();
  }
}

}  // namespace qv
