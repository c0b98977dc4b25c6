#pragma once
// A MidiLink on the fake backend with scripted boxes, a clock that does not
// sleep and a recording trace, both devices open.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "fast_clock.h"
#include "link/midi_link.h"
#include "scripted_prompts.h"

namespace qv::test {

class RecordingTrace : public TraceSink {
 public:
  std::vector<std::string> lines;
  void ClearTrace() override { lines.clear(); }
  void AddTraceLine(const std::string& line) override { lines.push_back(line); }
};

// A FastClock whose reply wait first lets the emulated instrument handle
// everything sent so far: whether the reply ended the wait is then decided
// by the link alone, not by thread timing.
class SettlingClock : public FastClock {
 public:
  Cs2xEmulator* instrument = nullptr;
  bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, std::chrono::milliseconds bound,
               const std::function<bool()>& ready) override {
    if (instrument) {
      lock.unlock();  // the input handler needs the lock to deliver
      instrument->WaitIdle();
      lock.lock();
    }
    return FastClock::WaitFor(cv, lock, bound, ready);
  }
};

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : link(fake, prompts, clock, model, trace) {
    EXPECT_EQ(link.OpenOutput(), kMidiOk);
    EXPECT_EQ(link.OpenInput(), kMidiOk);
    fake.ClearRecords();
  }

  // The instrument on the far side of the fake; replies are awaited.
  Cs2xEmulator& Instrument() {
    if (!instrument) {
      instrument = std::make_unique<Cs2xEmulator>(fake);
      clock.instrument = instrument.get();
    }
    return *instrument;
  }

  // Thru and input running, as after start-up; records cleared.
  void RunningThru() {
    ASSERT_EQ(link.ConnectThru(), kMidiOk);
    ASSERT_EQ(link.StartInput(), kMidiOk);
    fake.ClearRecords();
  }

  static std::string Box(const std::string& operation, int code) {
    return "Operation: " + operation + "\r\n" + MidiErrorText(code);
  }

  DataModel model;
  FakeMidiBackend fake;
  ScriptedPrompts prompts;
  SettlingClock clock;
  RecordingTrace trace;
  MidiLink link;
  std::unique_ptr<Cs2xEmulator> instrument;  // destroyed before the link and the fake
};

}  // namespace qv::test
