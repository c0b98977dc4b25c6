#include <gtest/gtest.h>
#include <unistd.h>

#include "fast_clock.h"
#include "instrument/messages.h"
#include "link/midi_link.h"
#include "link/rtmidi_backend.h"
#include "scripted_prompts.h"

namespace qv::test {
namespace {

bool HasSequencer() { return access("/dev/snd/seq", F_OK) == 0; }

class NoTrace : public TraceSink {
 public:
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override { ++lines; }
  int lines = 0;
};

TEST(RtMidiBackend, WithoutASoundSystemListsNothingAndOpeningFailsQuietly) {
  if (HasSequencer()) GTEST_SKIP() << "this machine has an ALSA sequencer";
  testing::internal::CaptureStderr();
  {
    RtMidiBackend backend;
    EXPECT_FALSE(backend.Available());
    EXPECT_EQ(backend.OutGetNumDevs(), 0);
    EXPECT_EQ(backend.InGetNumDevs(), 0);
    std::string name = "unchanged";
    EXPECT_NE(backend.OutGetDevCaps(0, name), kMidiOk);
    EXPECT_NE(backend.InGetDevCaps(0, name), kMidiOk);
    EXPECT_EQ(name, "unchanged");

    ScriptedPrompts prompts;
    FastClock clock;
    DataModel model;
    NoTrace trace;
    MidiLink link(backend, prompts, clock, model, trace);
    EXPECT_EQ(link.OpenOutput(), kMidiNoDriver);
    EXPECT_EQ(link.OpenInput(), kMidiNoDriver);
    EXPECT_FALSE(link.OutputOpen());
    EXPECT_FALSE(link.InputOpen());
    ASSERT_EQ(prompts.Messages().size(), 2u);
    for (const std::string& box : prompts.Messages()) {
      EXPECT_EQ(box.rfind("Operation: Open\r\nNo MIDI system is available on this computer", 0), 0u) << box;
    }
    EXPECT_NE(prompts.Messages()[0].find("output"), std::string::npos);
    EXPECT_NE(prompts.Messages()[1].find("input"), std::string::npos);

    // What the program does next goes on without a crash, each failure in its box.
    prompts.Clear();
    link.SendSysEx(RqstCom1());
    link.RtrvDump(DumpRequest::ForPerformance(PerfBlock::kCom1));
    link.ConnectThru();
    EXPECT_EQ(prompts.Messages(),
              (std::vector<std::string>{"Operation: Out Prepare \r\n" + MidiErrorText(kMidiInvalidHandle),
                                        "Operation: InPrepHdr\r\n" + MidiErrorText(kMidiInvalidHandle),
                                        "Operation: Connect\r\n" + MidiErrorText(kMidiInvalidHandle)}));
    EXPECT_EQ(trace.lines, 0);
    EXPECT_EQ(clock.virtualMs, 0);
  }
  RtMidiBackend second;  // a second client is as quiet as the first
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(RtMidiBackend, DeviceOperationsNeedAnOpenDevice) {
  testing::internal::CaptureStderr();
  RtMidiBackend backend;
  const Bytes message = RqstCom0();
  EXPECT_EQ(backend.OutPrepareHeader(message), kMidiInvalidHandle);
  EXPECT_EQ(backend.OutLongMsg(message), kMidiInvalidHandle);
  EXPECT_EQ(backend.OutUnprepareHeader(), kMidiOk);
  EXPECT_EQ(backend.OutReset(), kMidiInvalidHandle);
  EXPECT_EQ(backend.OutClose(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InPrepareHeader(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InAddBuffer(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InStart(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InStop(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InReset(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InUnprepareHeader(), kMidiInvalidHandle);
  EXPECT_EQ(backend.InClose(), kMidiInvalidHandle);
  EXPECT_EQ(backend.Connect(), kMidiInvalidHandle);
  EXPECT_EQ(backend.Disconnect(), kMidiInvalidHandle);
  // Device numbers from outside the lists are refused.
  EXPECT_NE(backend.OutOpen(-1), kMidiOk);
  EXPECT_NE(backend.OutOpen(backend.OutGetNumDevs()), kMidiOk);
  EXPECT_NE(backend.InOpen(backend.InGetNumDevs(), nullptr), kMidiOk);
  EXPECT_EQ(backend.OutPrepareHeader(message), kMidiInvalidHandle);
  for (int code : {1, 2, 5, 6, 7, 11, 65, 999}) {
    EXPECT_FALSE(backend.InErrorText(code).empty());
    EXPECT_FALSE(backend.OutErrorText(code).empty());
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace qv::test

namespace qv {
namespace {

TEST(RtMidiBackendAddress, SequencerAddressEndsThePortName) {
  EXPECT_EQ(RtMidiBackend::AlsaAddress("Midi Through:Midi Through Port-0 14:0"), "14:0");
  EXPECT_EQ(RtMidiBackend::AlsaAddress("UM-ONE:UM-ONE MIDI 1 24:0"), "24:0");
  EXPECT_EQ(RtMidiBackend::AlsaAddress("Some Port"), "");
  EXPECT_EQ(RtMidiBackend::AlsaAddress("Port 14:"), "");
  EXPECT_EQ(RtMidiBackend::AlsaAddress(""), "");
}

}  // namespace
}  // namespace qv
