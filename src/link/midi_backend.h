#pragma once
// The device operations the program needs of a MIDI service. Each returns 0
// on success or a result code whose text ErrorText gives. The program talks
// to one output and one input device at a time.

#include <functional>
#include <string>

#include "instrument/bytes.h"

namespace qv {

// Result codes, numbered as the classic multimedia MIDI service numbers them.
enum MidiResult : int {
  kMidiOk = 0,
  kMidiError = 1,          // unspecified error
  kMidiBadDeviceId = 2,    // no device of that number
  kMidiAllocated = 4,      // device in use
  kMidiInvalidHandle = 5,  // device not open
  kMidiNoDriver = 6,       // no MIDI system
  kMidiNoMemory = 7,
  kMidiInvalidParam = 11,
  kMidiUnprepared = 64,
  kMidiStillPlaying = 65,  // driver still holds the buffer
  kMidiNotReady = 67,
  kMidiSendTimedOut = 100,  // the MIDI system took nothing in time: not sent
};

// Text of a result code (never empty).
std::string MidiErrorText(int code);

// Called on the driver's thread with each complete message that arrives
// while input is started: system-exclusive messages whole from F0 to F7.
using MidiInputHandler = std::function<void(const Byte* data, std::size_t length)>;

// What is known to have gone away of the devices a backend opened: the whole
// MIDI system (a sound server that stopped), or the output or input port (an
// interface unplugged, an instrument's client closed). Names are the devices'
// as listed.
struct DeviceLoss {
  bool system = false, output = false, input = false;
  std::string outName, inName;
  bool Any() const { return system || output || input; }
};

class MidiBackend {
 public:
  virtual ~MidiBackend() = default;

  virtual int OutGetNumDevs() = 0;
  virtual int OutGetDevCaps(int device, std::string& name) = 0;
  virtual int InGetNumDevs() = 0;
  virtual int InGetDevCaps(int device, std::string& name) = 0;

  virtual int OutOpen(int device) = 0;
  // One message leaves whole, as one unit, before OutLongMsg returns.
  virtual int OutPrepareHeader(const Bytes& message) = 0;
  virtual int OutLongMsg(const Bytes& message) = 0;
  virtual int OutUnprepareHeader() = 0;
  virtual int OutReset() = 0;
  virtual int OutClose() = 0;

  virtual int InOpen(int device, MidiInputHandler handler) = 0;
  virtual int InPrepareHeader() = 0;
  virtual int InAddBuffer() = 0;
  virtual int InStart() = 0;
  virtual int InStop() = 0;
  virtual int InReset() = 0;
  virtual int InUnprepareHeader() = 0;
  virtual int InClose() = 0;

  // MIDI thru: while connected, everything that arrives at the input leaves
  // at the output, never inside another message.
  virtual int Connect() = 0;
  virtual int Disconnect() = 0;

  // Looks at the opened devices now (on the user-interface thread) and tells
  // what of them is gone. A loss stays known until Restore.
  virtual DeviceLoss CheckDevices() { return {}; }
  // `notice` is called on any thread as soon as the backend learns of a loss
  // by itself (a server's shutdown notice, a port that went away), so that a
  // wait for a reply can end at once. The notice only wakes; CheckDevices tells.
  virtual void SetLossNotice(std::function<void()> notice) { (void)notice; }
  // After a loss: forgets it and makes the MIDI system usable again (a server
  // that was restarted is joined anew). The devices stay closed.
  virtual int Restore() { return kMidiOk; }
  // Whether the MIDI system has stopped running for about a second (a sound
  // server that hangs, not one that is merely busy): a send then gives up at
  // once, and a wait for a reply ends, as if the send had timed out
  // (kMidiSendTimedOut). The system is not lost: it may run again. A system
  // that is never waited on (the ALSA sequencer) is never stalled. Asked
  // again and again during a wait, under the link's receive lock: it answers
  // at once and takes no lock.
  virtual bool Stalled() { return false; }

  virtual std::string InErrorText(int code) { return MidiErrorText(code); }
  virtual std::string OutErrorText(int code) { return MidiErrorText(code); }
};

}  // namespace qv
