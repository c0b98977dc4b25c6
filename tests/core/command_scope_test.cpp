// Within one user command the link shows each failure box once; a request
// that could not leave is not waited for; a stored block that is no message
// never leaves; a device whose capabilities fail ends its list with a box.

#include <algorithm>

#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "link_fixture.h"

namespace qv::test {
namespace {

using Texts = std::vector<std::string>;

class CommandScopeTest : public LinkTest {
 protected:
  void OutputClosed() {
    ASSERT_EQ(link.CloseOutput(), kMidiOk);
    fake.ClearRecords();
  }
};

TEST_F(CommandScopeTest, RepeatsWithinACommandAreSilentAndEachCommandStartsAfresh) {
  OutputClosed();
  const std::string prepare = Box("Out Prepare ", kMidiInvalidHandle);
  {
    MidiLink::CommandScope command(link);
    EXPECT_TRUE(link.InCommand());
    for (int i = 0; i < 5; ++i) link.SendSysEx(RqstCom0());
    link.ShowMidiOutError("Out Prepare ", kMidiNoMemory);  // another code
    link.ShowMidiOutError("Close", kMidiInvalidHandle);    // other words
    link.ShowMidiInError("Close", kMidiInvalidHandle);     // the input's box of the same words
    link.ShowMidiInError("Close", kMidiInvalidHandle);
  }
  EXPECT_FALSE(link.InCommand());
  EXPECT_EQ(prompts.Messages(), Texts({prepare, Box("Out Prepare ", kMidiNoMemory), Box("Close", kMidiInvalidHandle),
                                       Box("Close", kMidiInvalidHandle)}));

  prompts.Clear();
  {
    MidiLink::CommandScope next(link);
    link.SendSysEx(RqstCom0());
    link.SendSysEx(RqstCom0());
  }
  EXPECT_EQ(prompts.Messages(), Texts({prepare}));

  prompts.Clear();  // outside any command every box shows, as always
  link.SendSysEx(RqstCom0());
  link.SendSysEx(RqstCom0());
  EXPECT_EQ(prompts.Messages(), Texts({prepare, prepare}));
}

TEST_F(CommandScopeTest, NestedScopesBelongToTheOutermostCommand) {
  OutputClosed();
  {
    MidiLink::CommandScope command(link);
    {
      MidiLink::CommandScope inner(link);
      link.SendSysEx(RqstCom0());
    }
    EXPECT_TRUE(link.InCommand());
    link.SendSysEx(RqstCom0());  // still the same command: silent
    {
      MidiLink::CommandScope inner(link);
      link.SendSysEx(RqstCom0());
    }
  }
  EXPECT_EQ(prompts.Messages().size(), 1u);
}

TEST_F(CommandScopeTest, RequestThatCouldNotLeaveIsNotWaitedFor) {
  Instrument();
  RunningThru();
  fake.Fail("OutLongMsg", kMidiNotReady, 1);
  const Byte before = model.Performance.Com1[0];
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  EXPECT_EQ(clock.virtualMs, 0);
  EXPECT_EQ(model.Performance.Com1[0], before);
  EXPECT_EQ(prompts.Messages(), Texts({Box("MidiOutLongMsg ", kMidiNotReady)}));
  EXPECT_TRUE(fake.thruConnected && fake.inStarted);  // the transaction still ends as usual

  // A request that left but whose release failed is answered as usual.
  prompts.Clear();
  fake.Fail("OutUnprepareHeader", kMidiInvalidParam, 1);
  link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
  EXPECT_EQ(model.Performance.Com1[0], 0xF0);
  EXPECT_TRUE(prompts.Messages().empty());
}

TEST_F(CommandScopeTest, RetrievalOfEveryPartWithTheOutputClosedShowsOneBoxAndNeverWaits) {
  OutputClosed();
  {
    MidiLink::CommandScope command(link);
    for (int part = 4; part <= 15; ++part)
      for (int b = 0; b < 5; ++b) link.RtrvDump(DumpRequest::ForMultiPart(part, b));
  }
  // Thru goes to the output, so its reconnection fails as well: once.
  EXPECT_EQ(prompts.Messages(),
            Texts({Box("Out Prepare ", kMidiInvalidHandle), Box("Connect", kMidiInvalidHandle)}));
  EXPECT_EQ(clock.virtualMs, 0);
  const Texts calls = fake.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), std::string("InPrepareHeader")), 60);
}

TEST_F(CommandScopeTest, StoredBlocksThatAreNoMessageNeverLeave) {
  // A part never filled is all zero; the performance likewise.
  for (int b = 0; b < 5; ++b) link.SendPartBlock(6, b);
  link.SendPerformanceBlock(model.Performance, PerfBlock::kCom2);
  // A block whose end was lost is no message either.
  Byte* stored = model.PartBlk.Block(0, 7);
  WriteDefaultBlock(0, 7, 7, stored);
  stored[51] = 0x00;
  const Bytes kept(stored, stored + 52);
  link.SendPartBlock(7, 0);
  EXPECT_EQ(Bytes(stored, stored + 52), kept);  // not even its checksum is touched
  EXPECT_TRUE(fake.Sent().empty());
  EXPECT_TRUE(fake.Calls().empty());
  EXPECT_TRUE(prompts.Messages().empty());

  stored[51] = 0xF7;  // whole again: it leaves
  link.SendPartBlock(7, 0);
  ASSERT_EQ(fake.Sent().size(), 1u);
  EXPECT_EQ(fake.Sent()[0].size(), 52u);
}

// Lists its devices until the device `failAt`, whose capabilities fail.
class CapsFailBackend : public FakeMidiBackend {
 public:
  int failOutAt = -1, failInAt = -1, code = 6;
  int OutGetDevCaps(int device, std::string& name) override {
    return device == failOutAt ? code : FakeMidiBackend::OutGetDevCaps(device, name);
  }
  int InGetDevCaps(int device, std::string& name) override {
    return device == failInAt ? code : FakeMidiBackend::InGetDevCaps(device, name);
  }
};

TEST(DeviceLists, CapsFailureShowsTheCodeAndStopsListing) {
  CapsFailBackend backend;
  ScriptedPrompts prompts;
  backend.inputNames = {"In A", "In B"};
  backend.outputNames = {"Out A", "Out B", "Out C"};
  backend.failOutAt = 1;
  backend.failInAt = 0;
  const MidiDeviceNames devices = ListMidiDevices(backend, prompts);
  EXPECT_EQ(prompts.Messages(), Texts({"midiInGetDevCaps Error: 6", "midiOutGetDevCaps Error: 6"}));
  EXPECT_EQ(devices.outputs, Texts({"Out A"}));  // the devices before the failing one
  EXPECT_TRUE(devices.inputs.empty());
}

}  // namespace
}  // namespace qv::test
