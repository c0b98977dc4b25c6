// The RtMidi backend's knowledge of devices that went away and of a JACK
// server that hangs, and the bound on a send under JACK.

#include <rtmidi/RtMidi.h>

#include <algorithm>

#include "link/jack_watch.h"
#include "link/rtmidi_backend.h"

namespace qv {

namespace {

// Whether a port of that name is in the list of one side of RtMidi.
template <class Port>
bool Listed(Port& port, const std::string& name) {
  try {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i)
      if (port.getPortName(i) == name) return true;
  } catch (...) {
  }
  return false;
}

template <class Port>
int IndexOf(Port& port, const std::string& name) {
  const unsigned count = port.getPortCount();
  for (unsigned i = 0; i < count; ++i)
    if (port.getPortName(i) == name) return static_cast<int>(i);
  return -1;
}

// RtMidi's JACK output buffer holds 16 KB; half of it is counted as room.
constexpr std::size_t kJackRoom = 8 * 1024;
// RtMidi's client has surely drained what was written once this many of the
// server's periods have run since.
constexpr unsigned long kDrainPeriods = 3;

}  // namespace

void RtMidiBackend::LeaveClientsBehind() {
  static auto* const keptIn = new std::vector<std::unique_ptr<RtMidiIn>>();  // never freed
  static auto* const keptOut = new std::vector<std::unique_ptr<RtMidiOut>>();
  static auto* const keptWatch = new std::vector<std::unique_ptr<JackWatch>>();
  if (in_) keptIn->push_back(std::move(in_));
  if (out_) keptOut->push_back(std::move(out_));
  if (jack_) {
    // Its client is not closed, so nothing waits for JACK's threads: they may
    // still be in a call of the watch. The watch stays, and from now on
    // hands nothing on to this backend.
    jack_->DropInput();
    jack_->Silence();
    keptWatch->push_back(std::move(jack_));
  }
  leftOpen_ = false;
}

bool RtMidiBackend::ServerAnswers() { return !jack_ || (!jack_->ServerGone() && jack_->NextPeriod()); }

bool RtMidiBackend::Stalled() { return jack_ && jack_->Stalled(); }

DeviceLoss RtMidiBackend::CheckDevices() {
  bool outOpen;
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    outOpen = outOpen_;
  }
  const bool inOpen = inOpen_.load();
  DeviceLoss now;
  if (api_ == MidiApi::Jack) {
    if (jack_ && jack_->ServerGone()) {
      now.system = outOpen || inOpen;
      now.output = outOpen;
      now.input = inOpen;
    } else if (jack_) {
      now.output = outOpen && (jack_->OutGone() || !jack_->PortExists(outPortName_));
      now.input = inOpen && (jack_->InGone() || !jack_->PortExists(inPortName_));
    }
  } else {
    // ALSA: a port whose device was unplugged, or whose client ended, leaves
    // the sequencer's lists.
    if (outOpen && out_) {
      std::lock_guard<std::mutex> lock(sendMutex_);
      now.output = !Listed(*out_, outPortName_);
    }
    if (inOpen && in_) now.input = !Listed(*in_, inPortName_);
  }
  lost_.system |= now.system;
  lost_.output |= now.output;
  lost_.input |= now.input;
  lost_.outName = outPortName_;
  lost_.inName = inPortName_;
  if (lost_.Any()) thruConnected_ = false;
  return lost_;
}

void RtMidiBackend::SetLossNotice(std::function<void()> notice) {
  std::lock_guard<std::mutex> lock(noticeMutex_);
  notice_ = std::move(notice);
}

void RtMidiBackend::Noticed() {
  thruConnected_ = false;
  std::lock_guard<std::mutex> lock(noticeMutex_);
  if (notice_) notice_();
}

int RtMidiBackend::Restore() {
  thruConnected_ = false;
  inStarted_ = false;
  inOpen_ = false;
  SetHandler(nullptr);
  if (jack_ && !jack_->CloseInput()) leftOpen_ = true;
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    outOpen_ = false;
  }
  if (api_ == MidiApi::Jack && (!jack_ || jack_->ServerGone() || leftOpen_)) {
    // The clients of a stopped server are dead, and those of a server that
    // hung hold ports that were never closed: new ones on the server now
    // running.
    if (leftOpen_ || (jack_ && jack_->ServerGone())) LeaveClientsBehind();
    jack_.reset();
    in_.reset();
    out_.reset();
    MakeClients();
    settle_ = (in_ || out_) ? JackSettleTime() : std::chrono::microseconds(0);
  }
  {
    std::lock_guard<std::mutex> lock(roomMutex_);
    pending_ = 0;
    pendingCycle_ = jack_ ? jack_->Cycles() : 0;
  }
  lost_ = {};
  std::lock_guard<std::mutex> lock(sendMutex_);
  UpdateWatch();
  return in_ && out_ ? kMidiOk : kMidiNoDriver;
}

int RtMidiBackend::DeviceNow(bool output, int device) {
  const std::vector<std::string>& listed = output ? listedOut_ : listedIn_;
  if (device < 0 || static_cast<std::size_t>(device) >= listed.size() || listed[device].empty()) return device;
  const int now = output ? IndexOf(*out_, listed[device]) : IndexOf(*in_, listed[device]);
  return now;  // -1: no device of that name now
}

// Under sendMutex_.
void RtMidiBackend::UpdateWatch() {
  if (jack_) jack_->Watch(outOpen_ ? outPortName_ : std::string(), inOpen_ ? inPortName_ : std::string());
}

bool RtMidiBackend::RoomFor(std::size_t size, bool mayWait) {
  if (!jack_) return true;  // ALSA's sequencer is not waited on: RtMidi opens it not blocking
  // A server that runs no periods takes nothing: what was written would
  // leave whenever it runs again, if ever.
  if (jack_->ServerGone() || jack_->Stalled()) return false;
  std::unique_lock<std::mutex> lock(roomMutex_);
  const std::size_t need = size + sizeof(int);  // RtMidi writes the length before the message
  const auto drained = [this] { return jack_->Cycles() >= pendingCycle_ + kDrainPeriods; };
  const auto full = [this, need] { return pending_ + need > kJackRoom; };
  const auto restart = [this] {
    pending_ = 0;
    pendingCycle_ = jack_->Cycles();
  };
  if (drained()) restart();
  if (full()) {
    if (!mayWait) return false;
    // However late the periods come on a busy machine, the send waits for
    // them; only a server that stops running them ends it. The lock is let
    // go while sleeping: thru on JACK's process thread takes it too, and the
    // periods counted here only run once that thread is free.
    while (full() && !drained() && !jack_->ServerGone() && !jack_->Stalled()) {
      lock.unlock();
      clock_.Sleep(std::max<std::chrono::microseconds>(jack_->Period() / 4, std::chrono::microseconds(200)));
      lock.lock();
    }
    if (drained())
      restart();
    else if (full())  // another sender may have restarted the count meanwhile
      return false;
  }
  pending_ += need;
  return true;
}

}  // namespace qv
