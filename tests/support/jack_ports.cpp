#include "jack_ports.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "link/rtmidi_backend.h"

// The JACK library keeps its metadata in a Berkeley DB shared by every
// server and client of the user, and a server that stops deletes its files
// under the others: a client opened afterwards may fail to open it, and the
// library then drops what it had allocated without freeing it. The tests
// start and stop servers of their own, so the leak sanitizer is told to
// pass over that one leak of the library's.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdb-\n"; }

namespace qv::test {

bool SkipMustFail() {
  const char* ci = std::getenv("CI");
  return ci && std::strcmp(ci, "true") == 0;
}

bool JackAvailable(std::string& skipReason) {
  if (RtMidiBackend::JackServerRunning()) return true;
  skipReason = "no JACK server is running: the tests over real MIDI ports need one "
               "(./quorvane.sh test starts jackd with its dummy driver)";
  return false;
}

std::string UniqueClientName(const std::string& prefix) { return prefix + "-" + std::to_string(getpid()); }

int OutputDevice(MidiBackend& backend, const std::string& name) {
  for (int d = 0; d < backend.OutGetNumDevs(); ++d) {
    std::string found;
    if (backend.OutGetDevCaps(d, found) == kMidiOk && found == name) return d;
  }
  return -1;
}

int InputDevice(MidiBackend& backend, const std::string& name) {
  for (int d = 0; d < backend.InGetNumDevs(); ++d) {
    std::string found;
    if (backend.InGetDevCaps(d, found) == kMidiOk && found == name) return d;
  }
  return -1;
}

std::string FindInputPort(const std::string& clientPrefix, const std::string& port) {
  jack_client_t* client = jack_client_open(UniqueClientName("port finder").c_str(), JackNoStartServer, nullptr);
  if (!client) return {};
  std::string result;
  if (const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput)) {
    for (const char** p = ports; *p; ++p) {
      const std::string name = *p;
      const std::size_t colon = name.find(':');
      if (name.rfind(clientPrefix, 0) == 0 && colon != std::string::npos && name.substr(colon + 1) == port)
        result = name;
    }
    jack_free(ports);
  }
  jack_client_close(client);
  return result;
}

JackXrunWatch::JackXrunWatch() {
  client_ = jack_client_open(UniqueClientName("xrun watch").c_str(), JackNoStartServer, nullptr);
  if (!client_) return;
  jack_set_xrun_callback(client_, &JackXrunWatch::OnXrun, this);
  jack_activate(client_);
}

JackXrunWatch::~JackXrunWatch() {
  if (client_) jack_client_close(client_);
}

int JackXrunWatch::OnXrun(void* self) {
  ++static_cast<JackXrunWatch*>(self)->count_;
  return 0;
}

// ---- the emulated CS2x ---------------------------------------------------

JackCs2x::JackCs2x(const std::string& clientName) {
  // The emulator's replies reach the input handler of its side of the cable.
  wire_.OutOpen(0);
  wire_.InOpen(0, [this](const Byte* data, std::size_t length) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back({PortEvent::ReplySent, Bytes(data, data + length), std::chrono::steady_clock::now()});
    }
    if (out_) out_->sendMessage(data, length);
  });
  wire_.InStart();
  instrument_ = std::make_unique<Cs2xEmulator>(wire_);
  feeder_ = std::thread([this] { Feed(); });
  if (!RtMidiBackend::JackServerRunning()) return;
  try {
    // RtMidi opens a client for each side; each gets a name of its own.
    out_ = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, clientName);
    out_->openVirtualPort("MIDI Out");
    in_ = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, clientName + "-in");
    in_->ignoreTypes(false, false, false);
    in_->setCallback(&JackCs2x::OnInput, this);
    in_->openVirtualPort("MIDI In");
    inPort_ = FindInputPort(clientName + "-in", "MIDI In");
    outPort_ = clientName + ":MIDI Out";
    ready_ = !inPort_.empty();
    std::this_thread::sleep_for(RtMidiBackend::JackSettleTime());
  } catch (const RtMidiError&) {
    ready_ = false;
  }
}

JackCs2x::~JackCs2x() {
  in_.reset();  // no more input: then the emulator may stop
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  arrived_.notify_all();
  feeder_.join();
  instrument_.reset();
  out_.reset();
}

// Runs on JACK's thread: as little as possible, so that the client finishes
// within its period (a late client loses MIDI events).
void JackCs2x::OnInput(double, std::vector<unsigned char>* message, void* self) {
  auto* me = static_cast<JackCs2x*>(self);
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard<std::mutex> lock(me->mutex_);
    me->events_.push_back({PortEvent::Received, Bytes(message->begin(), message->end()), now});
    me->toFeed_.emplace_back(message->begin(), message->end());
  }
  me->arrived_.notify_one();
}

void JackCs2x::Feed() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    arrived_.wait(lock, [this] { return stop_ || !toFeed_.empty(); });
    if (stop_) return;
    std::vector<Bytes> batch;
    batch.swap(toFeed_);
    lock.unlock();
    for (const Bytes& m : batch) wire_.OutLongMsg(m);  // queued for the emulator before it is counted
    lock.lock();
    receivedCount_ += batch.size();
  }
}

std::vector<Bytes> JackCs2x::Received(std::size_t count, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (receivedCount_ >= count) break;
    }
    if (std::chrono::steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return instrument_->Received();
}

std::vector<PortEvent> JackCs2x::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

void JackCs2x::ClearEvents() {
  instrument_->ClearReceived();
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
  receivedCount_ = 0;
}

// ---- the keyboard --------------------------------------------------------

JackKeyboard::JackKeyboard(const std::string& clientName, const std::string& destination) {
  if (destination.empty() || !RtMidiBackend::JackServerRunning()) return;
  try {
    out_ = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, clientName);
    for (unsigned i = 0; i < out_->getPortCount(); ++i)
      if (out_->getPortName(i) == destination) {
        out_->openPort(i, "keys");
        ready_ = out_->isPortOpen();
        std::this_thread::sleep_for(RtMidiBackend::JackSettleTime());
        break;
      }
  } catch (const RtMidiError&) {
    ready_ = false;
  }
}

JackKeyboard::~JackKeyboard() = default;

void JackKeyboard::Play(const Bytes& message) {
  if (ready_) out_->sendMessage(message.data(), message.size());
}

}  // namespace qv::test
