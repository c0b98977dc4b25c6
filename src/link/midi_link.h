#pragma once
// The program's whole contact with the MIDI devices: the device operations
// with their error boxes, the one routine through which every message leaves
// (SendLongMsg), and the request-and-wait dump transaction (RtrvDump).

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "instrument/data_model.h"
#include "instrument/performance_blocks.h"
#include "link/clock.h"
#include "link/dump_request.h"
#include "link/midi_backend.h"
#include "link/prompts.h"

namespace qv {

// Receives the trace lines of the dump transactions (the developer list).
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void ClearTrace() = 0;
  virtual void AddTraceLine(const std::string& line) = 0;
};

// The MIDI devices' names by device number: the rows of the preferences'
// device lists.
struct MidiDeviceNames {
  std::vector<std::string> inputs, outputs;
};

// The names of the input devices, then of the output devices, each up to
// its first zero character. A device whose name cannot be read ends its
// list, which keeps the devices before it, with the box "midiInGetDevCaps
// Error: " (or "midiOutGetDevCaps Error: ") and the result code. It needs no
// link: the preferences list the devices before the link is made.
MidiDeviceNames ListMidiDevices(MidiBackend& backend, Prompts& prompts);

class MidiLink {
 public:
  MidiLink(MidiBackend& backend, Prompts& prompts, Clock& clock, DataModel& model, TraceSink& trace);
  ~MidiLink();
  MidiLink(const MidiLink&) = delete;
  MidiLink& operator=(const MidiLink&) = delete;

  Prompts& UserPrompts() { return prompts_; }
  Clock& LinkClock() { return clock_; }

  // Device numbers: rows of the preferences' device lists.
  int MidiOutDev = 0;
  int MidiInDev = 0;
  bool OutputOpen() const { return hMidiOut_; }
  bool InputOpen() const { return hMidiIn_; }

  // Device operations. Each shows its error box on failure and returns the
  // result code (0 = success).
  int OpenOutput();   // "Open"
  int OpenInput();    // "Open", with MidiInProc as the input handler
  int ConnectThru();  // "Connect"
  void DisconnectThru();  // not reported
  int StartInput();   // "InStart"
  int StopInput();    // "InStop"
  int ResetInput();   // "InReset"
  int CloseInput();   // "Close"
  int ResetOutput();  // "Reset"
  int CloseOutput();  // "Close"

  // The sends. Each names what it sends; every message leaves through the
  // one output routine SendLongMsg, at most 128 bytes, and a stored block
  // gets its checksum recomputed where it is held just before it leaves. A
  // block that is no whole message (never filled, or loaded damaged) is not
  // sent.
  //  - a plain SysEx or channel message, as it stands;
  void SendSysEx(const Bytes& msg) { SendLongMsg(msg); }
  //  - stored block 0..4 of part index `part` in PartBlk;
  void SendPartBlock(int part, int block);
  //  - a performance block of `record`, staged first: the record keeps its bytes.
  void SendPerformanceBlock(const PerformanceRecord& record, PerfBlock block);

  void ShowMidiInError(const std::string& operation, int code);
  void ShowMidiOutError(const std::string& operation, int code);

  // One user command: a menu item, a button press, a drop, a file command or
  // the start-up work. Within it an error box with the same operation words
  // and the same code is shown once; its repeats later in the command are
  // silent. Scopes nest: the outermost one starts and ends the command.
  // Outside any scope every box is shown.
  class CommandScope {
   public:
    explicit CommandScope(MidiLink& link);
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

   private:
    MidiLink& link_;
  };
  bool InCommand() const { return commandDepth_ > 0; }

  // A device in use that is gone (the MIDI system stopped, a port went
  // away) is looked for as each command starts and as each dump
  // transaction starts. Once it is known, every send and transaction is
  // refused at once, with one box per command that names what is gone,
  // until ReopenDevices takes the devices again.
  bool DeviceGone();
  static std::string GoneText(const DeviceLoss& loss);
  // The user's OK in the preferences after start-up, as one command: when a
  // device is known gone, closes what was open and opens the devices of
  // these rows again (one that came back under its name is found again),
  // with MIDI thru. When either does not open, the loss stays known, the
  // command shows its one box, and the next OK tries again.
  void ReopenDevices(int outRow, int inRow);

  // Requests one block and waits for its reply (kReplyWait at most). A MIDI
  // system that stops running ends the wait with the box of a send that
  // timed out; a device found gone ends it at once. Only a reply is stored.
  void RtrvDump(const DumpRequest& request);

  // The input handler: runs on the driver's thread.
  void MidiInProc(const Byte* data, std::size_t length);

  // Whether `reply` is the reply RtrvDump waits for on this request.
  static bool IsExpectedReply(const DumpRequest& request, const Byte* reply, std::size_t length);
  static std::string TraceLabel(const DumpRequest& request);
  static std::string TraceLine(const std::string& label, int index, Byte value);

  static constexpr int kReleaseRetries = 400;  // sleeps of 5 ms

  std::atomic<bool> SysExReceived{false};

 private:
  // The one output routine; true when the message left (its release may
  // still have failed).
  bool SendLongMsg(const Bytes& message);
  // A stored bulk dump of `length` bytes: its checksum recomputed in place,
  // then sent.
  bool SendStoredBlock(Byte* block, int length);

  // What a transaction asks for and where its reply goes.
  struct DumpTarget {
    bool wanted = false;  // false: a multi part or block that does not exist
    Byte* destination = nullptr;
    int length = 0;
    std::optional<Bytes> request;  // none: nothing is sent, the wait still runs
  };
  DumpTarget Target(const DumpRequest& request);
  // Queues the receive buffer for a transaction and runs the input without
  // MIDI thru; false (after its box) when the buffer could not be queued.
  bool QueueReceiveBuffer(const DumpRequest& request);
  // How the wait for a reply ended: the reply came, or none (the time ran
  // out, or a device was found gone), or the MIDI system stopped running.
  enum class WaitEnd { Reply, Nothing, Stalled };
  WaitEnd WaitForReply();
  // Stops the input and takes the buffer back; false (after its box) when
  // the buffer could not be released.
  bool ReleaseReceiveBuffer(bool received, std::array<Byte, 129>& reply, std::size_t& recorded);

  // Open the device of MidiOutDev / MidiInDev without a box; the result code.
  int TakeOutput();
  int TakeInput();

  // Asks the backend what is gone and keeps it until the devices are taken again.
  void LearnLoss();
  // True (after the command's one box) when a device is known gone.
  bool RefusedForLoss();

  // Whether the box (input or output, operation words, code) is to be shown:
  // false for a repeat within the running command.
  bool FirstInCommand(char direction, const std::string& operation, int code);

  // Shows the error box for a failed operation; returns rc.
  int InResult(const char* operation, int rc);
  int OutResult(const char* operation, int rc);

  MidiBackend& backend_;
  Prompts& prompts_;
  Clock& clock_;
  DataModel& model_;
  TraceSink& trace_;
  bool hMidiOut_ = false;
  bool hMidiIn_ = false;
  DeviceLoss loss_;                        // known gone, until ReopenDevices takes both devices
  std::atomic<bool> lossNoticed_{false};  // set by the backend's notice, on any thread

  // The running command: its depth of nested scopes and the boxes shown in it.
  int commandDepth_ = 0;
  std::set<std::tuple<char, std::string, int>> shownInCommand_;

  // The receive buffer of the running transaction, filled by MidiInProc.
  std::mutex rxMutex_;
  std::condition_variable rxArrived_;
  bool bufferQueued_ = false;
  DumpRequest rxRequest_ = DumpRequest::ForParameter();
  std::array<Byte, 129> rxBuffer_{};
  std::size_t bytesRecorded_ = 0;
};

}  // namespace qv
