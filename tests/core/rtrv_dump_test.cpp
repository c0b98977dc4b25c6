#include <algorithm>
#include <cstring>
#include <utility>

#include "hex.h"
#include "instrument/messages.h"
#include "link_fixture.h"

namespace qv::test {
namespace {

struct PerfKind {
  PerfBlock block;
  const char* label;
  Byte a1, a2, a3;
  std::size_t offset;  // field offset in PerformanceRecord
  int length;
  Bytes request;
};

const std::vector<PerfKind>& PerformanceKinds() {
  static const std::vector<PerfKind> kinds = {
      {PerfBlock::kCom1, "Com1", 0x60, 0x00, 0x00, offsetof(PerformanceRecord, Com1), 63, RqstCom1()},
      {PerfBlock::kCom2, "Com2", 0x60, 0x00, 0x40, offsetof(PerformanceRecord, Com2), 34, RqstCom2()},
      {PerfBlock::kCom3, "Com3", 0x60, 0x00, 0x60, offsetof(PerformanceRecord, Com3), 20, RqstCom3()},
      {PerfBlock::kLyr1, "Lyr1", 0x60, 0x01, 0x00, offsetof(PerformanceRecord, Lyr1), 56, RqstLyr(1)},
      {PerfBlock::kLyr2, "Lyr2", 0x60, 0x02, 0x00, offsetof(PerformanceRecord, Lyr2), 56, RqstLyr(2)},
      {PerfBlock::kLyr3, "Lyr3", 0x60, 0x03, 0x00, offsetof(PerformanceRecord, Lyr3), 56, RqstLyr(3)},
      {PerfBlock::kLyr4, "Lyr4", 0x60, 0x04, 0x00, offsetof(PerformanceRecord, Lyr4), 56, RqstLyr(4)},
      {PerfBlock::kCom0, "Com0", 0x50, 0x00, 0x00, offsetof(PerformanceRecord, Com0), 37, RqstCom0()},
  };
  return kinds;
}

const Byte* PerfBytes(const DataModel& m) { return reinterpret_cast<const Byte*>(&m.Performance); }

// Everything a transaction may write: the performance and the multi parts.
Bytes Snapshot(const DataModel& m) {
  Bytes all(PerfBytes(m), PerfBytes(m) + sizeof(PerformanceRecord));
  for (int p = 0; p < PartBlkStore::kParts; ++p)
    for (int b = 0; b < PartBlkStore::kBlocks; ++b)
      all.insert(all.end(), m.PartBlk.Block(b, p), m.PartBlk.Block(b, p) + PartBlkStore::kBytes);
  return all;
}

class RtrvDumpTest : public LinkTest {
 protected:
  void SetUp() override {
    // Sentinels show exactly which bytes a transaction wrote.
    std::memset(static_cast<void*>(&model.Performance), 0x55, sizeof(PerformanceRecord));
    for (int p = 4; p <= 15; ++p)
      for (int b = 0; b < 5; ++b) std::memset(model.PartBlk.Block(b, p), 0x55, PartBlkStore::kBytes);
    Instrument();
    RunningThru();
  }
};

TEST_F(RtrvDumpTest, EveryPerformanceKindStoresItsReplyInItsField) {
  for (const PerfKind& k : PerformanceKinds()) {
    SCOPED_TRACE(k.label);
    instrument->ClearReceived();
    trace.lines.clear();
    link.RtrvDump(DumpRequest::ForPerformance(k.block));

    EXPECT_EQ(instrument->Received(), std::vector<Bytes>{k.request});
    const Bytes reply = instrument->BulkDump(kModelCs, k.a1, k.a2, k.a3);
    ASSERT_EQ(static_cast<int>(reply.size()), k.length);
    const Byte* field = PerfBytes(model) + k.offset;
    EXPECT_EQ(Bytes(field, field + k.length), reply);
    EXPECT_EQ(field[k.length], 0x55) << "the byte behind the message is not part of it";
    ASSERT_EQ(static_cast<int>(trace.lines.size()), k.length);
    EXPECT_EQ(trace.lines[0], std::string("Sys Ex  ") + k.label + "  FFF7   0    240  F0");
  }
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(RtrvDumpTest, MultiFiveBlockZeroRequestsAndStoresAtPartIndexFour) {
  const Bytes before = Snapshot(model);
  link.RtrvDump(DumpRequest::ForMultiPart(4, 0));
  EXPECT_EQ(HexString(instrument->Received().at(0)), "F0 43 20 4C 08 04 00 F7");
  const Bytes reply = instrument->BulkDump(kModelXg, 0x08, 0x04, 0x00);
  ASSERT_EQ(reply.size(), 52u);
  const Byte* stored = model.PartBlk.Block(0, 4);
  EXPECT_EQ(Bytes(stored, stored + 52), reply);
  EXPECT_EQ(stored[52], 0x55);
  // Nothing else changed: 52 bytes differ at most.
  const Bytes after = Snapshot(model);
  int changed = 0;
  for (std::size_t i = 0; i < after.size(); ++i) changed += before[i] != after[i];
  EXPECT_LE(changed, 52);
  ASSERT_EQ(trace.lines.size(), 52u);
  EXPECT_EQ(trace.lines[0], "Sys Ex  Mlt 5 0  FFF7   0    240  F0");
}

TEST_F(RtrvDumpTest, EveryBlockOfTheLastMultiPart) {
  for (int b = 0; b < 5; ++b) {
    link.RtrvDump(DumpRequest::ForMultiPart(15, b));
    const Address a = MultiBlockAddress(b, 15);
    const Bytes reply = instrument->BulkDump(kModelXg, a.a1, a.a2, a.a3);
    ASSERT_EQ(static_cast<int>(reply.size()), BlkLen(b));
    const Byte* stored = model.PartBlk.Block(b, 15);
    EXPECT_EQ(Bytes(stored, stored + BlkLen(b)), reply) << "block " << b;
    EXPECT_EQ(stored[BlkLen(b)], 0x55);
  }
  EXPECT_EQ(trace.lines.back(), "Sys Ex  Mlt 16 4  3   12    247  F7");
}

TEST_F(RtrvDumpTest, TraceLinesToTheCharacter) {
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  ASSERT_EQ(trace.lines.size(), 63u);
  // The instrument's performance is named "B40P000 ": 'B' is the first data byte.
  EXPECT_EQ(trace.lines[0], "Sys Ex  Com1  FFF7   0    240  F0");
  EXPECT_EQ(trace.lines[1], "Sys Ex  Com1  FFF8   1    67  43");
  EXPECT_EQ(trace.lines[3], "Sys Ex  Com1  FFFA   3    99  63");
  EXPECT_EQ(trace.lines[8], "Sys Ex  Com1  FFFF   8    0  0");
  EXPECT_EQ(trace.lines[9], "Sys Ex  Com1  0   9    66  42");
  EXPECT_EQ(trace.lines[10], "Sys Ex  Com1  1   10    52  34");
  EXPECT_EQ(trace.lines[62], "Sys Ex  Com1  35   62    247  F7");
}

TEST_F(RtrvDumpTest, SilentInstrumentStoresNothingShowsNothingAndGivesUpAfterTwoSeconds) {
  instrument->silent = true;
  const Bytes before = Snapshot(model);
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  EXPECT_EQ(clock.virtualMs, 2000);
  link.RtrvDump(DumpRequest::ForMultiPart(6, 1));
  EXPECT_EQ(clock.virtualMs, 4000);
  EXPECT_EQ(Snapshot(model), before);
  EXPECT_TRUE(prompts.Messages().empty());
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_EQ(instrument->Received().size(), 2u);  // the requests went out all the same
}

// A sound server that hangs as the request leaves: no reply will come, and
// the wait ends as a send to that server would, with its box.
TEST_F(RtrvDumpTest, AMidiSystemThatStopsRunningEndsTheWaitWithTheBoxOfASendThatTimedOut) {
  instrument->silent = true;
  fake.onSend = [&](const Bytes&) { fake.stalled = true; };
  const Bytes before = Snapshot(model);
  link.RtrvDump(DumpRequest::ForMultiPart(4, 0));
  EXPECT_LT(clock.virtualMs, kReplyWait.count());
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("MidiOutLongMsg ", kMidiSendTimedOut)});
  EXPECT_EQ(Snapshot(model), before);
  EXPECT_TRUE(fake.thruConnected && fake.inStarted);  // the transaction still ends as usual
}

TEST_F(RtrvDumpTest, ADeviceFoundGoneDuringTheWaitStoresNothing) {
  instrument->silent = true;
  fake.onSend = [&](const Bytes&) { fake.Lose(false, false, true); };
  const Bytes before = Snapshot(model);
  link.RtrvDump(DumpRequest::ForMultiPart(4, 0));
  EXPECT_EQ(clock.virtualMs, 0);
  EXPECT_EQ(Snapshot(model), before);
}

TEST_F(RtrvDumpTest, ForeignSysExBeforeTheReplyIsIgnored) {
  instrument->foreignBeforeReply = true;
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom2));
  const Bytes reply = instrument->BulkDump(kModelCs, 0x60, 0x00, 0x40);
  EXPECT_EQ(Bytes(model.Performance.Com2.begin(), model.Performance.Com2.begin() + 34), reply);
  ASSERT_EQ(trace.lines.size(), 34u);  // the trace lists the reply, not the foreign message
  EXPECT_EQ(trace.lines[3], "Sys Ex  Com2  FFFA   3    99  63");
  EXPECT_EQ(clock.virtualMs, 0);
}

TEST_F(RtrvDumpTest, ShortOrCorruptRepliesAreNotStoredAndTheWaitRunsOut) {
  const Bytes before = Snapshot(model);
  instrument->shortReplies = true;
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kLyr1));
  instrument->shortReplies = false;
  instrument->corruptChecksum = true;
  link.RtrvDump(DumpRequest::ForMultiPart(4, 1));
  EXPECT_EQ(Snapshot(model), before);
  EXPECT_EQ(clock.virtualMs, 4000);
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(RtrvDumpTest, ReplyOfAnotherBlockDoesNotEndTheWait) {
  // A correct dump, but of multi 6 while multi 5 was asked for.
  const Bytes other = instrument->BulkDump(kModelXg, 0x08, 0x05, 0x00);
  instrument->silent = true;
  fake.onSend = [&](const Bytes&) { fake.Deliver(other); };
  const Bytes before = Snapshot(model);
  link.RtrvDump(DumpRequest::ForMultiPart(4, 0));
  EXPECT_EQ(Snapshot(model), before);
  EXPECT_EQ(clock.virtualMs, 2000);
}

TEST_F(RtrvDumpTest, ParameterRequestTakesTheFirstSysExForTheTraceOnly) {
  instrument->foreignBeforeReply = true;
  const Bytes before = Snapshot(model);
  // The developer's request may be anything; this one is answered.
  link.RtrvDump(DumpRequest::ForParameter(RqstCom1()));
  EXPECT_EQ(instrument->Received().back(), RqstCom1());
  EXPECT_EQ(Snapshot(model), before);
  ASSERT_EQ(trace.lines.size(), 6u);  // F0 7E 7F 06 01 F7
  EXPECT_EQ(trace.lines[0], "Sys Ex  Parm retrieve  FFF7   0    240  F0");
  EXPECT_EQ(trace.lines[1], "Sys Ex  Parm retrieve  FFF8   1    126  7E");
  EXPECT_EQ(trace.lines[5], "Sys Ex  Parm retrieve  FFFC   5    247  F7");
}

TEST_F(RtrvDumpTest, ParameterRequestWithoutAnswerOrRequest) {
  link.RtrvDump(DumpRequest::ForParameter(XgParmRequest(0x08, 0x04, 0x0B)));  // not answered
  EXPECT_EQ(HexString(instrument->Received().back()), "F0 43 30 4C 08 04 0B F7");
  EXPECT_TRUE(trace.lines.empty());
  instrument->ClearReceived();
  link.RtrvDump(DumpRequest::ForParameter());  // nothing to send
  EXPECT_TRUE(instrument->Received().empty());
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(RtrvDumpTest, MultiOutsideTheStoreIsRefusedWithoutSending) {
  const Bytes before = Snapshot(model);
  link.RtrvDump(DumpRequest::ForMultiPart(3, 0));
  link.RtrvDump(DumpRequest::ForMultiPart(16, 0));
  link.RtrvDump(DumpRequest::ForMultiPart(4, 5));
  link.RtrvDump(DumpRequest::ForMultiPart(4, -1));
  EXPECT_TRUE(instrument->Received().empty());
  EXPECT_EQ(Snapshot(model), before);
}

TEST_F(RtrvDumpTest, ThruIsOffDuringTheTransactionAndBackAfterwards) {
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom3));
  EXPECT_TRUE(fake.ThruForwarded().empty()) << "the reply must not be passed on";
  EXPECT_TRUE(fake.thruConnected);
  EXPECT_TRUE(fake.inStarted);
  const auto calls = fake.Calls();
  const std::vector<std::string> expected = {"InPrepareHeader", "InAddBuffer", "Disconnect", "InStop", "InStart",
                                             "OutPrepareHeader", "OutLongMsg", "OutUnprepareHeader", "InStop",
                                             "InReset", "InUnprepareHeader", "Connect", "InStart"};
  EXPECT_EQ(calls, expected);

  // Thru runs again: a message now arriving is passed on.
  fake.Deliver({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
  EXPECT_EQ(fake.ThruForwarded().size(), 1u);
}

TEST_F(RtrvDumpTest, WhileBusyThruAndInputStayOff) {
  model.Busy = true;
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom3));
  EXPECT_EQ(model.Performance.Com3[0], 0xF0);
  EXPECT_FALSE(fake.thruConnected);
  EXPECT_FALSE(fake.inStarted);
  const auto calls = fake.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Connect"), 0);
}

TEST_F(RtrvDumpTest, FailedBufferPreparationEndsBeforeAnythingIsSent) {
  fake.Fail("InPrepareHeader", kMidiNoMemory, 1);
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("InPrepHdr", kMidiNoMemory)});
  EXPECT_TRUE(instrument->Received().empty());
  EXPECT_TRUE(fake.thruConnected);
  EXPECT_EQ(fake.Calls(), std::vector<std::string>{"InPrepareHeader"});
  EXPECT_EQ(model.Performance.Com1[0], 0x55);
}

TEST_F(RtrvDumpTest, FailedAddBufferEndsBeforeAnythingIsSent) {
  fake.Fail("InAddBuffer", kMidiInvalidHandle, 1);
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("InAddBuff", kMidiInvalidHandle)});
  EXPECT_TRUE(instrument->Received().empty());
  EXPECT_TRUE(fake.thruConnected);
  const auto calls = fake.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Disconnect"), 0);
  EXPECT_EQ(model.Performance.Com1[0], 0x55);
}

TEST_F(RtrvDumpTest, FailedReleaseStoresAndListsNothingAndLeavesThruOff) {
  fake.Fail("InUnprepareHeader", kMidiStillPlaying, 1);
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  EXPECT_EQ(instrument->Received(), std::vector<Bytes>{RqstCom1()});
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("InUnPrepHdr", kMidiStillPlaying)});
  EXPECT_EQ(model.Performance.Com1[0], 0x55);
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_FALSE(fake.thruConnected);
  EXPECT_FALSE(fake.inStarted);
}

TEST_F(RtrvDumpTest, FailedReconnectShowsItsBoxAndLeavesInputStopped) {
  fake.Fail("Connect", kMidiAllocated, 1);
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom3));
  EXPECT_EQ(model.Performance.Com3[0], 0xF0);
  EXPECT_EQ(prompts.Messages(), std::vector<std::string>{Box("Connect", kMidiAllocated)});
  EXPECT_FALSE(fake.inStarted);
}

// A backend that lets a message arrive while input is being started.
class EarlyArrivalBackend : public FakeMidiBackend {
 public:
  Bytes arriving;
  int InStart() override {
    const int rc = FakeMidiBackend::InStart();
    if (!arriving.empty()) Deliver(std::exchange(arriving, {}));
    return rc;
  }
};

TEST(RtrvDumpArrival, ReplyArrivingAsInputStartsEndsTheWait) {
  // The block's dump arrives before the request leaves (the instrument's
  // late answer to an earlier request of the same block). It is taken, and
  // the wait must see it: nothing else comes.
  EarlyArrivalBackend fake;
  ScriptedPrompts prompts;
  FastClock clock;
  RecordingTrace trace;
  DataModel model;
  MidiLink link(fake, prompts, clock, model, trace);
  ASSERT_EQ(link.OpenOutput(), kMidiOk);
  ASSERT_EQ(link.OpenInput(), kMidiOk);
  Bytes dump = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x09, 0x60, 0x00, 0x60};
  for (Byte d = 1; d <= 9; ++d) dump.push_back(d);
  dump.push_back(0);
  dump.push_back(0xF7);
  StoreBulkChecksum(dump.data(), dump.size());
  fake.arriving = dump;

  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom3));
  EXPECT_EQ(Bytes(model.Performance.Com3.begin(), model.Performance.Com3.begin() + 20), dump);
  EXPECT_EQ(trace.lines.size(), 20u);
  EXPECT_EQ(clock.virtualMs, 0);
}

}  // namespace
}  // namespace qv::test
