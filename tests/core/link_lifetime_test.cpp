// A MIDI link destroyed while its input is open: input that arrives then,
// or while it is being destroyed, never reaches it. Run it under
// AddressSanitizer to see a call into the destroyed link.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "instrument/messages.h"
#include "link/midi_link.h"
#include "scripted_prompts.h"

namespace qv::test {
namespace {

class NoTrace : public TraceSink {
 public:
  void ClearTrace() override {}
  void AddTraceLine(const std::string&) override {}
};

TEST(LinkLifetime, InputArrivingWhileAndAfterTheLinkIsDestroyedReachesNothing) {
  FakeMidiBackend backend;
  ScriptedPrompts prompts;
  FastClock clock;
  DataModel model;
  NoTrace trace;
  for (int round = 0; round < 50; ++round) {
    auto link = std::make_unique<MidiLink>(backend, prompts, clock, model, trace);
    ASSERT_EQ(link->OpenOutput(), kMidiOk);
    ASSERT_EQ(link->OpenInput(), kMidiOk);
    ASSERT_EQ(link->ConnectThru(), kMidiOk);
    ASSERT_EQ(link->StartInput(), kMidiOk);
    // The driver's thread delivers without pause while the link goes.
    std::atomic<bool> stop{false};
    std::thread driver([&] {
      const Bytes reply = {0xF0, 0x43, 0x00, 0x63, 0x00, 0x01, 0x60, 0x00, 0x00, 0x01, 0x1E, 0xF7};
      while (!stop) backend.Deliver(reply);
    });
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    link.reset();
    EXPECT_FALSE(backend.inOpen);
    EXPECT_FALSE(backend.thruConnected);
    stop = true;
    driver.join();
    backend.Deliver({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
    ASSERT_EQ(backend.OutClose(), kMidiOk);
  }
  EXPECT_TRUE(prompts.Messages().empty());  // leaving shows no box
}

}  // namespace
}  // namespace qv::test
