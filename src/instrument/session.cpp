#include "instrument/session.h"

#include <algorithm>

#include "instrument/default_multi.h"
#include "instrument/messages.h"

namespace qv {

Session::Session(DataModel& model, MidiLink& link, SessionView& view) : model_(model), link_(link), view_(view) {}

void Session::SendPerfMidiChannelZero() { link_.SendSysEx(CsParmChange(0x50, 0x00, 0x00, 0x00)); }

void Session::SendPerfMidiChannel() {
  link_.SendSysEx(CsParmChange(0x50, 0x00, 0x00, static_cast<Byte>(view_.PerformanceChannel() & 0x0F)));
}

// The channel goes into Com0's data byte 0, the instrument's own performance
// channel parameter (50 00 00), so a resent Com0 sets the same channel.
void Session::PutPerfChannelInCom0() {
  model_.Performance.Com0[kPerfChannelByte] = static_cast<Byte>(view_.PerformanceChannel() & 0x0F);
}

void Session::ChngPrfMidiChan() {
  PutPerfChannelInCom0();
  SendPerfMidiChannel();
}

std::string Session::PerformanceName() const {
  const auto& com1 = model_.Performance.Com1;
  return std::string(com1.begin() + kPerfNameFirst, com1.begin() + kPerfNameFirst + kPerfNameLength);
}

void Session::RtrvPerformance() {
  SendPerfMidiChannelZero();
  view_.ClearTrace();
  for (int kind : {0, 1, 2, 3, 4, 5, 6, 8}) link_.RtrvDump(kind, 0, 0);
  for (int layer = 1; layer <= 4; ++layer) model_.LyrSw[layer] = model_.Performance.Layer(layer)[kLayerSwitchByte];
  view_.ShowPerformance(PerformanceName());
  PutPerfChannelInCom0();
  SendPerfMidiChannel();
}

void Session::InitMultiPart(int part) {
  if (part < 0 || part >= PartBlkStore::kParts) return;
  for (int b = 0; b < kMultiBlocks; ++b) {
    WriteDefaultBlock(b, static_cast<Byte>(part), static_cast<Byte>(part), model_.PartBlk.Block(b, part));
    link_.SendLongMsg({}, kSendPartBlock, part, b);
  }
  if (!IsMultiPart(part)) return;
  view_.SetPartChannelRow(part, part);
  view_.ShowPartIfEditing(part);
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

int Session::LowestFreePoolSlot() const {
  for (int s = 0; s < kPoolSlots; ++s)
    if (model_.PoolSlotFree[s] == kSlotFree) return s;
  return -1;
}

namespace {
bool IsPoolSlot(int slot) { return slot >= 0 && slot < kPoolSlots; }
}  // namespace

void Session::SavePoolSlot(int slot) {
  if (!IsPoolSlot(slot)) return;
  MultiBlocks& entry = model_.LayerPool.Entry.at(static_cast<std::size_t>(slot)).Blocks;
  for (int b = 0; b < kMultiBlocks; ++b)
    std::copy_n(model_.DefMultiSyx.Block(b), BlkLen(b), entry.Block(b));
}

void Session::LdMultToDef(int part) {
  if (!IsMultiPart(part)) return;
  for (int b = 0; b < kMultiBlocks; ++b)
    std::copy_n(model_.PartBlk.Block(b, part), BlkLen(b), model_.DefMultiSyx.Block(b));
}

void Session::SndPoolToMult(int part, int slot) {
  if (!IsMultiPart(part) || !IsPoolSlot(slot)) return;
  const int ch = view_.PartChannelRow(part);
  const MultiBlocks& entry = model_.LayerPool.Entry.at(static_cast<std::size_t>(slot)).Blocks;
  for (int b = 0; b < kMultiBlocks; ++b) {
    Byte* stored = model_.PartBlk.Block(b, part);
    std::copy_n(entry.Block(b), BlkLen(b), stored);
    stored[kPartNumberByte] = static_cast<Byte>(part);
    if (b == 0) stored[kReceiveChannelByte] = static_cast<Byte>(ch & 0x0F);
    link_.SendLongMsg({}, kSendPartBlock, part, b);
  }
}

}  // namespace qv
