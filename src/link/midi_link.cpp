#include "link/midi_link.h"

#include <algorithm>
#include <cstdio>

#include "instrument/messages.h"

namespace qv {

MidiLink::MidiLink(MidiBackend& backend, Prompts& prompts, Clock& clock, DataModel& model, TraceSink& trace)
    : backend_(backend), prompts_(prompts), clock_(clock), model_(model), trace_(trace) {
  backend_.SetLossNotice([this] {
    lossNoticed_.store(true);
    std::lock_guard<std::mutex> lock(rxMutex_);  // a waiting transaction ends at once
    rxArrived_.notify_all();
  });
}

// The input handler points at this link: it is detached before the link is
// gone, so that no input can reach it on any way out of the program. No box
// is shown.
MidiLink::~MidiLink() {
  backend_.SetLossNotice(nullptr);
  if (!hMidiIn_) return;
  backend_.Disconnect();
  backend_.InStop();
  backend_.InReset();
  backend_.InClose();
}

MidiDeviceNames ListMidiDevices(MidiBackend& backend, Prompts& prompts) {
  const auto list = [&](int count, auto getCaps, const char* failure, std::vector<std::string>& names) {
    for (int device = 0; device < count; ++device) {
      std::string name;
      if (const int rc = (backend.*getCaps)(device, name)) {
        prompts.Message(failure + std::to_string(rc));
        return;
      }
      names.push_back(name.substr(0, name.find('\0')));
    }
  };
  MidiDeviceNames devices;
  list(backend.InGetNumDevs(), &MidiBackend::InGetDevCaps, "midiInGetDevCaps Error: ", devices.inputs);
  list(backend.OutGetNumDevs(), &MidiBackend::OutGetDevCaps, "midiOutGetDevCaps Error: ", devices.outputs);
  return devices;
}

MidiLink::CommandScope::CommandScope(MidiLink& link) : link_(link) {
  if (link_.commandDepth_++ != 0) return;
  link_.shownInCommand_.clear();
  if (link_.hMidiOut_ || link_.hMidiIn_) link_.LearnLoss();
}

MidiLink::CommandScope::~CommandScope() {
  if (--link_.commandDepth_ == 0) link_.shownInCommand_.clear();
}

bool MidiLink::FirstInCommand(char direction, const std::string& operation, int code) {
  if (commandDepth_ == 0) return true;
  return shownInCommand_.emplace(direction, operation, code).second;
}

void MidiLink::LearnLoss() {
  // Cleared before the look: a notice that comes during it is kept.
  lossNoticed_.store(false);
  const DeviceLoss found = backend_.CheckDevices();
  if (found.system) loss_.system = true;
  if (found.output) {
    loss_.output = true;
    loss_.outName = found.outName;
  }
  if (found.input) {
    loss_.input = true;
    loss_.inName = found.inName;
  }
}

bool MidiLink::DeviceGone() {
  if (lossNoticed_.load()) LearnLoss();
  return loss_.Any();
}

std::string MidiLink::GoneText(const DeviceLoss& loss) {
  const auto quoted = [](const std::string& name) { return "\"" + name + "\""; };
  std::string what;
  if (loss.output && loss.input && loss.outName != loss.inName)
    what = "The MIDI output device " + quoted(loss.outName) + " and the MIDI input device " + quoted(loss.inName) +
           " are gone.";
  else if (loss.output || loss.input)
    what = std::string("The MIDI ") + (loss.output && loss.input ? "device " : loss.output ? "output device " : "input device ") +
           quoted(loss.output ? loss.outName : loss.inName) + " is gone.";
  if (loss.system) what = "The MIDI system has stopped." + (what.empty() ? "" : " " + what);
  return what + "\r\nPlease choose other MIDI devices with File > Startup Preferences.";
}

bool MidiLink::RefusedForLoss() {
  if (!DeviceGone()) return false;
  if (FirstInCommand('G', "", 0)) prompts_.Message(GoneText(loss_));
  return true;
}

void MidiLink::ReopenDevices(int outRow, int inRow) {
  const CommandScope command(*this);  // one box, whatever fails
  if (hMidiOut_ || hMidiIn_) LearnLoss();
  if (!loss_.Any()) return;  // devices in use stay as they are
  if (hMidiIn_) {
    backend_.Disconnect();
    backend_.InClose();
    hMidiIn_ = false;
  }
  if (hMidiOut_) {
    backend_.OutClose();
    hMidiOut_ = false;
  }
  backend_.Restore();
  MidiOutDev = outRow;
  MidiInDev = inRow;
  // The loss is forgotten only once both devices are taken again. Until
  // then it stays, with its box in place of the failed opens' own, and the
  // next OK tries again.
  const bool opened = TakeOutput() == kMidiOk;
  if (TakeInput() != kMidiOk || !opened) {
    RefusedForLoss();
    return;
  }
  loss_ = {};
  if (!model_.Busy && ConnectThru() == kMidiOk) StartInput();
}

void MidiLink::ShowMidiInError(const std::string& operation, int code) {
  if (!FirstInCommand('I', operation, code)) return;
  prompts_.Message("Operation: " + operation + "\r\n" + backend_.InErrorText(code));
}

void MidiLink::ShowMidiOutError(const std::string& operation, int code) {
  if (!FirstInCommand('O', operation, code)) return;
  prompts_.Message("Operation: " + operation + "\r\n" + backend_.OutErrorText(code));
}

int MidiLink::InResult(const char* operation, int rc) {
  if (rc) ShowMidiInError(operation, rc);
  return rc;
}

int MidiLink::OutResult(const char* operation, int rc) {
  if (rc) ShowMidiOutError(operation, rc);
  return rc;
}

int MidiLink::TakeOutput() {
  const int rc = backend_.OutOpen(MidiOutDev);
  hMidiOut_ = rc == kMidiOk;
  return rc;
}

int MidiLink::TakeInput() {
  const int rc = backend_.InOpen(MidiInDev, [this](const Byte* d, std::size_t n) { MidiInProc(d, n); });
  hMidiIn_ = rc == kMidiOk;
  return rc;
}

int MidiLink::OpenOutput() { return OutResult("Open", TakeOutput()); }
int MidiLink::OpenInput() { return InResult("Open", TakeInput()); }

int MidiLink::ConnectThru() { return InResult("Connect", backend_.Connect()); }
void MidiLink::DisconnectThru() { backend_.Disconnect(); }
int MidiLink::StartInput() { return InResult("InStart", backend_.InStart()); }
int MidiLink::StopInput() { return InResult("InStop", backend_.InStop()); }
int MidiLink::ResetInput() { return InResult("InReset", backend_.InReset()); }
// A device known gone is closed without a word and gets no reset: nothing
// is sent, and the program leaves at once.
int MidiLink::ResetOutput() { return loss_.Any() ? kMidiOk : OutResult("Reset", backend_.OutReset()); }

int MidiLink::CloseInput() {
  const int rc = backend_.InClose();
  if (loss_.Any()) {
    hMidiIn_ = false;
    return kMidiOk;
  }
  if (rc == kMidiOk) hMidiIn_ = false;
  return InResult("Close", rc);
}

int MidiLink::CloseOutput() {
  const int rc = backend_.OutClose();
  if (loss_.Any()) {
    hMidiOut_ = false;
    return kMidiOk;
  }
  if (rc == kMidiOk) hMidiOut_ = false;
  return OutResult("Close", rc);
}

void MidiLink::SendPartBlock(int part, int block) {
  if (block < 0 || block >= kMultiBlocks || part < 0 || part >= PartBlkStore::kParts) return;
  SendStoredBlock(model_.PartBlk.Block(block, part), BlkLen(block));
}

void MidiLink::SendPerformanceBlock(const PerformanceRecord& record, PerfBlock block) {
  const PerformanceBlock& row = BlockRow(block);
  std::array<Byte, 129> stage{};
  std::copy_n(BlockField(record, block), row.length, stage.begin());
  SendStoredBlock(stage.data(), row.length);
}

// A stored block leaves only as a whole message (IsWholeMessage). A block
// never filled (all zero) or loaded damaged is none: its bytes on the wire
// could be taken for notes under a running status, and a status byte inside
// would end the SysEx on the cable and act (a Note On, a System Reset).
bool MidiLink::SendStoredBlock(Byte* block, int length) {
  if (!IsWholeMessage(block, length)) return false;
  StoreBulkChecksum(block, static_cast<std::size_t>(length));
  return SendLongMsg(Bytes(block, block + length));
}

bool MidiLink::SendLongMsg(const Bytes& buffer) {
  if (buffer.empty() || buffer.size() > 128) return false;
  if (RefusedForLoss()) return false;

  if (!hMidiOut_) {
    ShowMidiOutError("Out Prepare ", kMidiInvalidHandle);
    return false;
  }
  int rc = backend_.OutPrepareHeader(buffer);
  if (rc) {
    ShowMidiOutError("Out Prepare ", rc);
    return false;
  }
  rc = backend_.OutLongMsg(buffer);
  const bool sent = rc == kMidiOk;
  if (!sent) ShowMidiOutError("MidiOutLongMsg ", rc);

  rc = backend_.OutUnprepareHeader();
  if (rc == kMidiOk || rc == kMidiInvalidParam) return sent;
  rc = backend_.OutUnprepareHeader();
  for (int sleeps = 0; rc != kMidiOk && sleeps < kReleaseRetries; ++sleeps) {
    clock_.SleepMs(5);
    rc = backend_.OutUnprepareHeader();
  }
  if (rc != kMidiOk) ShowMidiOutError("midiOutUnprepareHeader ", rc);
  return sent;
}

// A multi part's label names it by its multi number, M5 .. M16.
std::string MidiLink::TraceLabel(const DumpRequest& request) {
  if (const PerfBlock* block = request.Performance()) return BlockRow(*block).label;
  if (const MultiPartBlock* multi = request.MultiPart())
    return "Mlt " + std::to_string(multi->part + 1) + " " + std::to_string(multi->block);
  return "Parm retrieve";
}

std::string MidiLink::TraceLine(const std::string& label, int index, Byte value) {
  // index is 1-based: the offset column counts from the first data byte
  // (index 10) and shows negative offsets as 16-bit two's complement.
  char offset[8], position[16], decimal[8], hex[4];
  std::snprintf(offset, sizeof offset, "%X", static_cast<unsigned>((index - 10) & 0xFFFF));
  std::snprintf(position, sizeof position, " %d", index - 1);
  std::snprintf(decimal, sizeof decimal, " %u", static_cast<unsigned>(value));
  std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(value));
  return "Sys Ex  " + label + "  " + offset + "  " + position + "   " + decimal + "  " + hex;
}

namespace {
// A bulk dump of `length` bytes from `model` at address `a`, whole and with
// its checksum right.
bool IsBulkDump(const Byte* m, std::size_t n, Byte model, Address a, int length) {
  if (n != static_cast<std::size_t>(length)) return false;
  const int dataCount = length - 11;
  // No status byte may stand between F0 and F7.
  if (std::any_of(m + 1, m + n - 1, [](Byte b) { return b >= 0x80; })) return false;
  return m[0] == 0xF0 && m[1] == 0x43 && (m[2] & 0xF0) == 0x00 && m[3] == model && m[4] == dataCount / 128 &&
         m[5] == dataCount % 128 && m[6] == a.a1 && m[7] == a.a2 && m[8] == a.a3 && m[n - 1] == 0xF7 &&
         BulkChecksum(m, n) == m[n - 2];
}
}  // namespace

bool MidiLink::IsExpectedReply(const DumpRequest& request, const Byte* m, std::size_t n) {
  if (const PerfBlock* block = request.Performance()) {
    const PerformanceBlock& row = BlockRow(*block);
    return IsBulkDump(m, n, row.model, row.address, row.length);
  }
  const MultiPartBlock* multi = request.MultiPart();
  if (!multi) return n > 0;  // developer request: anything
  if (multi->block < 0 || multi->block >= kMultiBlocks) return false;
  return IsBulkDump(m, n, kModelXg, MultiBlockAddress(multi->block, multi->part), BlkLen(multi->block));
}

void MidiLink::MidiInProc(const Byte* data, std::size_t length) {
  if (!data || length == 0 || data[0] != 0xF0) return;
  std::lock_guard<std::mutex> lock(rxMutex_);
  if (!bufferQueued_ || !IsExpectedReply(rxRequest_, data, length)) return;
  bytesRecorded_ = std::min(length, std::size_t{128});
  std::copy(data, data + bytesRecorded_, rxBuffer_.begin());
  bufferQueued_ = false;
  SysExReceived.store(true);
  rxArrived_.notify_all();
}

MidiLink::DumpTarget MidiLink::Target(const DumpRequest& request) {
  if (const PerfBlock* block = request.Performance()) {
    const PerformanceBlock& row = BlockRow(*block);
    return {true, BlockField(model_.Performance, *block), row.length, row.request()};
  }
  if (const ParameterRequest* parm = request.Parameter()) return {true, nullptr, 0, parm->bytes};  // trace only
  const MultiPartBlock& multi = *request.MultiPart();
  if (!IsMultiPart(multi.part) || multi.block < 0 || multi.block >= kMultiBlocks) return {};
  return {true, model_.PartBlk.Block(multi.block, multi.part), BlkLen(multi.block),
          RqstMulti(multi.part + 1, multi.block)};
}

bool MidiLink::QueueReceiveBuffer(const DumpRequest& request) {
  {
    std::lock_guard<std::mutex> lock(rxMutex_);
    rxBuffer_.fill(0);
    bytesRecorded_ = 0;
    rxRequest_ = request;
  }
  int rc = backend_.InPrepareHeader();
  if (rc) {
    ShowMidiInError("InPrepHdr", rc);
    return false;
  }
  rc = backend_.InAddBuffer();
  if (rc) {
    ShowMidiInError("InAddBuff", rc);
    backend_.InUnprepareHeader();
    return false;
  }
  {
    // The flag is cleared as the buffer is queued, in one step: a reply
    // taken in between would otherwise be lost with its flag.
    std::lock_guard<std::mutex> lock(rxMutex_);
    bufferQueued_ = true;
    SysExReceived.store(false);
  }
  DisconnectThru();
  StopInput();
  StartInput();
  return true;
}

MidiLink::WaitEnd MidiLink::WaitForReply() {
  std::unique_lock<std::mutex> lock(rxMutex_);
  bool stalled = false;
  clock_.WaitFor(rxArrived_, lock, kReplyWait, [this, &stalled] {
    if (SysExReceived.load() || lossNoticed_.load()) return true;
    stalled = backend_.Stalled();  // comes true without a notice
    return stalled;
  });
  if (SysExReceived.load()) return WaitEnd::Reply;
  return stalled ? WaitEnd::Stalled : WaitEnd::Nothing;
}

bool MidiLink::ReleaseReceiveBuffer(bool received, std::array<Byte, 129>& reply, std::size_t& recorded) {
  StopInput();
  ResetInput();
  {
    std::lock_guard<std::mutex> lock(rxMutex_);
    bufferQueued_ = false;
    reply = rxBuffer_;
    recorded = received ? bytesRecorded_ : 0;
  }
  const int rc = backend_.InUnprepareHeader();
  if (rc) ShowMidiInError("InUnPrepHdr", rc);
  return rc == kMidiOk;
}

void MidiLink::RtrvDump(const DumpRequest& request) {
  // A device known gone ends the transaction at once: no request, no wait.
  if (hMidiOut_ || hMidiIn_) LearnLoss();
  if (RefusedForLoss()) return;
  const DumpTarget target = Target(request);
  if (!target.wanted || !QueueReceiveBuffer(request)) return;

  // A request that could not leave gets no reply: the wait is skipped. An
  // empty developer request is no failure; the wait runs as for any other.
  const bool requestLeft = !target.request || SendLongMsg(*target.request);
  const WaitEnd end = requestLeft ? WaitForReply() : WaitEnd::Nothing;
  if (end == WaitEnd::Stalled) ShowMidiOutError("MidiOutLongMsg ", kMidiSendTimedOut);  // as its send would
  const bool received = end == WaitEnd::Reply;

  std::array<Byte, 129> reply;
  std::size_t recorded = 0;
  if (!ReleaseReceiveBuffer(received, reply, recorded)) return;

  if (received && target.destination) std::copy_n(reply.begin(), target.length, target.destination);
  const std::string label = TraceLabel(request);
  for (std::size_t i = 1; i <= recorded; ++i) trace_.AddTraceLine(TraceLine(label, static_cast<int>(i), reply[i - 1]));

  if (!model_.Busy && ConnectThru() == kMidiOk) StartInput();
}

}  // namespace qv
