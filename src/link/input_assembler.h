#pragma once
// Makes whole messages of what arrives at a MIDI input, so that one broken
// system-exclusive message cannot swallow what follows it. A status byte
// other than a real-time one ends an open SysEx, as MIDI says; so do too many
// bytes and too long a time. The unfinished SysEx is dropped; real-time bytes
// inside it are passed on in their place.

#include <chrono>
#include <cstddef>
#include <functional>

#include "instrument/bytes.h"
#include "link/dump_request.h"

namespace qv {

class InputAssembler {
 public:
  using Clock = std::chrono::steady_clock;
  using Emit = std::function<void(const Byte* data, std::size_t length)>;

  // The longest SysEx taken: the receive buffer of a dump transaction. A
  // SysEx stays open at most as long as one wait for a reply (kReplyWait).
  static constexpr std::size_t kLongestSysEx = 128;

  // One event of the MIDI system (a whole message, or a piece of a SysEx);
  // each whole message goes to `emit`, in order.
  void Take(const Byte* data, std::size_t length, Clock::time_point now, const Emit& emit);

  bool SysExOpen() const { return open_; }
  // Forgets an unfinished SysEx (the input was stopped or closed).
  void Reset();

 private:
  std::size_t TakeSysExBytes(const Byte* data, std::size_t from, std::size_t length, const Emit& emit);

  bool open_ = false;
  bool overlong_ = false;  // dropped for its length: its rest is skipped up to F7
  Bytes sysEx_;
  Clock::time_point openedAt_{};
};

}  // namespace qv
