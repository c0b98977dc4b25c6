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
  ShowPartIfEditing(part);
}

// The panel was opened on the part before its name was reset: the name box
// takes the new caption, so that typing in it does not bring the old name back.
void Session::InitMlt(int part) {
  InitMultiPart(part);
  SetPartCaption(part, DefaultPartCaption(part));
  EditedNameChanged(false);
}

void Session::InitMltall() {
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) InitMultiPart(part);
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) SetPartCaption(part, DefaultPartCaption(part));
  EditedNameChanged(false);
}

void Session::RtrvMultiPart(int part) {
  view_.ClearTrace();
  for (int b = 0; b < kMultiBlocks; ++b) link_.RtrvDump(DumpRequest::ForMultiPart(part, b));
}

void Session::RtrvAllMultis() {
  view_.ClearTrace();
  for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
    for (int b = 0; b < kMultiBlocks; ++b) link_.RtrvDump(DumpRequest::ForMultiPart(part, b));
}

// ---- Developer controls and exit ----------------------------------------------

void Session::SendRaw(const Bytes& message) { link_.SendSysEx(message); }

void Session::RequestParm(const Bytes& request) {
  view_.ClearTrace();
  link_.RtrvDump(DumpRequest::ForParameter(request));
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
