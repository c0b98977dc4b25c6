#include "link/rtmidi_backend.h"

#include "link/jack_watch.h"

#include <rtmidi/RtMidi.h>

#if defined(__linux__)
#include <dlfcn.h>
#endif
#if defined(QUORVANE_HAVE_JACK)
#include <jack/jack.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <iostream>

namespace qv {

namespace {

// The ALSA library prints its own complaints (no /dev/snd/seq, ...) unless
// the program gives it an error handler. RtMidi loads the library; its
// handler is reached by name so that nothing else has to link it.
void SilentAlsaHandler(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsaLibrary() {
#if defined(__linux__)
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  if (void* symbol = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"))
    reinterpret_cast<SetHandler>(symbol)(&SilentAlsaHandler);
#endif
}

// RtMidi writes an error to std::cerr before it throws it when no error
// callback is set yet, which is the case inside its constructors.
class QuietCerr {
 public:
  QuietCerr() : saved_(std::cerr.rdbuf(nullptr)) {}
  ~QuietCerr() { std::cerr.rdbuf(saved_); }

 private:
  std::streambuf* saved_;
};

void OnRtMidiError(RtMidiError::Type type, const std::string& text, void* user) {
  if (type == RtMidiError::DEBUG_WARNING) return;
  auto* slot = static_cast<RtMidiBackend::ErrorSlot*>(user);
  std::lock_guard<std::mutex> lock(slot->mutex);
  slot->raised = true;
  slot->type = type;
  slot->text = text;
}

void ClearError(RtMidiBackend::ErrorSlot& slot) {
  std::lock_guard<std::mutex> lock(slot.mutex);
  slot.raised = false;
}

// The result code of what RtMidi reported since ClearError (0: nothing).
int TakeError(RtMidiBackend::ErrorSlot& slot) {
  std::lock_guard<std::mutex> lock(slot.mutex);
  if (!slot.raised) return kMidiOk;
  slot.raised = false;
  switch (slot.type) {
    case RtMidiError::NO_DEVICES_FOUND:
    case RtMidiError::INVALID_DEVICE:
    case RtMidiError::INVALID_PARAMETER: return kMidiBadDeviceId;
    case RtMidiError::MEMORY_ERROR: return kMidiNoMemory;
    case RtMidiError::INVALID_USE: return kMidiInvalidHandle;
    default: return kMidiError;
  }
}

int CodeOf(const RtMidiError& e) {
  switch (e.getType()) {
    case RtMidiError::NO_DEVICES_FOUND:
    case RtMidiError::INVALID_DEVICE:
    case RtMidiError::INVALID_PARAMETER: return kMidiBadDeviceId;
    case RtMidiError::MEMORY_ERROR: return kMidiNoMemory;
    default: return kMidiError;
  }
}

// The program's system is ALSA on Linux; elsewhere RtMidi's own choice for
// the platform.
RtMidi::Api RtMidiApiOf(MidiApi api) {
  if (api == MidiApi::Jack) return RtMidi::UNIX_JACK;
#if defined(__linux__)
  return RtMidi::LINUX_ALSA;
#else
  return RtMidi::UNSPECIFIED;
#endif
}

bool CompiledIn(RtMidi::Api api) {
  std::vector<RtMidi::Api> apis;
  RtMidi::getCompiledApi(apis);
  return std::find(apis.begin(), apis.end(), api) != apis.end();
}

#if defined(QUORVANE_HAVE_JACK)
void SilentJackMessage(const char*) {}

void SilenceJackLibrary() {
  jack_set_error_function(&SilentJackMessage);
  jack_set_info_function(&SilentJackMessage);
}
#else
void SilenceJackLibrary() {}
#endif

// Creates one side on the chosen system, or nothing when the system cannot
// be reached. Only that system is ever asked for: RtMidi must not fall back
// on another.
template <class Port>
std::unique_ptr<Port> OpenClient(MidiApi api, const std::string& clientName, RtMidiBackend::ErrorSlot& slot) {
  if (!CompiledIn(RtMidiApiOf(api))) return nullptr;
  // Without a JACK server RtMidi still makes its objects; they then print,
  // can hang in sendMessage, or crash with the older JACK library.
  if (api == MidiApi::Jack && !RtMidiBackend::JackServerRunning()) return nullptr;
  QuietCerr quiet;
  try {
    auto port = std::make_unique<Port>(RtMidiApiOf(api), clientName);
    port->setErrorCallback(&OnRtMidiError, &slot);
    return port;
  } catch (...) {  // RtMidiError (DRIVER_ERROR without /dev/snd/seq) and the like
    return nullptr;
  }
}

}  // namespace

RtMidiBackend::RtMidiBackend(MidiApi api, const std::string& clientName, Clock& clock)
    : api_(api), clientName_(clientName), clock_(clock) {
  SilenceAlsaLibrary();
  SilenceJackLibrary();
  MakeClients();
}

void RtMidiBackend::MakeClients() {
  in_ = OpenClient<RtMidiIn>(api_, clientName_, inError_);
  out_ = OpenClient<RtMidiOut>(api_, clientName_, outError_);
  if (api_ == MidiApi::Jack && (in_ || out_)) settle_ = JackSettleTime();
  if (in_) {
    try {
      // System exclusive, timing and active sensing all arrive: MIDI thru
      // passes on everything.
      in_->ignoreTypes(false, false, false);
      in_->setCallback(&RtMidiBackend::OnInput, this);
    } catch (const RtMidiError&) {
      in_.reset();
    }
    if (TakeError(inError_)) in_.reset();
  }
  if (api_ == MidiApi::Jack && in_ && out_) {
    jack_ = std::make_unique<JackWatch>(clientName_, [this] { Noticed(); });
    if (!jack_->Ready()) jack_.reset();
  }
}

RtMidiBackend::~RtMidiBackend() {
  thruConnected_ = false;
  inStarted_ = false;
  {
    std::lock_guard<std::mutex> lock(inputMutex_);
    handler_ = nullptr;
  }
  inOpen_ = false;
  SetLossNotice(nullptr);
  if (jack_ && (leftOpen_ || !ServerAnswers())) {  // closing would wait for the server
    LeaveClientsBehind();
    return;
  }
  jack_.reset();  // no more input from its port
  in_.reset();  // ends RtMidi's input thread (under JACK: its client) and so every call of OnInput
  std::lock_guard<std::mutex> lock(sendMutex_);
  if (out_ && outOpen_) {
    try {
      out_->closePort();
    } catch (...) {
    }
  }
  outOpen_ = false;
  out_.reset();
}

// ---- device lists -------------------------------------------------------

int RtMidiBackend::OutGetNumDevs() {
  if (!out_) return 0;
  std::lock_guard<std::mutex> lock(sendMutex_);
  try {
    return static_cast<int>(out_->getPortCount());
  } catch (...) {
    return 0;
  }
}

int RtMidiBackend::OutGetDevCaps(int device, std::string& name) {
  if (!out_) return kMidiNoDriver;
  std::lock_guard<std::mutex> lock(sendMutex_);
  try {
    if (device < 0 || device >= static_cast<int>(out_->getPortCount())) return kMidiBadDeviceId;
    ClearError(outError_);
    name = out_->getPortName(static_cast<unsigned>(device));
    if (listedOut_.size() <= static_cast<std::size_t>(device)) listedOut_.resize(device + 1);
    listedOut_[device] = name;
    return TakeError(outError_);
  } catch (const RtMidiError& e) {
    return CodeOf(e);
  } catch (...) {
    return kMidiError;
  }
}

int RtMidiBackend::InGetNumDevs() {
  if (!in_) return 0;
  try {
    return static_cast<int>(in_->getPortCount());
  } catch (...) {
    return 0;
  }
}

int RtMidiBackend::InGetDevCaps(int device, std::string& name) {
  if (!in_) return kMidiNoDriver;
  try {
    if (device < 0 || device >= static_cast<int>(in_->getPortCount())) return kMidiBadDeviceId;
    ClearError(inError_);
    name = in_->getPortName(static_cast<unsigned>(device));
    if (listedIn_.size() <= static_cast<std::size_t>(device)) listedIn_.resize(device + 1);
    listedIn_[device] = name;
    return TakeError(inError_);
  } catch (const RtMidiError& e) {
    return CodeOf(e);
  } catch (...) {
    return kMidiError;
  }
}

// ---- output -------------------------------------------------------------

int RtMidiBackend::OutOpen(int device) {
  if (!out_) return kMidiNoDriver;
  std::lock_guard<std::mutex> lock(sendMutex_);
  if (outOpen_) return kMidiAllocated;
  try {
    device = DeviceNow(true, device);
    if (device < 0 || device >= static_cast<int>(out_->getPortCount())) return kMidiBadDeviceId;
    ClearError(outError_);
    outPortName_ = out_->getPortName(static_cast<unsigned>(device));
    out_->openPort(static_cast<unsigned>(device), kOutPortName);
    int rc = TakeError(outError_);
    if (rc == kMidiOk && !out_->isPortOpen()) rc = kMidiError;
    outOpen_ = rc == kMidiOk;
    UpdateWatch();
    // Under JACK a message sent before the connection is in the server's
    // graph leaves at an unconnected port and is lost.
    if (outOpen_) clock_.Sleep(settle_);
    return rc;
  } catch (const RtMidiError& e) {
    return CodeOf(e);
  } catch (...) {
    return kMidiError;
  }
}

int RtMidiBackend::OutPrepareHeader(const Bytes&) {
  std::lock_guard<std::mutex> lock(sendMutex_);
  return outOpen_ ? kMidiOk : kMidiInvalidHandle;
}

int RtMidiBackend::SendLocked(const unsigned char* data, std::size_t size) {
  std::lock_guard<std::mutex> lock(sendMutex_);
  if (!outOpen_ || !out_) return kMidiInvalidHandle;
  try {
    ClearError(outError_);
    out_->sendMessage(data, size);
    return TakeError(outError_);
  } catch (const RtMidiError& e) {
    return CodeOf(e);
  } catch (...) {
    return kMidiError;
  }
}

// Every message of the program leaves here, one at a time. Under JACK,
// RtMidi writes it into a buffer of 16 KB that its client drains in each
// period of the server, and when the buffer is full RtMidi waits for room:
// with a server that stopped or hangs, for ever. So a message is written
// only when the buffer surely has room for it. A send waits for room while
// the server runs its periods, however late they come, and gives up
// (kMidiSendTimedOut) once the server has run none for about a second. The
// longest burst the program sends, a workspace load of 80 messages, is
// about 3 KB.
int RtMidiBackend::OutLongMsg(const Bytes& message) {
  if (message.empty()) return kMidiInvalidParam;
  if (!RoomFor(message.size(), true)) return kMidiSendTimedOut;
  return SendLocked(message.data(), message.size());
}

int RtMidiBackend::OutUnprepareHeader() { return kMidiOk; }  // sent synchronously: nothing is held

int RtMidiBackend::OutReset() {
  // As the classic service does: all notes off on every channel.
  Bytes notesOff;
  for (Byte channel = 0; channel < 16; ++channel) {
    notesOff.push_back(static_cast<Byte>(0xB0 | channel));
    notesOff.push_back(0x7B);
    notesOff.push_back(0x00);
  }
  if (!RoomFor(notesOff.size(), true)) return kMidiSendTimedOut;
  return SendLocked(notesOff.data(), notesOff.size());
}

int RtMidiBackend::OutClose() {
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    if (!outOpen_ || !out_) return kMidiInvalidHandle;
    outOpen_ = false;  // thru sends nothing from now on
    UpdateWatch();
  }
  // RtMidi would wait a second for a server that has gone, and as long as it
  // hangs for one that does not run its periods. (Not under sendMutex_: the
  // periods run once thru has let it go.)
  if (!ServerAnswers()) {
    leftOpen_ = true;
    return kMidiOk;
  }
  std::lock_guard<std::mutex> lock(sendMutex_);
  try {
    out_->closePort();
  } catch (...) {
  }
  return kMidiOk;
}

// ---- input --------------------------------------------------------------

int RtMidiBackend::InOpen(int device, MidiInputHandler handler) {
  if (!in_) return kMidiNoDriver;
  if (inOpen_) return kMidiAllocated;
  try {
    device = DeviceNow(false, device);
    if (device < 0 || device >= static_cast<int>(in_->getPortCount())) return kMidiBadDeviceId;
    SetHandler(std::move(handler));  // input may arrive as soon as the port is open
    ClearError(inError_);
    inPortName_ = in_->getPortName(static_cast<unsigned>(device));
    int rc = kMidiOk;
    if (jack_) {  // under JACK the input port is the backend's own client's
      if (!jack_->OpenInput(kInPortName, inPortName_, [this](const Byte* d, std::size_t n) { TakeEvent(d, n); }))
        rc = kMidiError;
    } else {
      in_->openPort(static_cast<unsigned>(device), kInPortName);
      rc = TakeError(inError_);
      if (rc == kMidiOk && !in_->isPortOpen()) rc = kMidiError;
      if (rc != kMidiOk) in_->closePort();
    }
    if (rc != kMidiOk) {
      SetHandler(nullptr);
      return rc;
    }
    inOpen_ = true;
    {
      std::lock_guard<std::mutex> lock(sendMutex_);
      UpdateWatch();
    }
    clock_.Sleep(settle_);  // as for the output
    return kMidiOk;
  } catch (const RtMidiError& e) {
    SetHandler(nullptr);
    return CodeOf(e);
  } catch (...) {
    SetHandler(nullptr);
    return kMidiError;
  }
}

void RtMidiBackend::SetHandler(MidiInputHandler handler) {
  std::lock_guard<std::mutex> lock(inputMutex_);
  handler_ = std::move(handler);
}

// Buffers are RtMidi's own: preparing, adding and releasing one only needs
// an open input.
int RtMidiBackend::InPrepareHeader() { return inOpen_ ? kMidiOk : kMidiInvalidHandle; }
int RtMidiBackend::InAddBuffer() { return inOpen_ ? kMidiOk : kMidiInvalidHandle; }
int RtMidiBackend::InUnprepareHeader() { return inOpen_ ? kMidiOk : kMidiInvalidHandle; }

int RtMidiBackend::InStart() {
  if (!inOpen_) return kMidiInvalidHandle;
  inStarted_ = true;
  return kMidiOk;
}

int RtMidiBackend::InStop() {
  if (!inOpen_) return kMidiInvalidHandle;
  inStarted_ = false;
  return kMidiOk;
}

int RtMidiBackend::InReset() { return InStop(); }

int RtMidiBackend::InClose() {
  if (!inOpen_) return kMidiInvalidHandle;
  inStarted_ = false;
  thruConnected_ = false;
  inOpen_ = false;
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    UpdateWatch();
  }
  // Waits for the period's events in hand; a server that hangs keeps the
  // port, and its clients are left behind.
  if (jack_ && !jack_->CloseInput()) leftOpen_ = true;
  // Waits for a call in progress; later calls find no handler.
  SetHandler(nullptr);
  if (jack_) return kMidiOk;
  try {
    in_->closePort();
  } catch (...) {
  }
  return kMidiOk;
}

int RtMidiBackend::Connect() {
  if (!inOpen_) return kMidiInvalidHandle;
  {
    std::lock_guard<std::mutex> lock(sendMutex_);
    if (!outOpen_) return kMidiInvalidHandle;
  }
  // Thru from a port to itself (the sequencer's "Midi Through" port chosen
  // on both sides) would send every message round for ever: no forwarding.
  thruConnected_ = !ThruLoops(api_, inPortName_, outPortName_, clientName_);
  return kMidiOk;
}

int RtMidiBackend::Disconnect() {
  thruConnected_ = false;
  return inOpen_ ? kMidiOk : kMidiInvalidHandle;
}

void RtMidiBackend::OnInput(double, std::vector<unsigned char>* message, void* self) {
  if (message && self && !message->empty())
    static_cast<RtMidiBackend*>(self)->TakeEvent(message->data(), message->size());
}

// Runs on the MIDI system's input thread (RtMidi's, or JACK's process
// thread). RtMidi under ALSA may hand over a broken SysEx and what followed
// it as one piece: the assembler parts them again.
void RtMidiBackend::TakeEvent(const unsigned char* data, std::size_t size) {
  std::lock_guard<std::mutex> lock(inputMutex_);
  if (!inStarted_ || !handler_) return;
  assembler_.Take(data, size, clock_.Now(), [this](const Byte* d, std::size_t n) { HandleInput(d, n); });
}

// One whole message, under inputMutex_. Thru never waits for room.
void RtMidiBackend::HandleInput(const unsigned char* data, std::size_t size) {
  if (thruConnected_ && RoomFor(size, false)) SendLocked(data, size);
  if (data[0] == 0xF0 && data[size - 1] == 0xF7) handler_(data, size);
}

// The ALSA sequencer address "client:port" that ends a port's name, or "".
std::string RtMidiBackend::AlsaAddress(const std::string& portName) {
  const std::size_t blank = portName.find_last_of(' ');
  const std::string last = blank == std::string::npos ? portName : portName.substr(blank + 1);
  const std::size_t colon = last.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == last.size()) return {};
  for (std::size_t i = 0; i < last.size(); ++i)
    if (i != colon && (last[i] < '0' || last[i] > '9')) return {};
  return last;
}

std::string RtMidiBackend::JackDevice(const std::string& portName) {
  std::string device = portName;
  for (const char* tag : {" (capture)", " (playback)"}) {
    const std::size_t at = device.find(tag);
    if (at != std::string::npos) device.erase(at, std::string(tag).size());
  }
  return device;
}

bool RtMidiBackend::ThruLoops(MidiApi api, const std::string& inName, const std::string& outName,
                              const std::string& ownClient) {
  if (api == MidiApi::Alsa) {
    const std::string address = AlsaAddress(inName);
    return !address.empty() && address == AlsaAddress(outName);
  }
  // JACK names a port "client:port". The server renames a second client of
  // the same name ("Quorvane-01"), so only the start of the client counts.
  auto own = [&ownClient](const std::string& name, const char* port) {
    const std::size_t colon = name.find(':');
    return colon != std::string::npos && name.compare(0, ownClient.size(), ownClient) == 0 &&
           name.substr(colon + 1) == port;
  };
  if (own(inName, kOutPortName) || own(outName, kInPortName)) return true;
  return !inName.empty() && JackDevice(inName) == JackDevice(outName);
}

#if defined(QUORVANE_HAVE_JACK)

namespace {
// A JACK client listens on a socket named after the client alone, whatever
// its server: clients of one name in two programs at once, even on two
// servers, take each other's socket and fail to open. The probe's name is
// the program's own.
std::string ProbeName() { return "Quorvane probe-" + std::to_string(getpid()); }
}  // namespace

bool RtMidiBackend::JackServerRunning() {
  SilenceJackLibrary();
  jack_status_t status;
  jack_client_t* probe = jack_client_open(ProbeName().c_str(), JackNoStartServer, &status);
  if (!probe) return false;
  jack_client_close(probe);
  return true;
}

std::chrono::microseconds RtMidiBackend::JackSettleTime() {
  SilenceJackLibrary();
  jack_client_t* probe = jack_client_open(ProbeName().c_str(), JackNoStartServer, nullptr);
  if (!probe) return std::chrono::microseconds(0);
  const double period = 1e6 * jack_get_buffer_size(probe) / jack_get_sample_rate(probe);
  jack_client_close(probe);
  return std::chrono::microseconds(static_cast<long long>(3 * period));  // the current period, the next, and one more
}

#else  // built without the JACK library: no server is ever reached

bool RtMidiBackend::JackServerRunning() { return false; }

std::chrono::microseconds RtMidiBackend::JackSettleTime() { return std::chrono::microseconds(0); }

#endif

// ---- texts --------------------------------------------------------------

std::string RtMidiBackend::NoDriverText(const std::string& side) const {
  const std::string cause = api_ == MidiApi::Jack ? "no JACK server is running" : "the ALSA sequencer could not be opened";
  return "No MIDI system is available on this computer: " + cause + ", so there is no MIDI " + side + " device.";
}

std::string RtMidiBackend::InErrorText(int code) {
  return code == kMidiNoDriver && !in_ ? NoDriverText("input") : MidiErrorText(code);
}

std::string RtMidiBackend::OutErrorText(int code) {
  return code == kMidiNoDriver && !out_ ? NoDriverText("output") : MidiErrorText(code);
}

}  // namespace qv
