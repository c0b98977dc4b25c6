#include "link/midi_backend.h"

namespace qv {

std::string MidiErrorText(int code) {
  switch (code) {
    case kMidiOk: return "The operation completed.";
    case kMidiError: return "An unspecified MIDI error occurred.";
    case kMidiBadDeviceId: return "There is no MIDI device with that number.";
    case 3: return "The MIDI driver could not be enabled.";
    case kMidiAllocated: return "The MIDI device is already in use by another program.";
    case kMidiInvalidHandle: return "The MIDI device is not open.";
    case kMidiNoDriver: return "No MIDI system is available on this computer.";
    case kMidiNoMemory: return "There is not enough memory for this MIDI operation.";
    case 8: return "The MIDI driver does not support this operation.";
    case kMidiInvalidParam: return "An invalid parameter was passed to the MIDI driver.";
    case kMidiUnprepared: return "The MIDI buffer was not prepared.";
    case kMidiStillPlaying: return "The MIDI driver still holds the buffer.";
    case kMidiNotReady: return "The MIDI device is busy.";
    case kMidiSendTimedOut: return "The MIDI system took nothing for too long; the message was not sent.";
    default: return "MIDI error " + std::to_string(code) + ".";
  }
}

}  // namespace qv
