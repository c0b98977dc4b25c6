#pragma once
// The MIDI service of a Linux machine: RtMidi on the ALSA sequencer (the
// program's choice) or on a JACK server. Where that system cannot be reached
// (no sound system, no running JACK server) the device lists are empty and
// every open fails with kMidiNoDriver; nothing is printed.

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/input_assembler.h"
#include "link/midi_backend.h"

class RtMidiIn;
class RtMidiOut;

namespace qv {

class JackWatch;

// The MIDI system RtMidi is asked to use. It never falls back on another.
enum class MidiApi { Alsa, Jack };

class RtMidiBackend : public MidiBackend {
 public:
  // clientName names the program's clients on the MIDI system. The
  // backend's sleeps and time reads go through `clock`, which outlives it.
  explicit RtMidiBackend(MidiApi api = MidiApi::Alsa, const std::string& clientName = "Quorvane",
                         Clock& clock = SystemClock());
  ~RtMidiBackend() override;
  RtMidiBackend(const RtMidiBackend&) = delete;
  RtMidiBackend& operator=(const RtMidiBackend&) = delete;

  // Whether the MIDI system could be reached at all.
  bool Available() const { return in_ && out_; }

  int OutGetNumDevs() override;
  int OutGetDevCaps(int device, std::string& name) override;
  int InGetNumDevs() override;
  int InGetDevCaps(int device, std::string& name) override;

  int OutOpen(int device) override;
  int OutPrepareHeader(const Bytes& message) override;
  int OutLongMsg(const Bytes& message) override;
  int OutUnprepareHeader() override;
  int OutReset() override;
  int OutClose() override;

  int InOpen(int device, MidiInputHandler handler) override;
  int InPrepareHeader() override;
  int InAddBuffer() override;
  int InStart() override;
  int InStop() override;
  int InReset() override;
  int InUnprepareHeader() override;
  int InClose() override;

  int Connect() override;
  int Disconnect() override;

  // Under JACK the backend's own client hears the server's shutdown notice
  // and sees the instrument's clients and ports go; under ALSA the opened
  // ports are looked for in the sequencer's lists.
  DeviceLoss CheckDevices() override;
  void SetLossNotice(std::function<void()> notice) override;
  int Restore() override;
  // Under JACK: the server has run no period for about a second.
  bool Stalled() override;

  std::string InErrorText(int code) override;
  std::string OutErrorText(int code) override;

  // What RtMidi last reported for one side; read and cleared by the
  // operations of that side. The error callback may run on any thread.
  struct ErrorSlot {
    std::mutex mutex;
    bool raised = false;
    int type = 0;
    std::string text;
  };

  // The sequencer address "client:port" at the end of a port's name, or "".
  static std::string AlsaAddress(const std::string& portName);
  // A JACK port's name without the direction that the ALSA bridge (a2j)
  // adds, so that both sides of one bridged device read alike.
  static std::string JackDevice(const std::string& portName);
  // Whether forwarding from input port inName to output port outName would
  // send the messages round for ever: one device on both sides, or a port of
  // this backend's own (ownClient: its client name) on the far side.
  static bool ThruLoops(MidiApi api, const std::string& inName, const std::string& outName,
                        const std::string& ownClient);

  // Whether a JACK server runs: a client can connect without starting one.
  // libjack prints nothing.
  static bool JackServerRunning();
  // The time in which a new JACK connection surely carries messages: the
  // server takes it into its graph from the next period on. Zero elsewhere.
  static std::chrono::microseconds JackSettleTime();

  // The names of the program's own ports.
  static constexpr const char* kInPortName = "Quorvane In";
  static constexpr const char* kOutPortName = "Quorvane Out";

 private:
  static void OnInput(double timeStamp, std::vector<unsigned char>* message, void* self);
  // An event as the MIDI system hands it over: made into whole messages.
  void TakeEvent(const unsigned char* data, std::size_t size);
  void HandleInput(const unsigned char* data, std::size_t size);
  // Makes the clients on the MIDI system (again).
  void MakeClients();
  // RtMidi's clients of a JACK server that has gone would wait a second
  // each for their port to close, and those of a server that hangs as long
  // as it hangs: they are kept, unclosed, for the rest of the run, and so is
  // the watch, which JACK's threads may still call.
  void LeaveClientsBehind();
  // Whether a request to the MIDI system is answered now: under JACK, the
  // server is there and runs its periods.
  bool ServerAnswers();
  void Noticed();
  // The current device number of the row `device` of the lists last given
  // out, found by its name; the row itself when no list was given out.
  int DeviceNow(bool output, int device);
  void UpdateWatch();
  // Under JACK: whether RtMidi's output buffer has room for `size` more
  // bytes, waiting for the server to drain it when mayWait, for as long as
  // the server runs its periods.
  bool RoomFor(std::size_t size, bool mayWait);
  void SetHandler(MidiInputHandler handler);
  // Sends under sendMutex_; returns a result code.
  int SendLocked(const unsigned char* data, std::size_t size);
  std::string NoDriverText(const std::string& side) const;

  const MidiApi api_;
  const std::string clientName_;
  Clock& clock_;
  std::chrono::microseconds settle_{0};  // waited after a port is connected
  std::string inPortName_, outPortName_;  // names of the devices opened

  std::unique_ptr<RtMidiIn> in_;
  std::unique_ptr<RtMidiOut> out_;
  std::unique_ptr<JackWatch> jack_;
  ErrorSlot inError_, outError_;
  std::vector<std::string> listedOut_, listedIn_;  // the device lists as given out

  std::mutex noticeMutex_;
  std::function<void()> notice_;  // guarded by noticeMutex_
  DeviceLoss lost_;               // known until Restore

  // What was written to RtMidi's JACK buffer since the period `pendingCycle_`.
  std::mutex roomMutex_;
  std::size_t pending_ = 0;
  unsigned long pendingCycle_ = 0;

  // A port was left open on a server that did not answer: its clients are
  // left behind, at the end or by Restore, which makes new ones.
  bool leftOpen_ = false;

  // RtMidi's output is not thread-safe: the UI thread's sends and the thru
  // forwarding of the input thread take this lock for each whole message.
  std::mutex sendMutex_;
  bool outOpen_ = false;  // guarded by sendMutex_

  // Input arrives on a thread of the MIDI system. Under JACK, closing the
  // port does not stop its calls (only destroying the RtMidiIn does), so each
  // call runs under inputMutex_ and finds the handler gone once InClose has
  // taken it: no handler call begins after InClose returns, on any system.
  std::mutex inputMutex_;
  MidiInputHandler handler_;  // guarded by inputMutex_
  InputAssembler assembler_;  // guarded by inputMutex_
  std::atomic<bool> inOpen_{false};
  std::atomic<bool> inStarted_{false};
  std::atomic<bool> thruConnected_{false};
};

}  // namespace qv
