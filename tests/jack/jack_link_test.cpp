// The MIDI link on the RtMidi backend over real JACK ports, with the
// emulated CS2x and a keyboard as clients of the same server.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "editor/session.h"
#include "files/file_steps.h"
#include "files/record_files.h"
#include "hex.h"
#include "instrument/default_multi.h"
#include "instrument/messages.h"
#include "instrument/performance_blocks.h"
#include "jack_ports.h"
#include "link/midi_link.h"
#include "link/rtmidi_backend.h"
#include "recording_session_view.h"
#include "run_over_jack.h"
#include "scripted_prompts.h"
#include "session_rig.h"

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

bool IsNote(const Bytes& m) { return m.size() == 3 && (m[0] & 0xE0) == 0x80; }
bool IsRequest(const Bytes& m) { return m.size() >= 4 && m[0] == 0xF0 && m[1] == 0x43 && (m[2] & 0xF0) == 0x20; }

// The program's link on JACK, its output and input on the emulator's ports,
// thru connected and input started; a keyboard plays into its input too.
struct JackRig {
  std::string client = UniqueClientName("Quorvane");
  JackCs2x cs2x{UniqueClientName("CS2x")};
  RtMidiBackend backend{MidiApi::Jack, client};
  ScriptedPrompts prompts;
  EditorState state;
  DataModel& model = state.Model;
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

// Sends them back to back as a workspace load does. RtMidi under JACK holds
// them in a 16 KB buffer that its client drains each period; these 80
// messages are about 3 KB.
void SendWorkspace(MidiLink& link, const std::vector<Bytes>& messages,
                   std::chrono::microseconds pause = std::chrono::microseconds(0)) {
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (pause.count()) std::this_thread::sleep_for(pause);
    if (i < 60)
      link.SendPartBlock(4 + static_cast<int>(i) / 5, static_cast<int>(i) % 5);
    else
      link.SendSysEx(messages[i]);
  }
}

TEST(JackBackend, WithoutAServerListsNothingAndOpeningFailsWithAClearText) {
  const char* server = std::getenv("JACK_DEFAULT_SERVER");
  const std::optional<std::string> saved = server ? std::optional<std::string>(server) : std::nullopt;
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
  if (saved)
    setenv("JACK_DEFAULT_SERVER", saved->c_str(), 1);
  else
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

// A workspace saved (the save retrieves the performance first), then parts,
// performance and pool changed in the program and on the instrument's own
// panel, then the file loaded again: the instrument holds the file's twelve
// parts and its performance, and the program what it saved.
TEST(JackLink, WorkspaceSavedAndLoadedAgainComesBackOnTheInstrumentAndInTheProgram) {
  REQUIRE_JACK();
  RunOverJack([] {
    namespace fs = std::filesystem;
    struct Folder {
      fs::path path = fs::temp_directory_path() / UniqueClientName("qv_jack_workspace");
      Folder() { fs::create_directories(path); }
      ~Folder() { fs::remove_all(path); }
    } folder;
    const std::string file = (folder.path / "w.qvw").string();

    JackRig rig;
    ASSERT_TRUE(rig.Open());
    RecordingSessionView view;
    view.state = &rig.state;
    rig.state.PerfChannel = 3;
    Session session(rig.state, *rig.link, view);
    FileSteps steps(session);
    Cs2xEmulator& cs2x = rig.cs2x.Instrument();

    // A workspace in use: parts edited on the instrument and retrieved,
    // named, on channels of their own; a performance of its own; a pool.
    for (Byte part = 4; part < 16; ++part) cs2x.SetParam(kModelXg, 0x08, part, 0x0B, static_cast<Byte>(100 + part));
    cs2x.SetPerformanceName("Saved ws");
    session.RtrvAllMultis();
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) {
      session.SetPartCaption(part, PartCaptionFor("Part" + std::to_string(part), part));
      session.SetChannelRow(part, 15 - part);
    }
    rig.model.LayerPool.Entry[5].Blocks = rig.model.DefMultiSyx;
    rig.model.LayerPool.Entry[5].Blocks.Blk1[20] = 55;
    session.SetPoolRows({{"Alpha     ", 5}, {"Bravo     ", 0}});
    rig.cs2x.ClearEvents();
    ASSERT_TRUE(steps.SaveWorkspaceFile(file));
    std::vector<Bytes> sent = rig.cs2x.Received(10);
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), IsRequest), 8);  // the performance retrieved
    const EditorState saved = rig.state;
    const auto read = std::make_unique<RecordFileRead<WorkspaceRecord>>(ReadRecordFile<WorkspaceRecord>(file));
    ASSERT_EQ(read->status, RecordFileStatus::kRead);
    const WorkspaceRecord& record = read->record;
    ASSERT_EQ(GetName(record.Multis.Part[0].Name), "Part4     ");
    ASSERT_EQ(std::string(record.Perf.Com1.begin() + kPerfNameFirst, record.Perf.Com1.begin() + kPerfNameFirst + 8),
              "Saved ws");

    // Everything changed: default parts on channel 1, another performance
    // chosen, another pool, and an edit on the instrument's panel.
    session.InitMltall();
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part) session.SetChannelRow(part, 0);
    session.SelectPerformance(false, false, 9);
    // Its replies came after all of the above; its last message, the
    // performance channel, may still be on its way.
    for (int i = 0; i < 2000 && cs2x.Param(kModelCs, 0x50, 0x00, 0x00) != 3; ++i) std::this_thread::sleep_for(1ms);
    session.SetPoolRows({{"Other     ", 9}});
    rig.model.LayerPool = LayerPoolRecord{};
    cs2x.SetParam(kModelXg, 0x08, 0x06, 0x0B, 1);
    ASSERT_NE(cs2x.PerformanceName(), "Saved ws");
    ASSERT_NE(rig.state.Captions, saved.Captions);
    ASSERT_EQ(cs2x.Param(kModelXg, 0x08, 0x04, 0x04), 0);

    rig.cs2x.ClearEvents();
    ASSERT_EQ(steps.LoadWorkspaceFile(file), LoadResult::kLoaded);

    // What left is what the same load sends on the fake wire, message for
    // message: the 60 part blocks, the 12 channels, the 8 performance blocks.
    std::vector<Bytes> onFakeWire;
    {
      SessionRig fake;
      fake.session.SetPerfChannel(3);
      FileSteps fakeSteps(fake.session);
      ASSERT_EQ(fakeSteps.LoadWorkspaceFile(file), LoadResult::kLoaded);
      onFakeWire = fake.Sent();
    }
    ASSERT_EQ(onFakeWire.size(), 80u);
    sent = rig.cs2x.Received(onFakeWire.size());
    ASSERT_EQ(sent.size(), onFakeWire.size());
    for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(HexString(sent[i]), HexString(onFakeWire[i])) << i;

    // The instrument holds the file's parts and performance, each block
    // with the checksum it is sent with; the program's parts are the same.
    int blocks = 0;
    const auto expectHeld = [&](const Byte* inFile, int length, Byte model, const Byte* inProgram = nullptr) {
      Bytes expected(inFile, inFile + length);
      StoreBulkChecksum(expected.data(), expected.size());
      EXPECT_EQ(HexString(cs2x.BulkDump(model, expected[6], expected[7], expected[8])), HexString(expected));
      if (inProgram) {
        EXPECT_EQ(HexString(Bytes(inProgram, inProgram + length)), HexString(expected));
      }
      ++blocks;
    };
    for (int part = kFirstMultiPart; part <= kLastMultiPart; ++part)
      for (int b = 0; b < kMultiBlocks; ++b)
        expectHeld(record.Multis.Part[static_cast<std::size_t>(part - 4)].Blocks.Block(b), BlkLen(b), kModelXg,
                   rig.model.PartBlk.Block(b, part));
    for (const PerformanceBlock& row : kPerformanceBlocks)
      expectHeld(BlockField(record.Perf, row.id), row.length, kModelCs);
    EXPECT_EQ(cs2x.Param(kModelXg, 0x08, 0x06, 0x0B), 106);  // the panel's edit undone
    EXPECT_EQ(cs2x.Param(kModelXg, 0x08, 0x04, 0x04), 11);
    EXPECT_EQ(cs2x.Param(kModelCs, 0x50, 0x00, 0x00), 3);  // the performance channel
    EXPECT_EQ(cs2x.PerformanceName(), "Saved ws");

    EXPECT_EQ(rig.state.Captions, saved.Captions);
    EXPECT_EQ(rig.state.ChannelRows, saved.ChannelRows);
    EXPECT_EQ(rig.state.PerformanceCaption, saved.PerformanceCaption);
    EXPECT_EQ(rig.state.PoolRows, saved.PoolRows);
    EXPECT_EQ(RecordBytes(rig.model.Performance), RecordBytes(saved.Model.Performance));
    EXPECT_EQ(RecordBytes(rig.model.LayerPool), RecordBytes(saved.Model.LayerPool));
    EXPECT_TRUE(rig.prompts.Messages().empty());
    std::printf("workspace over JACK: %zu messages compared with the fake wire, %d blocks with the instrument\n",
                sent.size(), blocks);
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
    for (PerfBlock block : kRetrievalOrder) rig.link->RtrvDump(DumpRequest::ForPerformance(block));
    for (int block = 0; block < kMultiBlocks; ++block) rig.link->RtrvDump(DumpRequest::ForMultiPart(8, block));
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
