// The performance: its selection and retrieval, the performance MIDI
// channel, and the caption and layer boxes that show it.

#include <algorithm>

#include "editor/session.h"
#include "instrument/messages.h"
#include "instrument/performance_blocks.h"

namespace qv {

void Session::SendPerfMidiChannelZero() { link_.SendSysEx(CsParmChange(0x50, 0x00, 0x00, 0x00)); }

void Session::SendPerfMidiChannel() {
  link_.SendSysEx(CsParmChange(0x50, 0x00, 0x00, static_cast<Byte>(PerfChannel() & 0x0F)));
}

// The channel goes into Com0's data byte 0, the instrument's own performance
// channel parameter (50 00 00), so a resent Com0 sets the same channel.
void Session::PutPerfChannelInCom0() {
  model_.Performance.Com0[kPerfChannelByte] = static_cast<Byte>(PerfChannel() & 0x0F);
}

void Session::ChngPrfMidiChan() {
  PutPerfChannelInCom0();
  SendPerfMidiChannel();
}

std::string Session::PerformanceName() const {
  const auto& com1 = model_.Performance.Com1;
  return std::string(com1.begin() + kPerfNameFirst, com1.begin() + kPerfNameFirst + kPerfNameLength);
}

void Session::ChoosePerformanceKind(bool user) {
  state_.Choice.user = user;
  state_.Choice.program = -1;
}

void Session::ChoosePerformanceBank(bool bank2) {
  state_.Choice.bank2 = bank2;
  if (!state_.Choice.user) state_.Choice.program = -1;
}

void Session::SelectPerformance(bool user, bool bank2, int program) {
  if (program < 0 || program > 127) program = 0;
  state_.Choice = {user, bank2, program};
  // Bank select LSB: 40 preset bank 1, 41 user bank 1, 42 preset bank 2, 43 user bank 2.
  const Byte lsb = static_cast<Byte>(0x40 + (user ? 1 : 0) + (bank2 ? 2 : 0));
  SendPerfMidiChannelZero();
  link_.SendSysEx(PerfSelect(lsb, static_cast<Byte>(program)));
  RtrvPerformance();
  PerformanceSelected();
}

void Session::RtrvPerformance() {
  SendPerfMidiChannelZero();
  view_.ClearTrace();
  for (PerfBlock block : kRetrievalOrder) link_.RtrvDump(DumpRequest::ForPerformance(block));
  TakeLayerSwitches();
  ShowPerformance(PerformanceName());
  PutPerfChannelInCom0();
  SendPerfMidiChannel();
}

// Only what came from the instrument is taken: a block never filled in the
// record leaves the performance's own block (field and spare byte) as it
// is, unsent, and a record with none filled changes nothing.
void Session::PutPerformance(const PerformanceRecord& record) {
  if (NeverFilled(record)) return;
  const PerformanceRecord own = model_.Performance;
  model_.Performance = record;
  for (const PerformanceBlock& row : kPerformanceBlocks)
    if (NeverFilled(BlockField(record, row.id)))
      std::copy_n(BlockField(own, row.id), row.length + 1, BlockField(model_.Performance, row.id));
  if (!NeverFilled(BlockField(record, PerfBlock::kCom0))) PutPerfChannelInCom0();
  for (const PerformanceBlock& row : kPerformanceBlocks)
    if (!NeverFilled(BlockField(record, row.id))) link_.SendPerformanceBlock(model_.Performance, row.id);
  TakeLayerSwitches();
  ShowPerformance(PerformanceName());
  EndEffectsBypass();
}

void Session::TakeLayerSwitches() {
  for (int layer = 1; layer <= 4; ++layer)
    model_.LyrSw[static_cast<std::size_t>(layer)] = model_.Performance.Layer(layer)[kLayerSwitchByte];
}

void Session::ShowPerformance(const std::string& name) {
  static const char kLetters[] = "ABCD";
  state_.PerformanceCaption = name;
  for (int layer = 1; layer <= 4; ++layer) {
    LayerBox& box = state_.Layer(layer);
    box.enabled = model_.LyrSw[static_cast<std::size_t>(layer)] == 1;
    box.text = box.enabled ? name + kLetters[layer - 1] : std::string(9, ' ');
  }
  view_.PerformanceShown();
}

}  // namespace qv
