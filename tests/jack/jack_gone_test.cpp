// Devices that go away over real JACK ports: each scenario runs on a JACK
// server of its own, started here under a name of its own and stopped by its
// pid, with the program's RtMidi backend, the emulated CS2x and a keyboard
// as its clients.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "editor/session.h"
#include "files/file_steps.h"
#include "instrument/messages.h"
#include "jack_ports.h"
#include "link/midi_link.h"
#include "link/rtmidi_backend.h"
#include "recording_session_view.h"
#include "run_over_jack.h"
#include "scripted_prompts.h"
#include "temp_folder.h"

namespace qv::test {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

const char* const kChooseAgain = "\r\nPlease choose other MIDI devices with File > Startup Preferences.";

// A JACK server of the test's own, the default server of this process while
// it lives, named after the default server (several test runs may share a
// machine, each with a server of its own). Its name stays the same from run
// to run: JACK keeps room for only a few servers, and it takes back the room
// of a killed one only for a server of the same name. Its period is 21 ms:
// on a busy machine, clients that do not run in real time are often late
// for a period of 5 ms, and the server then loses their MIDI events.
class OwnJackServer {
 public:
  explicit OwnJackServer(const std::string& name) {
    if (const char* old = std::getenv("JACK_DEFAULT_SERVER")) saved_ = old;
    name_ = (saved_.empty() ? std::string("quorvane") : saved_) + "-" + name;
    std::fflush(nullptr);  // or the child would write the parent's buffered output once more
    pid_ = fork();
    if (pid_ == 0) {
      freopen("/dev/null", "w", stdout);
      freopen("/dev/null", "w", stderr);
      execlp("jackd", "jackd", "-n", name_.c_str(), "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "1024",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    // A loaded machine may take long to start it; one that failed to start ends the wait.
    for (auto end = Steady::now() + 60s; Steady::now() < end && !RtMidiBackend::JackServerRunning();) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(50ms);
    }
  }
  ~OwnJackServer() {
    Stop(SIGTERM);
    if (saved_.empty())
      unsetenv("JACK_DEFAULT_SERVER");
    else
      setenv("JACK_DEFAULT_SERVER", saved_.c_str(), 1);
  }
  bool Running() const { return pid_ > 0 && RtMidiBackend::JackServerRunning(); }
  void Stop(int signal) {
    Thaw();
    if (pid_ <= 0) return;
    kill(pid_, signal);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    // The semaphores of the clients it had, kept ones among them, would stay
    // in shared memory run after run.
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
      const std::string file = entry.path().filename().string();
      if (file.rfind("jack_sem.", 0) == 0 && file.find("_" + name_ + "_") != std::string::npos)
        std::filesystem::remove(entry.path(), error);
    }
  }
  // Stops the server's process, as a server that hangs; it runs again on
  // Thaw, and after `most` at the latest, so that nothing waits for ever.
  void Freeze(std::chrono::milliseconds most) {
    Thaw();
    kill(pid_, SIGSTOP);
    thawed_ = false;
    thawer_ = std::thread([this, most] {
      std::unique_lock<std::mutex> lock(thawMutex_);
      thawNow_.wait_for(lock, most, [this] { return thawed_; });
      kill(pid_, SIGCONT);
    });
  }
  void Thaw() {
    if (!thawer_.joinable()) return;
    {
      std::lock_guard<std::mutex> lock(thawMutex_);
      thawed_ = true;
    }
    thawNow_.notify_all();
    thawer_.join();
  }

 private:
  std::string name_, saved_;
  pid_t pid_ = -1;
  std::thread thawer_;
  std::mutex thawMutex_;
  std::condition_variable thawNow_;
  bool thawed_ = true;
};

// Kept, unclosed, for the rest of the run.
template <typename T>
void LeaveBehind(std::unique_ptr<T> client) {
  static auto* const kept = new std::vector<std::unique_ptr<T>>();  // never freed
  kept->push_back(std::move(client));
}

// The program's session on JACK with the emulated CS2x and a keyboard.
struct GoneRig {
  std::string client = UniqueClientName("Quorvane");
  std::unique_ptr<JackCs2x> cs2x = std::make_unique<JackCs2x>(UniqueClientName("CS2x"));
  std::unique_ptr<RtMidiBackend> backend = std::make_unique<RtMidiBackend>(MidiApi::Jack, client);
  ScriptedPrompts prompts;
  EditorState state;
  DataModel& model = state.Model;
  RecordingSessionView view;
  std::unique_ptr<MidiLink> link = std::make_unique<MidiLink>(*backend, prompts, SystemClock(), model, view);
  Session session{state, *link, view};
  std::unique_ptr<JackKeyboard> keyboard;

  bool Open() {
    view.state = &state;
    link->MidiOutDev = OutputDevice(*backend, cs2x->InPort());
    link->MidiInDev = InputDevice(*backend, cs2x->OutPort());
    if (!cs2x->Ready() || link->MidiOutDev < 0 || link->MidiInDev < 0) return false;
    if (link->OpenOutput() || link->OpenInput() || link->ConnectThru() || link->StartInput()) return false;
    keyboard = std::make_unique<JackKeyboard>(UniqueClientName("Keyboard"),
                                              FindInputPort(client, RtMidiBackend::kInPortName));
    return keyboard->Ready();
  }
  // Whether every multi block holds nothing or what the instrument holds.
  bool NothingForeign(Cs2xEmulator& instrument) {
    for (int multi = 5; multi <= 16; ++multi)
      for (int block = 0; block < kMultiBlocks; ++block) {
        const Address a = MultiBlockAddress(block, multi - 1);
        const Bytes expected = instrument.BulkDump(kModelXg, a.a1, a.a2, a.a3);
        const Byte* stored = model.PartBlk.Block(block, multi - 1);
        const Bytes now(stored, stored + expected.size());
        if (now != expected && now != Bytes(expected.size(), 0)) return false;
      }
    return true;
  }
  // Leaving the program: the devices close and the link and the backend go.
  // (The test's own clients of a server that stopped or hangs are left
  // behind: RtMidi would wait for it.)
  double ExitMs(bool serverAway) {
    const auto t0 = Steady::now();
    {
      MidiLink::CommandScope command(*link);
      session.CloseDevices();
    }
    link.reset();
    backend.reset();
    const double ms = std::chrono::duration<double, std::milli>(Steady::now() - t0).count();
    if (serverAway) {
      LeaveBehind(std::move(keyboard));
      LeaveBehind(std::move(cs2x));
    }
    return ms;
  }
};

double MsSince(Steady::time_point t0) { return std::chrono::duration<double, std::milli>(Steady::now() - t0).count(); }

// Retrieve > All Multis while `fault` strikes after 10 replies: the milliseconds it took.
double RetrieveAllWhile(GoneRig& rig, std::thread fault) {
  const auto t0 = Steady::now();
  {
    MidiLink::CommandScope command(*rig.link);
    rig.session.RtrvAllMultis();
  }
  const double ms = MsSince(t0);
  fault.join();
  return ms;
}

void ExpectGoneBoxes(const ScriptedPrompts& prompts, std::size_t count, bool system) {
  const std::vector<std::string> boxes = prompts.Messages();
  ASSERT_EQ(boxes.size(), count);
  for (const std::string& box : boxes) {
    EXPECT_EQ(box.rfind(system ? "The MIDI system has stopped." : "The MIDI ", 0), 0u) << box;
    EXPECT_NE(box.find(system ? "are gone." : "CS2x"), std::string::npos) << box;
    EXPECT_EQ(box.substr(box.size() - std::string(kChooseAgain).size()), kChooseAgain) << box;
  }
}

// How many of 80 SysEx messages of 256 bytes, sent back to back (five
// times what RtMidi's buffer holds), were refused for want of room.
int TimedOutOfABigBurst(GoneRig& rig) {
  Bytes big(256, 0x01);
  big.front() = 0xF0;
  big[1] = 0x7D;
  big.back() = 0xF7;
  int timedOut = 0;
  for (int i = 0; i < 80; ++i) timedOut += rig.backend->OutLongMsg(big) == kMidiSendTimedOut;
  return timedOut;
}

// Runs `fault` on a thread of its own once the instrument has had `after` requests.
std::thread FaultAfter(JackCs2x& cs2x, std::size_t after, std::function<void()> fault) {
  return std::thread([&cs2x, after, fault] {
    cs2x.Received(after, 10s);
    fault();
  });
}

void InstrumentGoesDuringRetrieveAllMultis() {
  OwnJackServer server("gone-client");
  ASSERT_TRUE(server.Running());
  GoneRig rig;
  ASSERT_TRUE(rig.Open());
  std::unique_ptr<JackCs2x> instrument = std::move(rig.cs2x);
  // The emulator's data stays for the check; its clients close.
  FakeMidiBackend referenceWire;
  Cs2xEmulator reference(referenceWire);  // the same defaults
  EXPECT_LT(RetrieveAllWhile(rig, FaultAfter(*instrument, 10, [&instrument] { instrument.reset(); })), 10000);
  ExpectGoneBoxes(rig.prompts, 1, false);
  EXPECT_TRUE(rig.NothingForeign(reference));
  const auto t1 = Steady::now();
  {
    MidiLink::CommandScope command(*rig.link);
    rig.session.RtrvMultiPart(8);
  }
  EXPECT_LT(MsSince(t1), 1000);  // no wait: one would last 2 s
  ExpectGoneBoxes(rig.prompts, 2, false);
  EXPECT_LT(rig.ExitMs(false), 1000);
}

void ServerStopsAtRest() {
  OwnJackServer server("gone-rest");
  ASSERT_TRUE(server.Running());
  GoneRig rig;
  ASSERT_TRUE(rig.Open());
  const std::filesystem::path folder = NewTempFolder("jackgone");
  const std::string workspace = (folder / "w.qvw").string();
  FileSteps files(rig.session);
  {
    MidiLink::CommandScope command(*rig.link);
    ASSERT_TRUE(files.SaveWorkspaceFile(workspace));
  }
  ASSERT_TRUE(rig.prompts.Messages().empty());
  const PerformanceRecord before = rig.model.Performance;
  server.Stop(SIGKILL);
  std::this_thread::sleep_for(500ms);

  const auto t0 = Steady::now();
  {
    MidiLink::CommandScope command(*rig.link);
    rig.session.RtrvPerformance();
  }
  for (int i = 0; i < 6; ++i) {
    MidiLink::CommandScope command(*rig.link);
    EXPECT_EQ(files.LoadWorkspaceFile(workspace), LoadResult::kLoaded);
  }
  {
    MidiLink::CommandScope command(*rig.link);
    EXPECT_TRUE(files.SaveWorkspaceFile(workspace));
  }
  EXPECT_LT(MsSince(t0), 2000);
  EXPECT_EQ(std::memcmp(&before, &rig.model.Performance, sizeof before), 0);
  EXPECT_LT(rig.ExitMs(true), 1000);
  ExpectGoneBoxes(rig.prompts, 8, true);
  std::filesystem::remove_all(folder);
}

void ServerStopsDuringARetrieval() {
  auto server = std::make_unique<OwnJackServer>("gone-busy");
  ASSERT_TRUE(server->Running());
  GoneRig rig;
  ASSERT_TRUE(rig.Open());
  FakeMidiBackend referenceWire;
  Cs2xEmulator reference(referenceWire);
  EXPECT_LT(RetrieveAllWhile(rig, FaultAfter(*rig.cs2x, 10, [&server] { server->Stop(SIGTERM); })), 10000);
  ExpectGoneBoxes(rig.prompts, 1, true);
  EXPECT_TRUE(rig.NothingForeign(reference));
  EXPECT_LT(rig.ExitMs(true), 1000);
}

void NotesAndARetrievalAfterAnEndlessSysEx() {
  GoneRig rig;
  ASSERT_TRUE(rig.Open());
  rig.cs2x->ClearEvents();
  rig.keyboard->Play({0xF0, 0x43, 0x10, 0x4C});
  for (Byte n = 0; n < 10; ++n) {
    std::this_thread::sleep_for(10ms);
    rig.keyboard->Play({0x90, static_cast<Byte>(60 + n), 0x40});
  }
  std::size_t notes = 0;
  for (auto end = Steady::now() + 10s; Steady::now() < end && notes < 10; std::this_thread::sleep_for(20ms)) {
    notes = 0;
    for (const PortEvent& e : rig.cs2x->Events())
      notes += e.kind == PortEvent::Received && e.message.size() == 3 && e.message[0] == 0x90;
  }
  EXPECT_EQ(notes, 10u);
  rig.keyboard->Play({0xF0, 0x43, 0x10, 0x4C});
  const auto t0 = Steady::now();
  {
    MidiLink::CommandScope command(*rig.link);
    rig.session.RtrvMultiPart(8);
  }
  EXPECT_LT(MsSince(t0), 1500);
  for (int b = 0; b < kMultiBlocks; ++b) {
    const Address a = MultiBlockAddress(b, 8);
    const Bytes expected = rig.cs2x->Instrument().BulkDump(kModelXg, a.a1, a.a2, a.a3);
    EXPECT_EQ(Bytes(rig.model.PartBlk.Block(b, 8), rig.model.PartBlk.Block(b, 8) + expected.size()), expected);
  }
  EXPECT_TRUE(rig.prompts.Messages().empty());

  // A burst larger than RtMidi's buffer while the keyboard plays through:
  // each send waits for room, and thru does not keep the periods from running.
  std::atomic<bool> playing{true};
  std::thread player([&] {
    for (Byte n = 0; playing; n = static_cast<Byte>((n + 1) % 128)) {
      rig.keyboard->Play({0x90, n, 0x40});
      std::this_thread::sleep_for(500us);
    }
  });
  EXPECT_EQ(TimedOutOfABigBurst(rig), 0);
  playing = false;
  player.join();
}

void EndlessSysExThenNotesThenRetrieve() {
  OwnJackServer server("gone-sysex");
  ASSERT_TRUE(server.Running());
  RunOverJack(NotesAndARetrievalAfterAnEndlessSysEx);  // each note and reply must arrive
}

// A server that hangs (its process stopped) is waited for while it might
// only be late, and no longer.
void ServerHangs() {
  OwnJackServer server("hangs");
  ASSERT_TRUE(server.Running());
  GoneRig rig;
  ASSERT_TRUE(rig.Open());

  // A third of a second without periods, as on a machine far too busy: a
  // burst larger than RtMidi's buffer waits it out, and nothing is refused.
  server.Freeze(300ms);
  EXPECT_EQ(TimedOutOfABigBurst(rig), 0);
  server.Thaw();

  // Hung: a retrieval of five blocks ends within about a second, with one
  // box; so do a burst and each send after it.
  server.Freeze(30s);
  const auto t0 = Steady::now();
  {
    MidiLink::CommandScope command(*rig.link);
    rig.session.RtrvMultiPart(8);
  }
  const double retrieveMs = MsSince(t0);
  EXPECT_LT(retrieveMs, 5000);  // each of its five waits would last 2 s
  EXPECT_EQ(rig.prompts.Messages(),
            std::vector<std::string>{"Operation: MidiOutLongMsg \r\n" + MidiErrorText(kMidiSendTimedOut)});
  server.Thaw();
  for (auto end = Steady::now() + 10s; Steady::now() < end && rig.backend->Stalled();) std::this_thread::sleep_for(10ms);
  server.Freeze(30s);
  const auto t1 = Steady::now();
  const int timedOut = TimedOutOfABigBurst(rig);
  const double burstMs = MsSince(t1);
  EXPECT_GT(timedOut, 0);
  EXPECT_LT(burstMs, 5000);
  const auto t2 = Steady::now();
  EXPECT_EQ(rig.backend->OutLongMsg(RqstCom0()), kMidiSendTimedOut);
  const double sendMs = MsSince(t2);
  EXPECT_LT(sendMs, 1000);
  const double exitMs = rig.ExitMs(true);
  EXPECT_LT(exitMs, 5000);  // a port's closing would wait until the server runs again
  std::printf("server hung: Retrieve M9 %.0f ms, a burst %.0f ms (%d of 80 refused), a send %.0f ms, exit %.0f ms\n",
              retrieveMs, burstMs, timedOut, sendMs, exitMs);
}

// The scenarios start servers of their own.
#define REQUIRE_JACKD()                                          \
  do {                                                           \
    if (system("command -v jackd > /dev/null") != 0) {           \
      if (SkipMustFail()) FAIL() << "jackd is not installed";    \
      GTEST_SKIP() << "jackd is not installed";                  \
    }                                                            \
  } while (false)

TEST(JackLink, gone_DevicesThatGoAwayEndEachCommandInSecondsWithOneBox) {
  REQUIRE_JACKD();
  {
    SCOPED_TRACE("the instrument's client goes during Retrieve > All Multis");
    InstrumentGoesDuringRetrieveAllMultis();
  }
  {
    SCOPED_TRACE("the server stops at rest");
    ServerStopsAtRest();
  }
  {
    SCOPED_TRACE("the server stops during a retrieval");
    ServerStopsDuringARetrieval();
  }
  {
    SCOPED_TRACE("an endless SysEx, then notes, then a retrieval");
    EndlessSysExThenNotesThenRetrieve();
  }
}

TEST(JackLink, hung_AServerThatRunsNoPeriodsEndsEachWaitInAboutASecondAndExitWaitsForNothing) {
  REQUIRE_JACKD();
  ServerHangs();
}

}  // namespace
}  // namespace qv::test
