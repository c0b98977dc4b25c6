#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "hex.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "session_rig.h"

namespace qv {
namespace {

using test::HexString;
using test::SessionRig;

std::vector<std::string> Requests(const std::vector<Bytes>& sent) {
  std::vector<std::string> out;
  for (const Bytes& m : sent)
    if (m.size() == 8 && m[0] == 0xF0 && m[2] == 0x20) out.push_back(HexString(m));
  return out;
}

bool ChecksumRight(const Bytes& m) {
  return m.size() > 6 && m.back() == 0xF7 && BulkChecksum(m.data(), m.size()) == m[m.size() - 2];
}

// --- Performance retrieval ---------------------------------------------------

TEST(RtrvPerformance, RequestsTheEightBlocksBetweenTheTwoChannelMessages) {
  SessionRig rig;
  rig.session.SetPerfChannel(9);  // row " 10"
  rig.instrument.SetPerformanceName("Warm Pad");
  rig.session.RtrvPerformance();

  const auto sent = rig.Sent();
  ASSERT_GE(sent.size(), 10u);
  EXPECT_EQ(HexString(sent.front()), "F0 43 10 63 50 00 00 00 F7");
  EXPECT_EQ(HexString(sent.back()), "F0 43 10 63 50 00 00 09 F7");
  EXPECT_EQ(Requests(sent), (std::vector<std::string>{
                                "F0 43 20 63 60 00 00 F7", "F0 43 20 63 60 00 40 F7", "F0 43 20 63 60 00 60 F7",
                                "F0 43 20 63 60 01 00 F7", "F0 43 20 63 60 02 00 F7", "F0 43 20 63 60 03 00 F7",
                                "F0 43 20 63 60 04 00 F7", "F0 43 20 63 50 00 00 F7"}));
  EXPECT_EQ(rig.view.calls.front(), "ClearTrace");
  EXPECT_EQ(rig.view.shownNames, (std::vector<std::string>{"Warm Pad"}));
  EXPECT_FALSE(rig.view.traceLines.empty());

  // Each block stored whole from F0, as the instrument sent it.
  const auto& perf = rig.model.Performance;
  const Bytes com1 = rig.instrument.BulkDump(kModelCs, 0x60, 0x00, 0x00);
  EXPECT_EQ(Bytes(perf.Com1.begin(), perf.Com1.begin() + 63), com1);
  const Bytes lyr3 = rig.instrument.BulkDump(kModelCs, 0x60, 0x03, 0x00);
  EXPECT_EQ(Bytes(perf.Lyr3.begin(), perf.Lyr3.begin() + 56), lyr3);
  EXPECT_EQ(perf.Lyr3[56], 0x00);  // the spare byte stays
  // The channel sits in Com0's first data byte; the message stays whole.
  EXPECT_EQ(perf.Com0[0], 0xF0);
  EXPECT_EQ(perf.Com0[9], 0x09);
  EXPECT_EQ(perf.Com0[36], 0xF7);
  EXPECT_EQ(rig.instrument.Param(kModelCs, 0x50, 0x00, 0x00), 0x09);
}

TEST(RtrvPerformance, OnlyASwitchOfOneCountsAsOn) {
  SessionRig rig;
  rig.instrument.SetLayerSwitch(1, 1);
  rig.instrument.SetLayerSwitch(2, 0);
  rig.instrument.SetLayerSwitch(3, 2);
  rig.instrument.SetLayerSwitch(4, 1);
  rig.session.RtrvPerformance();
  EXPECT_EQ(rig.model.LyrSw[1], 1);
  EXPECT_EQ(rig.model.LyrSw[2], 0);
  EXPECT_EQ(rig.model.LyrSw[3], 2);
  EXPECT_EQ(rig.model.LyrSw[4], 1);
  // The view is told the switches as stored: it shows the layers from them.
  ASSERT_EQ(rig.view.shownSwitches.size(), 1u);
  EXPECT_EQ(rig.view.shownSwitches[0], (std::array<int, 4>{1, 0, 2, 1}));
}

TEST(RtrvPerformance, SilentInstrumentKeepsWhatWasStoredAndStillSetsTheChannel) {
  SessionRig rig;
  rig.Silence();
  rig.session.SetPerfChannel(3);
  auto& perf = rig.model.Performance;
  const std::string old = "Old Name";
  std::copy(old.begin(), old.end(), perf.Com1.begin() + 9);
  perf.Lyr2[31] = 1;
  perf.Lyr4[31] = 7;
  perf.Com2[20] = 0x55;
  const PerformanceRecord before = perf;

  rig.session.RtrvPerformance();
  // Each of the eight blocks waits its whole bound, on the clock that does not sleep.
  EXPECT_EQ(rig.clock.virtualMs, 8 * kReplyWait.count());

  EXPECT_EQ(rig.view.shownNames, (std::vector<std::string>{old}));
  ASSERT_EQ(rig.view.shownSwitches.size(), 1u);
  EXPECT_EQ(rig.view.shownSwitches[0], (std::array<int, 4>{0, 1, 0, 7}));
  PerformanceRecord expected = before;
  expected.Com0[9] = 3;  // the channel is recorded all the same
  EXPECT_EQ(std::memcmp(&perf, &expected, sizeof perf), 0);

  const auto sent = rig.Sent();
  EXPECT_EQ(Requests(sent).size(), 8u);
  EXPECT_EQ(HexString(sent.front()), "F0 43 10 63 50 00 00 00 F7");
  EXPECT_EQ(HexString(sent.back()), "F0 43 10 63 50 00 00 03 F7");
  EXPECT_EQ(rig.clock.virtualMs, 8 * kReplyWait.count());
  EXPECT_TRUE(rig.prompts.shown.empty());
}

TEST(RtrvPerformance, NameOfAnEmptyCommonBlockIsEightZeroCharacters) {
  SessionRig rig;
  rig.Silence();
  EXPECT_EQ(rig.session.PerformanceName(), std::string(8, '\0'));
  rig.session.RtrvPerformance();
  ASSERT_EQ(rig.view.shownNames.size(), 1u);
  EXPECT_EQ(rig.view.shownNames[0], std::string(8, '\0'));
}

// --- Multi part retrieval ------------------------------------------------------

TEST(RtrvMultiPart, RequestsFiveBlocksAndStoresThemAtThePart) {
  SessionRig rig;
  rig.instrument.SetParam(kModelXg, 0x08, 0x06, 0x0B, 0x33);  // volume of M7
  rig.instrument.SetParam(kModelXg, 0x0A, 0x06, 0x20, 0x51);  // high-pass of M7
  rig.session.RtrvMultiPart(6);

  EXPECT_EQ(Requests(rig.Sent()),
            (std::vector<std::string>{"F0 43 20 4C 08 06 00 F7", "F0 43 20 4C 08 06 30 F7", "F0 43 20 4C 08 06 70 F7",
                                      "F0 43 20 4C 08 06 74 F7", "F0 43 20 4C 0A 06 20 F7"}));
  EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"ClearTrace"}));
  EXPECT_EQ(rig.model.PartBlk.At(20, 0, 6), 0x33);
  EXPECT_EQ(rig.model.PartBlk.At(9, 4, 6), 0x51);
  for (int b = 0; b < kMultiBlocks; ++b) {
    const Address a = MultiBlockAddress(b, 6);
    const Byte* stored = rig.model.PartBlk.Block(b, 6);
    EXPECT_EQ(Bytes(stored, stored + BlkLen(b)), rig.instrument.BulkDump(kModelXg, a.a1, a.a2, a.a3)) << b;
    // Neighbouring parts are not touched.
    EXPECT_EQ(rig.model.PartBlk.At(0, b, 5), 0);
    EXPECT_EQ(rig.model.PartBlk.At(0, b, 7), 0);
  }
}

TEST(RtrvAllMultis, RetrievesTheTwelvePartsInOrder) {
  SessionRig rig;
  rig.session.RtrvAllMultis();
  const auto requests = Requests(rig.Sent());
  ASSERT_EQ(requests.size(), 60u);
  for (int multi = 5, n = 0; multi <= 16; ++multi)
    for (int b = 0; b < kMultiBlocks; ++b, ++n) EXPECT_EQ(requests[n], HexString(RqstMulti(multi, b)));
  for (int part = 4; part <= 15; ++part) {
    EXPECT_EQ(rig.model.PartBlk.At(kPartNumberByte, 0, part), part);
    EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, part), part);
    EXPECT_EQ(rig.model.PartBlk.At(kPartNumberByte, 4, part), part);
  }
  EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"ClearTrace"}));
}

TEST(RtrvAllMultis, SilentInstrumentStillRunsAllSixtyTransactionsQuickly) {
  SessionRig rig;
  rig.Silence();
  rig.session.RtrvAllMultis();
  EXPECT_EQ(Requests(rig.Sent()).size(), 60u);
  EXPECT_EQ(rig.clock.virtualMs, 60 * kReplyWait.count());  // every wait on the clock that does not sleep
  for (int part = 4; part <= 15; ++part) EXPECT_EQ(rig.model.PartBlk.At(0, 0, part), 0);
  EXPECT_TRUE(rig.prompts.shown.empty());
}

// --- Layer Pool ------------------------------------------------------------------

TEST(SndPoolToMult, SendsTheEntryWithThePartsNumberAndChannel) {
  SessionRig rig;
  BuildDefaultMultiTemplate(rig.model);
  rig.model.DefMultiSyx.Blk0[20] = 0x21;  // something of the entry's own
  rig.session.SavePoolSlot(5);
  const MultiBlocks entry = rig.model.LayerPool.Entry[5].Blocks;
  rig.state.ChannelRow(8) = 3;

  rig.session.SndPoolToMult(8, 5);
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 5u);
  for (int b = 0; b < kMultiBlocks; ++b) {
    SCOPED_TRACE("block " + std::to_string(b));
    ASSERT_EQ(sent[b].size(), static_cast<std::size_t>(BlkLen(b)));
    EXPECT_EQ(sent[b][kPartNumberByte], 0x08);
    EXPECT_TRUE(ChecksumRight(sent[b]));
    const Byte* stored = rig.model.PartBlk.Block(b, 8);
    EXPECT_EQ(Bytes(stored, stored + BlkLen(b)), sent[b]);
  }
  EXPECT_EQ(sent[0][kReceiveChannelByte], 0x03);
  EXPECT_EQ(sent[0][20], 0x21);
  // The entry itself is not changed.
  EXPECT_EQ(std::memcmp(&rig.model.LayerPool.Entry[5].Blocks, &entry, sizeof entry), 0);
  // The instrument took it.
  EXPECT_EQ(rig.instrument.Param(kModelXg, 0x08, 0x08, 0x04), 0x03);
  EXPECT_EQ(rig.instrument.Param(kModelXg, 0x08, 0x08, 0x0B), 0x21);
}

TEST(SndPoolToMult, APartDraggedIntoThePoolArrivesAsTheOtherPart) {
  SessionRig rig;
  rig.model.PoolSlotFree.fill(kSlotFree);
  rig.session.InitMultiPart(4);
  rig.model.PartBlk.At(23, 0, 4) = 0x10;  // pan of M5
  rig.model.PartBlk.At(9, 2, 4) = 0x02;
  const int slot = rig.session.LowestFreePoolSlot();
  ASSERT_EQ(slot, 0);
  rig.session.LdMultToDef(4);
  rig.session.SavePoolSlot(slot);
  rig.model.PoolSlotFree[slot] = kSlotUsed;
  rig.state.ChannelRow(10) = 12;
  rig.backend.ClearRecords();

  rig.session.SndPoolToMult(10, slot);
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 5u);
  for (int b = 0; b < kMultiBlocks; ++b) {
    EXPECT_EQ(sent[b][kPartNumberByte], 0x0A);
    EXPECT_TRUE(ChecksumRight(sent[b]));
  }
  EXPECT_EQ(sent[0][kReceiveChannelByte], 12);
  EXPECT_EQ(sent[0][23], 0x10);
  EXPECT_EQ(sent[2][9], 0x02);
  // M5 keeps its own number and channel.
  EXPECT_EQ(rig.model.PartBlk.At(kPartNumberByte, 0, 4), 4);
  EXPECT_EQ(rig.model.PartBlk.At(kReceiveChannelByte, 0, 4), 4);
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 1);
}

TEST(LayerPool, LowestFreeSlotAndOutOfRangeSlotsAndParts) {
  SessionRig rig;
  auto& free = rig.model.PoolSlotFree;
  free.fill(kSlotFree);
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 0);
  free[0] = free[1] = free[2] = kSlotUsed;
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 3);
  free[1] = kSlotFree;
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), 1);
  for (int s = 0; s < kPoolSlots; ++s) free[s] = kSlotUsed;
  EXPECT_EQ(rig.session.LowestFreePoolSlot(), -1);  // element 128 never counts

  // Nothing is read, written or sent for slots and parts outside the pool
  // and the multis.
  BuildDefaultMultiTemplate(rig.model);
  const LayerPoolRecord pool = rig.model.LayerPool;
  rig.session.SavePoolSlot(128);
  rig.session.SavePoolSlot(-1);
  EXPECT_EQ(std::memcmp(&rig.model.LayerPool, &pool, sizeof pool), 0);
  rig.session.LdMultToDef(16);
  rig.session.LdMultToDef(-3);
  EXPECT_EQ(rig.model.DefMultiSyx.Blk0[kPartNumberByte], 0x10);
  rig.session.SndPoolToMult(3, 0);
  rig.session.SndPoolToMult(16, 0);
  rig.session.SndPoolToMult(8, 128);
  rig.session.SndPoolToMult(8, -1);
  EXPECT_TRUE(rig.Sent().empty());
}

// --- Voice, edit panels and exit ------------------------------------------------

TEST(SetVoice, StoresAndSendsOnlyAWholeVoiceOfAMultiPart) {
  SessionRig rig;
  rig.Silence();
  const auto voice = [&](int part) {
    const auto& b = rig.model.PartBlk;
    return std::array<int, 3>{b.At(10, 0, part), b.At(11, 0, part), b.At(12, 0, part)};
  };
  const auto before = voice(6);
  for (auto [part, msb, lsb, prg] : {std::array{3, 1, 2, 3}, {16, 1, 2, 3}, {6, 128, 0, 0}, {6, 0, -1, 0},
                                     {6, 0, 0, 200}})
    rig.session.SetVoice(part, msb, lsb, prg);
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_EQ(voice(6), before);

  rig.session.SetVoice(6, 0, 127, 5);
  EXPECT_EQ(voice(6), (std::array<int, 3>{0, 127, 5}));
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), 1u);  // one message of three parameter changes
  EXPECT_EQ(HexString(sent[0]), "F0 43 10 4C 08 06 01 00 F7 F0 43 10 4C 08 06 02 7F F7 F0 43 10 4C 08 06 03 05 F7");
}

TEST(EditPanels, OpenedThroughTheEditorOnlyForAMultiPart) {
  SessionRig rig;
  rig.Silence();
  rig.session.EditMult(3);
  rig.session.EditMult(16);
  rig.session.EditMult(9);
  rig.session.OpenEffectsPanel();
  EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"ShowMultiEditPanel 9", "ShowEffectsPanel"}));
  rig.session.SelectPerformance(false, false, 3);
  EXPECT_EQ(rig.view.calls.back(), "PerformanceSelected");
}

TEST(CloseDevices, ClosesOnlyWhatIsOpen) {
  SessionRig rig;
  rig.Silence();
  rig.session.CloseDevices();
  EXPECT_FALSE(rig.backend.outOpen || rig.backend.inOpen || rig.backend.thruConnected);
  rig.backend.ClearRecords();
  rig.session.CloseDevices();  // nothing left to stop or close: no box
  for (const std::string& call : rig.backend.Calls()) EXPECT_TRUE(call == "Disconnect") << call;
  EXPECT_TRUE(rig.prompts.shown.empty());
}

}  // namespace
}  // namespace qv
