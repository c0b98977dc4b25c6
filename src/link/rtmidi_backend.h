#pragma once
// The MIDI service of a Linux machine: RtMidi on the ALSA sequencer. On a
// machine without a sound system the device lists are empty and every open
// fails with kMidiNoDriver; nothing is printed.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/midi_backend.h"

class RtMidiIn;
class RtMidiOut;

namespace qv {

class RtMidiBackend : public MidiBackend {
 public:
  RtMidiBackend();
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

 private:
  static void OnInput(double timeStamp, std::vector<unsigned char>* message, void* self);
  void HandleInput(const std::vector<unsigned char>& message);
  // Sends under sendMutex_; returns a result code.
  int SendLocked(const unsigned char* data, std::size_t size);
  std::string NoDriverText(const std::string& side) const;
  std::string inAddress_, outAddress_;  // sequencer addresses of the open ports

  std::unique_ptr<RtMidiIn> in_;
  std::unique_ptr<RtMidiOut> out_;
  ErrorSlot inError_, outError_;

  // RtMidi's output is not thread-safe: the UI thread's sends and the thru
  // forwarding of the input thread take this lock for each whole message.
  std::mutex sendMutex_;
  bool outOpen_ = false;  // guarded by sendMutex_

  MidiInputHandler handler_;  // set while the input port is closed only
  std::atomic<bool> inOpen_{false};
  std::atomic<bool> inStarted_{false};
  std::atomic<bool> thruConnected_{false};
};

}  // namespace qv
