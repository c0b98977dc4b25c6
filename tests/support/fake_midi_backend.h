#pragma once
// An in-process MIDI service: records every operation and every message that
// leaves, delivers messages to the input as a driver thread would, passes
// them on while thru is connected, and fails any operation with a chosen code.

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "link/input_assembler.h"
#include "link/midi_backend.h"

namespace qv::test {

class FakeMidiBackend : public MidiBackend {
 public:
  FakeMidiBackend();

  std::vector<std::string> inputNames{"Fake MIDI In"};
  std::vector<std::string> outputNames{"Fake MIDI Out"};

  // Makes operation `op` (its method name, "OutOpen", "Connect", ...) return
  // `code`, `times` times (-1: always).
  void Fail(const std::string& op, int code, int times = -1);

  // Called with every message that leaves through OutLongMsg (on the caller's
  // thread), e.g. by the emulated instrument.
  std::function<void(const Bytes&)> onSend;

  // A message arriving at the input, from any thread.
  void Deliver(const Bytes& message);
  // An event as a MIDI system hands it over (a piece of a SysEx, or several
  // messages at once): made into whole messages as the real backend does.
  void DeliverEvent(const Bytes& event);

  // The MIDI system stops, or the output or input device goes away: the
  // backend's notice is called at once when `noticed` (a JACK server's
  // shutdown notice), and CheckDevices tells it until Restore. A device that
  // is gone takes nothing and delivers nothing.
  void Lose(bool system, bool output, bool input, bool noticed = true);
  // Called after each CheckDevices has looked, outside its lock: a loss
  // noticed just then.
  std::function<void()> onCheck;
  int restores = 0;
  // The MIDI system runs no more (a sound server that hangs): what Stalled tells.
  std::atomic<bool> stalled{false};

  // Wire time per byte for sent messages, in microseconds (0: none).
  int sendMicrosPerByte = 0;

  // What happened, in order.
  std::vector<Bytes> Sent() const;
  std::vector<Bytes> ThruForwarded() const;
  std::vector<std::string> Calls() const;
  void ClearRecords();

  bool outOpen = false, inOpen = false, inStarted = false, thruConnected = false;

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
  DeviceLoss CheckDevices() override;
  void SetLossNotice(std::function<void()> notice) override;
  int Restore() override;
  bool Stalled() override { return stalled.load(); }

 private:
  int Call(const std::string& op);  // records and answers an injected failure

  mutable std::mutex mutex_;
  std::mutex deliverMutex_;  // held while the handler runs; taken before mutex_
  std::map<std::string, std::pair<int, int>> failures_;  // op -> (code, times)
  std::vector<Bytes> sent_;
  std::vector<Bytes> thru_;
  std::vector<std::string> calls_;
  MidiInputHandler handler_;
  InputAssembler assembler_;  // guarded by deliverMutex_
  DeviceLoss lost_;           // guarded by mutex_
  std::function<void()> notice_;
};

}  // namespace qv::test
