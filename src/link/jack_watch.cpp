#include "link/jack_watch.h"

#include <algorithm>
#include <thread>
#include <utility>

#if defined(QUORVANE_HAVE_JACK)
#include <jack/jack.h>
#include <jack/midiport.h>
#endif

namespace qv {

#if defined(QUORVANE_HAVE_JACK)

namespace {
std::string ClientOf(const std::string& portName) { return portName.substr(0, portName.find(':')); }
std::chrono::steady_clock::rep Now() { return std::chrono::steady_clock::now().time_since_epoch().count(); }
}  // namespace

JackWatch::JackWatch(const std::string& clientName, std::function<void()> onLoss) : onLoss_(std::move(onLoss)) {
  lastPeriod_.store(Now());
  client_ = jack_client_open(clientName.c_str(), JackNoStartServer, nullptr);
  if (!client_) return;
  jack_on_info_shutdown(
      client_, [](jack_status_t code, const char* reason, void* self) { OnShutdown(static_cast<int>(code), reason, self); },
      this);
  jack_set_client_registration_callback(client_, &JackWatch::OnClient, this);
  jack_set_port_registration_callback(client_, &JackWatch::OnPort, this);
  jack_set_process_callback(client_, &JackWatch::OnProcess, this);
  period_ = std::chrono::microseconds(
      static_cast<long long>(1e6 * jack_get_buffer_size(client_) / jack_get_sample_rate(client_)));
  if (jack_activate(client_) != 0) {
    jack_client_close(client_);
    client_ = nullptr;
  }
}

JackWatch::~JackWatch() {
  if (!client_) return;
  // A client of a server that has gone is left as it is: closing it would
  // wait for an answer that never comes.
  if (!serverGone_.load()) jack_client_close(client_);
}

void JackWatch::Lost() {
  std::lock_guard<std::mutex> lock(lossMutex_);
  if (onLoss_) onLoss_();
}

void JackWatch::Silence() {
  std::lock_guard<std::mutex> lock(lossMutex_);  // waits for a call in progress
  onLoss_ = nullptr;
}

void JackWatch::OnShutdown(int, const char*, void* self) {
  auto* me = static_cast<JackWatch*>(self);
  me->serverGone_.store(true);
  me->Lost();
}

void JackWatch::OnClient(const char* name, int registered, void* self) {
  auto* me = static_cast<JackWatch*>(self);
  if (registered || !name) return;
  bool lost = false;
  {
    std::lock_guard<std::mutex> lock(me->namesMutex_);
    if (!me->outPortName_.empty() && ClientOf(me->outPortName_) == name) lost = true, me->outGone_.store(true);
    if (!me->inPortName_.empty() && ClientOf(me->inPortName_) == name) lost = true, me->inGone_.store(true);
  }
  if (lost) me->Lost();
}

void JackWatch::OnPort(unsigned id, int registered, void* self) {
  auto* me = static_cast<JackWatch*>(self);
  if (registered) return;
  jack_port_t* port = jack_port_by_id(me->client_, id);
  const char* portName = port ? jack_port_name(port) : nullptr;
  if (!portName) return;
  bool lost = false;
  {
    std::lock_guard<std::mutex> lock(me->namesMutex_);
    if (me->outPortName_ == portName) lost = true, me->outGone_.store(true);
    if (me->inPortName_ == portName) lost = true, me->inGone_.store(true);
  }
  if (lost) me->Lost();
}

int JackWatch::OnProcess(unsigned frames, void* self) {
  auto* me = static_cast<JackWatch*>(self);
  if (me->eventsMutex_.try_lock()) {
    if (me->inPort_) {
      void* buffer = jack_port_get_buffer(me->inPort_, frames);
      const std::uint32_t count = jack_midi_get_event_count(buffer);
      for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) == 0 && me->events_) me->events_(event.buffer, event.size);
      }
    }
    me->eventsMutex_.unlock();
  }
  me->lastPeriod_.store(Now());
  me->cycles_.fetch_add(1);
  return 0;
}

bool JackWatch::Stalled() const {
  const std::chrono::steady_clock::duration since(Now() - lastPeriod_.load());
  return since > kStallTime;
}

bool JackWatch::NextPeriod() {
  const unsigned long seen = cycles_.load();
  while (cycles_.load() == seen) {
    if (!client_ || serverGone_.load() || Stalled()) return false;
    std::this_thread::sleep_for(std::max<std::chrono::microseconds>(period_ / 4, std::chrono::microseconds(200)));
  }
  return true;
}

bool JackWatch::PortExists(const std::string& name) {
  if (!client_ || serverGone_.load()) return false;
  return jack_port_by_name(client_, name.c_str()) != nullptr;
}

void JackWatch::Watch(const std::string& outPort, const std::string& inPort) {
  std::lock_guard<std::mutex> lock(namesMutex_);
  outPortName_ = outPort;
  inPortName_ = inPort;
  outGone_.store(false);
  inGone_.store(false);
}

bool JackWatch::OpenInput(const std::string& portName, const std::string& source, Events events) {
  if (!client_ || serverGone_.load() || inPort_) return false;
  {
    std::lock_guard<std::mutex> lock(eventsMutex_);
    events_ = std::move(events);
  }
  jack_port_t* port = jack_port_register(client_, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  if (!port) return false;
  if (jack_connect(client_, source.c_str(), jack_port_name(port)) != 0) {
    jack_port_unregister(client_, port);
    return false;
  }
  std::lock_guard<std::mutex> lock(eventsMutex_);
  inPort_ = port;
  return true;
}

jack_port_t* JackWatch::TakeInput() {
  std::lock_guard<std::mutex> lock(eventsMutex_);  // no period's events are being handed on
  events_ = nullptr;
  return std::exchange(inPort_, nullptr);
}

void JackWatch::DropInput() { TakeInput(); }

bool JackWatch::CloseInput() {
  jack_port_t* const port = TakeInput();
  if (!port) return true;
  if (!NextPeriod()) return false;  // the request would wait for a server that does not answer
  jack_port_unregister(client_, port);
  return true;
}

#else  // built without the JACK library: no client is ever made

JackWatch::JackWatch(const std::string&, std::function<void()> onLoss) : onLoss_(std::move(onLoss)) {}
JackWatch::~JackWatch() = default;
void JackWatch::Lost() {}
void JackWatch::Silence() {}
void JackWatch::OnShutdown(int, const char*, void*) {}
void JackWatch::OnClient(const char*, int, void*) {}
void JackWatch::OnPort(unsigned, int, void*) {}
int JackWatch::OnProcess(unsigned, void*) { return 0; }
bool JackWatch::PortExists(const std::string&) { return false; }
void JackWatch::Watch(const std::string&, const std::string&) {}
bool JackWatch::Stalled() const { return false; }
bool JackWatch::NextPeriod() { return false; }
bool JackWatch::OpenInput(const std::string&, const std::string&, Events) { return inPort_ != nullptr; }
bool JackWatch::CloseInput() { return true; }
void JackWatch::DropInput() {}

#endif

}  // namespace qv
