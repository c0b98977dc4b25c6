// The editor core's start-up work against the emulated CS2x, without a window.

#include <gtest/gtest.h>

#include <chrono>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "files/editor_core.h"
#include "hex.h"
#include "instrument/messages.h"
#include "recording_session_view.h"
#include "scripted_prompts.h"

namespace qv::test {
namespace {

// An editor core with the emulated instrument on its far side; the devices
// are opened by the start-up work itself.
struct CoreRig {
  FakeMidiBackend backend;
  Cs2xEmulator instrument{backend};
  ScriptedPrompts prompts;
  FastClock clock;
  RecordingSessionView view;
  EditorCore core{backend, prompts, clock, view};

  CoreRig() {
    clock.realWait = std::chrono::milliseconds(2000);
    view.state = &core.State();
  }
  std::vector<std::string> Sent() {
    instrument.WaitIdle();
    std::vector<std::string> out;
    for (const Bytes& m : backend.Sent()) out.push_back(HexString(m));
    return out;
  }
};

std::vector<std::string> PerformanceRetrieval(int channel) {
  std::vector<std::string> seq = {"F0 43 10 63 50 00 00 00 F7"};
  for (const Bytes& r : {RqstCom1(), RqstCom2(), RqstCom3(), RqstLyr(1), RqstLyr(2), RqstLyr(3), RqstLyr(4),
                         RqstCom0()})
    seq.push_back(HexString(r));
  seq.push_back(HexString(CsParmChange(0x50, 0, 0, static_cast<Byte>(channel))));
  return seq;
}

// All parts initialised, no workspace: the channel 1 message, the selection
// of preset bank 1 program 0, the performance twice, the sixty default
// blocks, and last the preferences' channel.
TEST(StartupWork, AllPartsInitialisedSendsTheMessagesInOrder) {
  CoreRig rig;
  PreferencesRecord prefs;
  prefs.PerfChannel = 2;
  rig.core.SetPreferences(prefs);
  EXPECT_TRUE(rig.core.StartupWork());

  std::vector<std::string> expected = {"F0 43 10 63 50 00 00 00 F7", "B0 00 3F B0 20 40 C0 00"};
  for (int i = 0; i < 2; ++i)
    for (const std::string& m : PerformanceRetrieval(2)) expected.push_back(m);
  const auto sent = rig.Sent();
  ASSERT_EQ(sent.size(), expected.size() + 60 + 1);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(sent[i], expected[i]);
  // Twelve default parts, five blocks each, in part and block order.
  const int lengths[5] = {52, 74, 15, 23, 13};
  const auto raw = rig.backend.Sent();
  for (int part = 4; part <= 15; ++part)
    for (int b = 0; b < 5; ++b) {
      const Bytes& m = raw[expected.size() + static_cast<std::size_t>((part - 4) * 5 + b)];
      EXPECT_EQ(static_cast<int>(m.size()), lengths[b]);
      EXPECT_EQ(static_cast<int>(m[7]), part);
      EXPECT_EQ(BulkChecksum(m.data(), m.size()), m[m.size() - 2]);
    }
  EXPECT_EQ(sent.back(), "F0 43 10 63 50 00 00 02 F7");

  const EditorState& state = rig.core.State();
  EXPECT_FALSE(state.Model.Busy);
  EXPECT_TRUE(rig.prompts.shown.empty());
  EXPECT_TRUE(rig.backend.thruConnected);
  EXPECT_TRUE(rig.backend.inStarted);
  EXPECT_EQ(state.Model.Performance.Com0[9], Byte{2});
  for (int part = 4; part <= 15; ++part) EXPECT_EQ(state.ChannelRow(part), part);
}

// Without an output device nothing is selected, retrieved or sent; Busy is
// clear again and the parts keep their start-up captions and rows.
TEST(StartupWork, NoOutputDeviceSendsNothing) {
  CoreRig rig;
  rig.backend.outputNames.clear();
  EXPECT_FALSE(rig.core.StartupWork());
  EXPECT_TRUE(rig.backend.Sent().empty());
  EXPECT_FALSE(rig.core.State().Model.Busy);
  EXPECT_EQ(rig.prompts.Messages().size(), std::size_t{1});
  EXPECT_EQ(rig.core.State().Caption(4), "Multi Part M5");
  EXPECT_EQ(rig.core.State().ChannelRow(15), 8);
}

// A channel chosen after start-up is kept, recorded in Com0 and sent; a
// record handed over at OK sends nothing.
TEST(StartupWork, PreferencesChannelAppliesAtOnceAndARecordSendsNothing) {
  CoreRig rig;
  rig.core.StartupWork();
  rig.backend.ClearRecords();
  PreferencesRecord prefs;
  prefs.PerfChannel = 7;
  rig.core.SetPreferences(prefs);
  EXPECT_TRUE(rig.Sent().empty());
  rig.core.ChangePerformanceChannel(4);
  EXPECT_EQ(rig.Sent(), std::vector<std::string>{"F0 43 10 63 50 00 00 04 F7"});
  EXPECT_EQ(rig.core.State().Model.Performance.Com0[9], Byte{4});
  EXPECT_EQ(rig.core.Preferences().PerfChannel, 4);
}

}  // namespace
}  // namespace qv::test
