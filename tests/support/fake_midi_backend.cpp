#include "fake_midi_backend.h"

#include <chrono>

#include "wire_time.h"

namespace qv::test {

FakeMidiBackend::FakeMidiBackend() = default;

void FakeMidiBackend::Fail(const std::string& op, int code, int times) {
  std::lock_guard<std::mutex> lock(mutex_);
  failures_[op] = {code, times};
}

int FakeMidiBackend::Call(const std::string& op) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(op);
  auto it = failures_.find(op);
  if (it == failures_.end()) return kMidiOk;
  auto& [code, times] = it->second;
  if (times == 0) return kMidiOk;
  if (times > 0) --times;
  return code;
}

void FakeMidiBackend::Deliver(const Bytes& message) {
  // As a driver does: a handler call in progress ends before InClose returns.
  std::lock_guard<std::mutex> delivering(deliverMutex_);
  MidiInputHandler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!inOpen || !inStarted || lost_.system || lost_.input) return;
    handler = handler_;
    if (thruConnected) {
      thru_.push_back(message);
      sent_.push_back(message);
    }
  }
  if (handler && !message.empty() && message[0] == 0xF0) handler(message.data(), message.size());
}

void FakeMidiBackend::DeliverEvent(const Bytes& event) {
  std::vector<Bytes> whole;
  {
    std::lock_guard<std::mutex> delivering(deliverMutex_);
    assembler_.Take(event.data(), event.size(), InputAssembler::Clock::now(),
                    [&whole](const Byte* d, std::size_t n) { whole.emplace_back(d, d + n); });
  }
  for (const Bytes& m : whole) Deliver(m);
}

void FakeMidiBackend::Lose(bool system, bool output, bool input, bool noticed) {
  std::function<void()> notice;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lost_.system |= system;
    lost_.output |= output || system;
    lost_.input |= input || system;
    lost_.outName = outputNames.empty() ? "" : outputNames[0];
    lost_.inName = inputNames.empty() ? "" : inputNames[0];
    thruConnected = false;
    if (noticed) notice = notice_;
  }
  if (notice) notice();
}

DeviceLoss FakeMidiBackend::CheckDevices() {
  DeviceLoss seen;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    seen = lost_;
  }
  if (onCheck) onCheck();
  return seen;
}

void FakeMidiBackend::SetLossNotice(std::function<void()> notice) {
  std::lock_guard<std::mutex> lock(mutex_);
  notice_ = std::move(notice);
}

int FakeMidiBackend::Restore() {
  if (int rc = Call("Restore")) return rc;
  std::lock_guard<std::mutex> lock(mutex_);
  lost_ = {};
  ++restores;
  return kMidiOk;
}

std::vector<Bytes> FakeMidiBackend::Sent() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sent_;
}
std::vector<Bytes> FakeMidiBackend::ThruForwarded() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return thru_;
}
std::vector<std::string> FakeMidiBackend::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}
void FakeMidiBackend::ClearRecords() {
  std::lock_guard<std::mutex> lock(mutex_);
  sent_.clear();
  thru_.clear();
  calls_.clear();
}

int FakeMidiBackend::OutGetNumDevs() { return static_cast<int>(outputNames.size()); }
int FakeMidiBackend::OutGetDevCaps(int device, std::string& name) {
  if (int rc = Call("OutGetDevCaps")) return rc;
  if (device < 0 || device >= static_cast<int>(outputNames.size())) return kMidiBadDeviceId;
  name = outputNames[static_cast<std::size_t>(device)];
  return kMidiOk;
}
int FakeMidiBackend::InGetNumDevs() { return static_cast<int>(inputNames.size()); }
int FakeMidiBackend::InGetDevCaps(int device, std::string& name) {
  if (int rc = Call("InGetDevCaps")) return rc;
  if (device < 0 || device >= static_cast<int>(inputNames.size())) return kMidiBadDeviceId;
  name = inputNames[static_cast<std::size_t>(device)];
  return kMidiOk;
}

int FakeMidiBackend::OutOpen(int device) {
  if (int rc = Call("OutOpen")) return rc;
  if (device < 0 || device >= static_cast<int>(outputNames.size())) return kMidiBadDeviceId;
  outOpen = true;
  return kMidiOk;
}
int FakeMidiBackend::OutPrepareHeader(const Bytes&) {
  if (int rc = Call("OutPrepareHeader")) return rc;
  return outOpen ? kMidiOk : kMidiInvalidHandle;
}
int FakeMidiBackend::OutLongMsg(const Bytes& message) {
  if (int rc = Call("OutLongMsg")) return rc;
  if (!outOpen) return kMidiInvalidHandle;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.push_back(message);  // also to a device that is gone: a test sees it
    if (lost_.system || lost_.output) return kMidiOk;
  }
  if (sendMicrosPerByte > 0)
    WaitWireTime(std::chrono::microseconds(sendMicrosPerByte * static_cast<int>(message.size())));
  if (onSend) onSend(message);
  return kMidiOk;
}
int FakeMidiBackend::OutUnprepareHeader() { return Call("OutUnprepareHeader"); }
int FakeMidiBackend::OutReset() { return Call("OutReset"); }
int FakeMidiBackend::OutClose() {
  if (int rc = Call("OutClose")) return rc;
  outOpen = false;
  return kMidiOk;
}

int FakeMidiBackend::InOpen(int device, MidiInputHandler handler) {
  if (int rc = Call("InOpen")) return rc;
  if (device < 0 || device >= static_cast<int>(inputNames.size())) return kMidiBadDeviceId;
  std::lock_guard<std::mutex> lock(mutex_);
  handler_ = std::move(handler);
  inOpen = true;
  return kMidiOk;
}
int FakeMidiBackend::InPrepareHeader() {
  if (int rc = Call("InPrepareHeader")) return rc;
  return inOpen ? kMidiOk : kMidiInvalidHandle;
}
int FakeMidiBackend::InAddBuffer() {
  if (int rc = Call("InAddBuffer")) return rc;
  return inOpen ? kMidiOk : kMidiInvalidHandle;
}
int FakeMidiBackend::InStart() {
  if (int rc = Call("InStart")) return rc;
  if (!inOpen) return kMidiInvalidHandle;
  std::lock_guard<std::mutex> lock(mutex_);
  inStarted = true;
  return kMidiOk;
}
int FakeMidiBackend::InStop() {
  if (int rc = Call("InStop")) return rc;
  if (!inOpen) return kMidiInvalidHandle;
  std::lock_guard<std::mutex> lock(mutex_);
  inStarted = false;
  return kMidiOk;
}
int FakeMidiBackend::InReset() {
  if (int rc = Call("InReset")) return rc;
  if (!inOpen) return kMidiInvalidHandle;
  std::lock_guard<std::mutex> lock(mutex_);
  inStarted = false;
  return kMidiOk;
}
int FakeMidiBackend::InUnprepareHeader() {
  if (int rc = Call("InUnprepareHeader")) return rc;
  return inOpen ? kMidiOk : kMidiInvalidHandle;
}
int FakeMidiBackend::InClose() {
  if (int rc = Call("InClose")) return rc;
  if (!inOpen) return kMidiInvalidHandle;
  std::lock_guard<std::mutex> delivering(deliverMutex_);
  std::lock_guard<std::mutex> lock(mutex_);
  inOpen = false;
  inStarted = false;
  handler_ = nullptr;
  return kMidiOk;
}
int FakeMidiBackend::Connect() {
  if (int rc = Call("Connect")) return rc;
  if (!inOpen || !outOpen) return kMidiInvalidHandle;
  std::lock_guard<std::mutex> lock(mutex_);
  thruConnected = true;
  return kMidiOk;
}
int FakeMidiBackend::Disconnect() {
  if (int rc = Call("Disconnect")) return rc;
  std::lock_guard<std::mutex> lock(mutex_);
  thruConnected = false;
  return kMidiOk;
}

}  // namespace qv::test
