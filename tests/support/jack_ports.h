#pragma once
// Test clients on a running JACK server: an emulated CS2x behind MIDI ports
// of its own, and a keyboard that plays into a chosen port. The real-port
// tests use them with the program's RtMidi backend on JACK.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cs2x_emulator.h"
#include "fake_midi_backend.h"
#include "instrument/bytes.h"
#include "link/midi_backend.h"

class RtMidiIn;
class RtMidiOut;
struct _jack_client;

namespace qv::test {

// Whether the real-port tests can run. Without a server they are skipped
// with `skipReason` set, unless CI=true, where a skip counts as a failure.
bool JackAvailable(std::string& skipReason);
bool SkipMustFail();

// A name no other test process on the server uses: prefix-<pid>.
std::string UniqueClientName(const std::string& prefix);

// The device number of the port named `name` in a backend's list, or -1.
int OutputDevice(MidiBackend& backend, const std::string& name);
int InputDevice(MidiBackend& backend, const std::string& name);

// What the emulated CS2x saw at its ports, in order, with the time of each.
struct PortEvent {
  enum Kind { Received, ReplySent } kind;
  Bytes message;
  std::chrono::steady_clock::time_point at;
};

// The existing emulator behind two JACK ports: every message arriving at
// "<client>-in:MIDI In" goes to the emulator as from a wire, and its replies
// leave at "<client>:MIDI Out".
class JackCs2x {
 public:
  explicit JackCs2x(const std::string& clientName);
  ~JackCs2x();
  JackCs2x(const JackCs2x&) = delete;
  JackCs2x& operator=(const JackCs2x&) = delete;

  bool Ready() const { return ready_; }
  std::string InPort() const { return inPort_; }
  std::string OutPort() const { return outPort_; }
  Cs2xEmulator& Instrument() { return *instrument_; }

  // Waits until `count` messages have arrived (or `bound` has passed), then
  // until the emulator has handled them; returns every message received.
  std::vector<Bytes> Received(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(5));
  std::vector<PortEvent> Events() const;
  void ClearEvents();

 private:
  static void OnInput(double, std::vector<unsigned char>* message, void* self);
  void Feed();  // hands what arrived to the emulator, off JACK's thread

  std::string inPort_, outPort_;
  bool ready_ = false;
  FakeMidiBackend wire_;  // the emulator's side of the cable
  std::unique_ptr<Cs2xEmulator> instrument_;
  std::unique_ptr<RtMidiIn> in_;
  std::unique_ptr<RtMidiOut> out_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<PortEvent> events_;
  std::vector<Bytes> toFeed_;
  std::size_t receivedCount_ = 0;  // handed to the emulator
  bool stop_ = false;
  std::thread feeder_;
};

// A keyboard: one JACK output port connected to the input port `destination`.
class JackKeyboard {
 public:
  JackKeyboard(const std::string& clientName, const std::string& destination);
  ~JackKeyboard();
  bool Ready() const { return ready_; }
  void Play(const Bytes& message);

 private:
  bool ready_ = false;
  std::unique_ptr<RtMidiOut> out_;
};

// Counts the server's xruns from its making on: periods in which a client
// did not finish in time. A period like that may lose MIDI events, which
// says nothing of the program: the tests then run their scenario again.
class JackXrunWatch {
 public:
  JackXrunWatch();
  ~JackXrunWatch();
  JackXrunWatch(const JackXrunWatch&) = delete;
  JackXrunWatch& operator=(const JackXrunWatch&) = delete;
  int Count() const { return count_; }

 private:
  static int OnXrun(void* self);
  _jack_client* client_ = nullptr;
  std::atomic<int> count_{0};
};

// The full name of a JACK input port whose name starts with clientPrefix and
// ends with ":port", or "" (e.g. the program's "Quorvane In").
std::string FindInputPort(const std::string& clientPrefix, const std::string& port);

}  // namespace qv::test
