// The MIDI link on the RtMidi backend over real JACK ports, with the
// emulated CS2x and a keyboard as clients of the same server.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "jack_ports.h"
#include "link/midi_link.h"
#include "link/rtmidi_backend.h"
#include "scripted_prompts.h"

namespace qv::test {
namespace {

using namespace std::chrono_literals;

class NoTrace : public TraceSink {
 public:
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override {}
};

#define REQUIRE_JACK()                                   \
  do {                                                   \
    std::string reason;                                  \
    if (!JackAvailable(reason)) {                        \
      if (SkipMustFail()) FAIL() << reason;              \
      GTEST_SKIP() << reason;                            \
    }                                                    \
  } while (false)

// Runs a scenario over real ports. A failing run in which the server had an
// xrun does not count (a late client loses that period's MIDI events): the
// scenario runs again, three times at most.
void RunOverJack(const std::function<void()>& scenario) {
  for (int run = 1;; ++run) {
    testing::TestPartResultArray results;
    int xruns = 0;
    {
      JackXrunWatch watch;
      testing::ScopedFakeTestPartResultReporter reporter(
          testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
      scenario();
      xruns = watch.Count();
    }
    bool failed = false;
    for (int i = 0; i < results.size(); ++i) failed |= results.GetTestPartResult(i).failed();
    if (failed && xruns > 0 && run < 3) {
      std::printf("the JACK server had %d xruns: the scenario runs again\n", xruns);
      continue;
    }
    if (failed && xruns > 0) ADD_FAILURE() << "the JACK server had xruns in each of three runs";
    for (int i = 0; i < results.size(); ++i) {
      const testing::TestPartResult& r = results.GetTestPartResult(i);
      if (r.failed()) ADD_FAILURE_AT(r.file_name() ? r.file_name() : __FILE__, r.line_number()) << r.message();
    }
    return;
  }
}

bool IsNote(const Bytes& m) { return m.size() == 3 && (m[0] & 0xE0) == 0x80; }
bool IsRequest(const Bytes& m) { return m.size() >= 4 && m[0] == 0xF0 && m[1] == 0x43 && (m[2] & 0xF0) == 0x20; }

// The program's link on JACK, its output and input on the emulator's ports,
// thru connected and input started; a keyboard plays into its input too.
struct JackRig {
  std::string client = UniqueClientName("Quorvane");
  JackCs2x cs2x{UniqueClientName("CS2x")};
  RtMidiBackend backend{MidiApi::Jack, client};
  ScriptedPrompts prompts;
  DataModel model;
  NoTrace trace;
  std::unique_ptr<MidiLink> link = std::make_unique<MidiLink>(backend, prompts, SystemClock(), model, trace);
  std::unique_ptr<JackKeyboard> keyboard;

  // Reports what failed.
  bool Open() {
    if (!cs2x.Ready()) return Failed("the emulated CS2x has no ports");
    link->MidiOutDev = OutputDevice(backend, cs2x.InPort());
    link->MidiInDev = InputDevice(backend, cs2x.OutPort());
    if (link->MidiOutDev < 0 || link->MidiInDev < 0) return Failed("the program does not list " + cs2x.InPort());
    if (link->OpenOutput() || link->OpenInput() || link->ConnectThru() || link->StartInput())
      return Failed("opening failed");
    keyboard = std::make_unique<JackKeyboard>(UniqueClientName("Keyboard"),
                                              FindInputPort(client, RtMidiBackend::kInPortName));
    return keyboard->Ready() || Failed("the keyboard has no port");
  }
  static bool Failed(const std::string& what) {
    ADD_FAILURE() << what;
    return false;
  }
};

// The 80 messages of a workspace load: 60 part blocks, 12 receive channels
// and the 8 performance blocks, each part and block with values of its own.
std::vector<Bytes> WorkspaceMessages(DataModel& model, Cs2xEmulator& instrument) {
  std::vector<Bytes> sent;
  for (int part = 4; part < 16; ++part)
    for (int block = 0; block < kMultiBlocks; ++block) {
      Byte* stored = model.PartBlk.Block(block, part);
      WriteDefaultBlock(block, static_cast<Byte>(part), static_cast<Byte>(15 - part), stored);
      if (block == 0) stored[9 + 11] = static_cast<Byte>(100 + part);  // volume
      StoreBulkChecksum(stored, static_cast<std::size_t>(BlkLen(block)));
      sent.emplace_back(stored, stored + BlkLen(block));
    }
  for (int part = 4; part < 16; ++part) sent.push_back(XgParmChange(0x08, static_cast<Byte>(part), 0x04, 3));
  const Byte perf[8][3] = {{0x50, 0, 0}, {0x60, 0, 0}, {0x60, 0, 0x40}, {0x60, 0, 0x60},
                           {0x60, 1, 0}, {0x60, 2, 0}, {0x60, 3, 0}, {0x60, 4, 0}};
  for (const auto& a : perf) {
    Bytes dump = instrument.BulkDump(kModelCs, a[0], a[1], a[2]);
    dump[9] = static_cast<Byte>(0x20 + a[1]);
    StoreBulkChecksum(dump.data(), dump.size());
    sent.push_back(dump);
  }
  return sent;
}

// Sends them back to back as a workspace load does. RtMidi under JACK puts
// what exceeds about 32 KB in one period aside without a word; these 80
// messages are about 3 KB.
void SendWorkspace(MidiLink& link, const std::vector<Bytes>& messages,
                   std::chrono::microseconds pause = std::chrono::microseconds(0)) {
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (pause.count()) std::this_thread::sleep_for(pause);
    if (i < 60)
      link.SendLongMsg({}, kSendPartBlock, 4 + static_cast<int>(i) / 5, static_cast<int>(i) % 5);
    else
      link.SendSysEx(messages[i]);
  }
}

TEST(JackBackend, WithoutAServerListsNothingAndOpeningFailsWithAClearText) {
  setenv("JACK_DEFAULT_SERVER", "quorvane-no-such-server", 1);
  testing::internal::CaptureStderr();
  {
    EXPECT_FALSE(RtMidiBackend::JackServerRunning());
    RtMidiBackend backend(MidiApi::Jack);
    EXPECT_FALSE(backend.Available());
    EXPECT_EQ(backend.OutGetNumDevs(), 0);
    EXPECT_EQ(backend.InGetNumDevs(), 0);
    EXPECT_EQ(backend.OutOpen(0), kMidiNoDriver);
    EXPECT_EQ(backend.InOpen(0, nullptr), kMidiNoDriver);
    EXPECT_EQ(backend.OutLongMsg(RqstCom0()), kMidiInvalidHandle);  // returns at once
    EXPECT_EQ(backend.OutErrorText(kMidiNoDriver),
              "No MIDI system is available on this computer: no JACK server is running, so there is no MIDI "
              "output device.");
    EXPECT_NE(backend.InErrorText(kMidiNoDriver).find("no JACK server is running"), std::string::npos);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  unsetenv("JACK_DEFAULT_SERVER");
}

TEST(JackBackend, ThruIsRefusedWhereItWouldForwardAPortToItself) {
  const auto loops = [](const std::string& in, const std::string& out) {
    return RtMidiBackend::ThruLoops(MidiApi::Jack, in, out, "Quorvane");
  };
  // The ALSA "Midi Through" port, bridged: one device on both sides.
  EXPECT_TRUE(loops("a2j:Midi Through [14] (capture): Midi Through Port-0",
                    "a2j:Midi Through [14] (playback): Midi Through Port-0"));
  EXPECT_FALSE(loops("a2j:Midi Through [14] (capture): Midi Through Port-0", "a2j:UM-ONE [24] (playback): UM-ONE"));
  // The program's own ports on the far side, also under a renamed client.
  EXPECT_TRUE(loops("Quorvane-01:Quorvane Out", "CS2x:MIDI In"));
  EXPECT_TRUE(loops("CS2x:MIDI Out", "Quorvane:Quorvane In"));
  // An instrument's two ports are two devices.
  EXPECT_FALSE(loops("CS2x:MIDI Out", "CS2x:MIDI In"));
  EXPECT_FALSE(loops("system:midi_capture_1", "system:midi_playback_1"));
  // ALSA as before: the sequencer address decides, JACK-like names never loop.
  EXPECT_TRUE(RtMidiBackend::ThruLoops(MidiApi::Alsa, "Midi Through:Midi Through Port-0 14:0",
                                       "Midi Through:Midi Through Port-0 14:0", "Quorvane"));
  EXPECT_FALSE(RtMidiBackend::ThruLoops(MidiApi::Alsa, "CS2x:MIDI Out", "CS2x:MIDI Out", "Quorvane"));
}

TEST(JackLink, WorkspaceSizedBurstArrivesWholeAndInOrder) {
  REQUIRE_JACK();
  RunOverJack([] {
    JackRig rig;
    ASSERT_TRUE(rig.Open());
    const std::vector<Bytes> messages = WorkspaceMessages(rig.model, rig.cs2x.Instrument());
    ASSERT_EQ(messages.size(), 80u);
    SendWorkspace(*rig.link, messages);
    const std::vector<Bytes> received = rig.cs2x.Received(messages.size());
    ASSERT_EQ(received.size(), messages.size());
    for (std::size_t i = 0; i < messages.size(); ++i) EXPECT_EQ(received[i], messages[i]) << "message " << i;
    EXPECT_TRUE(rig.prompts.Messages().empty());
    Cs2xEmulator& cs2x = rig.cs2x.Instrument();
    EXPECT_EQ(cs2x.Param(kModelXg, 0x08, 0x0F, 0x0B), 115);  // volume of the last part
    EXPECT_EQ(cs2x.Param(kModelXg, 0x08, 0x04, 0x04), 3);    // receive channel
    EXPECT_EQ(cs2x.Param(kModelCs, 0x60, 0x04, 0x00), 0x24);  // Lyr4
  });
}

TEST(JackLink, ThruForwardsTheKeyboardOnlyWhileNoTransactionRuns) {
  REQUIRE_JACK();
  RunOverJack([] {
    JackRig rig;
    ASSERT_TRUE(rig.Open());

    // Idle: every note arrives, in order.
    std::vector<Bytes> notes;
    for (Byte n = 60; n < 70; ++n) {
      notes.push_back(NoteOn(0, n, 100));
      notes.push_back(NoteOff(0, n, 0));
    }
    for (const Bytes& m : notes) {
      rig.keyboard->Play(m);
      std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(rig.cs2x.Received(notes.size()), notes);

    // Retrievals while the keyboard plays, and then a workspace load: a note
    // never arrives between a request and its reply, nor inside a message.
    rig.cs2x.ClearEvents();
    rig.cs2x.Instrument().replyDelay = 20ms;
    std::atomic<bool> playing{true};
    std::thread player([&] {
      for (Byte n = 0; playing; n = static_cast<Byte>((n + 1) % 128)) {
        rig.keyboard->Play(NoteOn(1, n, 64));
        std::this_thread::sleep_for(500us);
      }
    });
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 8}) rig.link->RtrvDump(kind, 0, 0);
    for (int block = 0; block < kMultiBlocks; ++block) rig.link->RtrvDump(kDumpMulti, 9, block);
    const std::vector<Bytes> workspace = WorkspaceMessages(rig.model, rig.cs2x.Instrument());
    SendWorkspace(*rig.link, workspace, 500us);  // paced, so that thru has its turns in between
    std::this_thread::sleep_for(30ms);
    playing = false;
    player.join();
    std::this_thread::sleep_for(30ms);

    int requests = 0, replies = 0, notesInTransaction = 0, notesForwarded = 0, notesAmongSent = 0, malformed = 0;
    bool inTransaction = false;
    std::vector<Bytes> sysex;
    for (const PortEvent& e : rig.cs2x.Events()) {
      if (e.kind == PortEvent::ReplySent) {
        ++replies;
        inTransaction = false;
        continue;
      }
      if (IsRequest(e.message)) {
        ++requests;
        inTransaction = true;
      } else if (IsNote(e.message)) {
        ++notesForwarded;
        notesInTransaction += inTransaction;
        notesAmongSent += !sysex.empty() && sysex.size() < workspace.size();
      } else if (e.message.front() == 0xF0 && e.message.back() == 0xF7) {
        sysex.push_back(e.message);
      } else {
        ++malformed;
      }
      for (std::size_t i = 1; i + 1 < e.message.size(); ++i) malformed += e.message[0] == 0xF0 && e.message[i] >= 0x80;
    }
    std::printf("thru over JACK: %d notes forwarded, %d of them among %zu sent messages; %d inside %d transactions\n",
                notesForwarded, notesAmongSent, sysex.size(), notesInTransaction, requests);
    EXPECT_EQ(requests, 13);
    EXPECT_EQ(replies, 13);
    EXPECT_EQ(notesInTransaction, 0);
    EXPECT_GT(notesForwarded, 0);
    EXPECT_GT(notesAmongSent, 0);
    EXPECT_EQ(malformed, 0);
    EXPECT_EQ(sysex, workspace);
    EXPECT_TRUE(rig.prompts.Messages().empty());
  });
}

TEST(JackLink, ThruNeverSendsTheProgramsOwnOutputRound) {
  REQUIRE_JACK();
  RunOverJack([] {
    JackRig rig;
    ASSERT_TRUE(rig.Open());
    rig.link->CloseInput();
    // The input on the program's own output port: what leaves comes back.
    int own = -1;
    for (int d = 0; d < rig.backend.InGetNumDevs(); ++d) {
      std::string name;
      rig.backend.InGetDevCaps(d, name);
      if (name.rfind(rig.client, 0) == 0 && name.ends_with(std::string(":") + RtMidiBackend::kOutPortName)) own = d;
    }
    ASSERT_GE(own, 0);
    rig.link->MidiInDev = own;
    ASSERT_EQ(rig.link->OpenInput(), kMidiOk);
    ASSERT_EQ(rig.link->ConnectThru(), kMidiOk);
    ASSERT_EQ(rig.link->StartInput(), kMidiOk);
    rig.link->SendSysEx(NoteOn(2, 64, 90));
    std::this_thread::sleep_for(60ms);  // a dozen periods: a loop would have sent it again
    EXPECT_EQ(rig.cs2x.Received(2, 0ms), (std::vector<Bytes>{NoteOn(2, 64, 90)}));
  });
}

TEST(JackLink, InputArrivingAfterTheLinkIsDestroyedReachesNothing) {
  REQUIRE_JACK();
  RunOverJack([] {
    JackRig rig;
    ASSERT_TRUE(rig.Open());
    rig.link.reset();  // input open, thru connected
    EXPECT_EQ(rig.backend.InStart(), kMidiInvalidHandle);
    const Bytes dump = rig.cs2x.Instrument().BulkDump(kModelCs, 0x60, 0x00, 0x00);
    for (int i = 0; i < 20; ++i) {
      rig.keyboard->Play(dump);
      rig.keyboard->Play(NoteOn(0, 60, 1));
    }
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(rig.cs2x.Received(1, 0ms).empty());  // nothing forwarded either
  });
}

}  // namespace
}  // namespace qv::test
