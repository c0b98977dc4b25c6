// Devices that go away, a broken SysEx at the input and hostile bytes, over
// the fake MIDI service with the emulated CS2x: one box per command, nothing
// sent and no waits once a device is known gone, until both devices are
// taken again; thru and the next retrieval unharmed by an unfinished SysEx;
// an event of any length taken; only valid SysEx leaves or is stored.

#include <gtest/gtest.h>
#include <pthread.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "files/file_steps.h"
#include "instrument/messages.h"
#include "link/input_assembler.h"
#include "session_rig.h"
#include "temp_folder.h"

namespace qv::test {
namespace {

using Texts = std::vector<std::string>;

const char* const kGoneBoth =
    "The MIDI device \"Fake MIDI\" is gone.\r\nPlease choose other MIDI devices with File > Startup Preferences.";

Bytes Stored(DataModel& model, int part, int block) {
  const Byte* b = model.PartBlk.Block(block, part);
  return Bytes(b, b + BlkLen(block));
}

Bytes Expected(Cs2xEmulator& instrument, int part, int block) {
  const Address a = MultiBlockAddress(block, part);
  return instrument.BulkDump(kModelXg, a.a1, a.a2, a.a3);
}

struct GoneRig : SessionRig {
  GoneRig() {
    backend.outputNames = {"Fake MIDI"};
    backend.inputNames = {"Fake MIDI"};
  }
  // The devices go away as the `count`-th message leaves.
  void LoseAtSend(int count, bool system) {
    auto passOn = backend.onSend;
    backend.onSend = [this, count, system, passOn, sent = 0](const Bytes& m) mutable {
      if (++sent == count) backend.Lose(system, true, true);
      else if (passOn) passOn(m);
    };
  }
};

TEST(DeviceGone, TheInstrumentOrTheSystemGoesDuringRetrieveAllMultis) {
  for (bool system : {false, true}) {
    SCOPED_TRACE(system ? "the MIDI system stops" : "the instrument goes");
    GoneRig rig;
    rig.LoseAtSend(11, system);  // the request of M7 block 0
    const Bytes untouched = Stored(rig.model, 6, 0);
    {
      MidiLink::CommandScope command(rig.link);
      rig.session.RtrvAllMultis();
    }
    // The first ten blocks came; after the loss nothing was sent, nothing
    // waited for and nothing stored.
    EXPECT_EQ(Stored(rig.model, 5, 4), Expected(rig.instrument, 5, 4));
    EXPECT_EQ(Stored(rig.model, 6, 0), untouched);
    EXPECT_EQ(rig.Sent().size(), 11u);
    EXPECT_LT(rig.clock.virtualMs, kReplyWait.count());
    const std::string box = system ? std::string("The MIDI system has stopped. ") + kGoneBoth : kGoneBoth;
    EXPECT_EQ(rig.prompts.Messages(), Texts{box});

    // Each later command says so again, and sends nothing.
    {
      MidiLink::CommandScope command(rig.link);
      rig.session.RtrvMultiPart(8);
      rig.link.SendSysEx(XgParmChange(0x08, 4, 0x04, 3));
    }
    EXPECT_EQ(rig.prompts.Messages(), (Texts{box, box}));
    EXPECT_EQ(rig.Sent().size(), 11u);

    // The user chooses the devices again: they are used again.
    rig.backend.onSend = nullptr;
    rig.link.ReopenDevices(0, 0);
    EXPECT_EQ(rig.backend.restores, 1);
    EXPECT_TRUE(rig.link.OutputOpen() && rig.link.InputOpen() && rig.backend.thruConnected);
    {
      MidiLink::CommandScope command(rig.link);
      rig.link.SendSysEx(XgParmChange(0x08, 4, 0x04, 3));
    }
    EXPECT_EQ(rig.Sent().size(), 12u);
    EXPECT_EQ(rig.prompts.Messages().size(), 2u);
  }
}

TEST(DeviceGone, AnOkWhileTheDeviceIsStillAwayKeepsItLostForTheNextOk) {
  GoneRig rig;
  rig.backend.Lose(false, true, true);
  rig.backend.outputNames.clear();  // not listed, so not opened
  rig.backend.inputNames.clear();
  rig.link.ReopenDevices(0, 0);
  EXPECT_EQ(rig.prompts.Messages(), Texts{kGoneBoth});
  EXPECT_TRUE(rig.link.DeviceGone());

  rig.backend.outputNames = {"Fake MIDI"};  // back under its name
  rig.backend.inputNames = {"Fake MIDI"};
  rig.link.ReopenDevices(0, 0);
  EXPECT_FALSE(rig.link.DeviceGone());
  EXPECT_TRUE(rig.link.OutputOpen() && rig.link.InputOpen() && rig.backend.thruConnected && rig.backend.inStarted);
  EXPECT_EQ(rig.prompts.Messages().size(), 1u);
}

TEST(DeviceGone, AfterTheSystemStoppedAtRestEveryCommandEndsAtOnceWithOneBox) {
  GoneRig rig;
  const std::filesystem::path folder = NewTempFolder("gone");
  const std::string workspace = (folder / "a.qvw").string();
  FileSteps files(rig.session);
  ASSERT_TRUE(files.SaveWorkspaceFile(workspace));
  rig.backend.ClearRecords();
  rig.clock.virtualMs = 0;

  rig.backend.Lose(true, true, true, /*noticed=*/false);  // told by the next look only
  {
    MidiLink::CommandScope command(rig.link);
    rig.session.RtrvPerformance();
  }
  for (int i = 0; i < 6; ++i) {
    MidiLink::CommandScope command(rig.link);
    EXPECT_EQ(files.LoadWorkspaceFile(workspace), LoadResult::kLoaded);
  }
  {
    MidiLink::CommandScope command(rig.link);
    rig.session.AllNtsOff();  // no pause of thru
  }
  {
    MidiLink::CommandScope command(rig.link);
    EXPECT_TRUE(files.SaveWorkspaceFile(workspace));
  }
  {
    MidiLink::CommandScope command(rig.link);  // exit: the devices close without a word
    rig.session.CloseDevices();
  }
  const std::string box = std::string("The MIDI system has stopped. ") + kGoneBoth;
  EXPECT_EQ(rig.prompts.Messages(), Texts(9, box));
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_EQ(rig.clock.virtualMs, 0);
  EXPECT_FALSE(rig.link.OutputOpen() || rig.link.InputOpen());
  std::filesystem::remove_all(folder);
}

TEST(DeviceGone, ALossNoticedJustAfterTheLookEndsTheRetrievalAtOnce) {
  GoneRig rig;
  rig.backend.onCheck = [&rig, first = true]() mutable {
    if (std::exchange(first, false)) rig.backend.Lose(false, true, true);
  };
  rig.link.RtrvDump(DumpRequest::ForMultiPart(8, 0));
  EXPECT_TRUE(rig.Sent().empty());
  EXPECT_EQ(rig.clock.virtualMs, 0);
  EXPECT_EQ(rig.prompts.Messages(), Texts{kGoneBoth});
}

TEST(DeviceGone, AnUnfinishedSysExNeitherStopsThruNorHarmsTheNextRetrieval) {
  GoneRig rig;
  const Bytes note{0x90, 0x3C, 0x40};
  // A keyboard's SysEx without F7, then ten notes; then 1 MB of data bytes
  // after an F0, then notes again.
  rig.backend.DeliverEvent({0xF0, 0x43, 0x10, 0x4C});
  for (int i = 0; i < 10; ++i) rig.backend.DeliverEvent(note);
  rig.backend.DeliverEvent({0xF0});
  rig.backend.DeliverEvent(Bytes(1 << 20, 0x11));
  rig.backend.DeliverEvent({0xF8});  // a clock inside it passes
  rig.backend.DeliverEvent(note);
  const std::vector<Bytes> thru = rig.backend.ThruForwarded();
  ASSERT_EQ(thru.size(), 12u);
  EXPECT_EQ(thru[10], Bytes{0xF8});
  for (int i : {0, 9, 11}) EXPECT_EQ(thru[i], note);

  rig.backend.DeliverEvent({0xF0, 0x43, 0x10, 0x4C});  // open again as the retrieval starts
  {
    MidiLink::CommandScope command(rig.link);
    rig.session.RtrvMultiPart(8);
  }
  for (int b = 0; b < kMultiBlocks; ++b) EXPECT_EQ(Stored(rig.model, 8, b), Expected(rig.instrument, 8, b));
  EXPECT_TRUE(rig.prompts.Messages().empty());
}

TEST(DeviceGone, TheInputAssemblerEndsASysExAtAStatusByteItsLengthOrItsAge) {
  InputAssembler in;
  std::vector<Bytes> out;
  const auto emit = [&out](const Byte* d, std::size_t n) { out.emplace_back(d, d + n); };
  const auto t0 = InputAssembler::Clock::now();
  // A SysEx in pieces, then several messages in one piece (as RtMidi under
  // ALSA hands them over): a broken SysEx, two notes and a whole SysEx.
  in.Take(Bytes{0xF0, 0x43}.data(), 2, t0, emit);
  in.Take(Bytes{0x10, 0xF7}.data(), 2, t0, emit);
  const Bytes joined{0xF0, 0x43, 0x90, 0x3C, 0x40, 0xC0, 0x05, 0xF0, 0x01, 0xF7};
  in.Take(joined.data(), joined.size(), t0, emit);
  EXPECT_EQ(out, (std::vector<Bytes>{{0xF0, 0x43, 0x10, 0xF7}, {0x90, 0x3C, 0x40}, {0xC0, 0x05}, {0xF0, 0x01, 0xF7}}));

  // The longest SysEx taken is 128 bytes with its F7; a longer one is
  // dropped whole, up to and with its F7.
  out.clear();
  Bytes longest(InputAssembler::kLongestSysEx, 0x01);
  longest.front() = 0xF0;
  longest.back() = 0xF7;
  Bytes longer = longest;
  longer.insert(longer.begin() + 1, 0x01);
  in.Take(longest.data(), longest.size(), t0, emit);
  in.Take(longer.data(), longer.size(), t0, emit);
  EXPECT_EQ(out, std::vector<Bytes>{longest});

  // One open longer than a wait is dropped; its late rest is no message.
  out.clear();
  in.Take(Bytes{0xF0, 0x43}.data(), 2, t0, emit);
  in.Take(Bytes{0x10, 0xF7}.data(), 2, t0 + kReplyWait + std::chrono::milliseconds(1), emit);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(in.SysExOpen());
}

// Runs `work` on a thread whose stack is 1 MB, as small as a program's may be.
void OnSmallStack(const std::function<void()>& work) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, std::size_t{1} << 20), 0);
  pthread_t thread;
  void* (*run)(void*) = [](void* w) -> void* {
    (*static_cast<const std::function<void()>*>(w))();
    return nullptr;
  };
  const int rc = pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&work));
  pthread_attr_destroy(&attr);
  ASSERT_EQ(rc, 0);
  pthread_join(thread, nullptr);
}

TEST(DeviceGone, TheInputAssemblerTakesAnEventOfAMegabyteOnASmallStack) {
  // 1 MB of notes, and 1 MB of whole short SysEx messages, each in one event.
  const Bytes note{0x90, 0x3C, 0x40}, sysEx{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  Bytes notes, sysExes;
  while (notes.size() + note.size() <= (1u << 20)) Append(notes, note);
  while (sysExes.size() + sysEx.size() <= (1u << 20)) Append(sysExes, sysEx);
  std::size_t noteCount = 0, sysExCount = 0, other = 0;
  OnSmallStack([&] {
    InputAssembler in;
    const auto t0 = InputAssembler::Clock::now();
    in.Take(notes.data(), notes.size(), t0, [&](const Byte* d, std::size_t n) {
      (Bytes(d, d + n) == note ? noteCount : other)++;
    });
    in.Take(sysExes.data(), sysExes.size(), t0, [&](const Byte* d, std::size_t n) {
      (Bytes(d, d + n) == sysEx ? sysExCount : other)++;
    });
  });
  EXPECT_EQ(noteCount, notes.size() / note.size());
  EXPECT_EQ(sysExCount, sysExes.size() / sysEx.size());
  EXPECT_EQ(other, 0u);
}

TEST(ValidSysEx, AHostileStoredBlockNeverLeavesAndAReplyWithAStatusByteIsNeverStored) {
  GoneRig rig;
  // A stored block with a Note On inside, and a performance block with a System Reset.
  Byte* block = rig.model.PartBlk.Block(0, 4);
  Bytes good = Expected(rig.instrument, 4, 0);
  std::copy(good.begin(), good.end(), block);
  block[20] = 0x90;
  rig.link.SendPartBlock(4, 0);
  Bytes com2 = rig.instrument.BulkDump(kModelCs, 0x60, 0x00, 0x40);
  PerformanceRecord record{};
  std::copy(com2.begin(), com2.end(), record.Com2.begin());
  record.Com2[15] = 0xFF;
  rig.link.SendPerformanceBlock(record, PerfBlock::kCom2);
  EXPECT_TRUE(rig.Sent().empty());
  block[20] = 0x10;  // valid again: it leaves
  rig.link.SendPartBlock(4, 0);
  EXPECT_EQ(rig.Sent().size(), 1u);

  // A reply of the right model, address and length with a status byte
  // inside and a checksum made to fit.
  rig.Silence();
  Bytes reply = Expected(rig.instrument, 4, 1);
  reply[12] = 0xE9;
  StoreBulkChecksum(reply.data(), reply.size());
  ASSERT_TRUE(MidiLink::IsExpectedReply(DumpRequest::ForMultiPart(4, 0), Expected(rig.instrument, 4, 0).data(), 52));
  EXPECT_FALSE(MidiLink::IsExpectedReply(DumpRequest::ForMultiPart(4, 1), reply.data(), reply.size()));
  rig.backend.onSend = [&rig, reply](const Bytes&) { rig.backend.Deliver(reply); };
  const Bytes before = Stored(rig.model, 4, 1);
  rig.link.RtrvDump(DumpRequest::ForMultiPart(4, 1));
  EXPECT_EQ(Stored(rig.model, 4, 1), before);
}

}  // namespace
}  // namespace qv::test
