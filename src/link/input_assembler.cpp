#include "link/input_assembler.h"

#include <algorithm>

namespace qv {

namespace {
bool IsRealTime(Byte b) { return b >= 0xF8; }

// The length of a message other than SysEx, from its status byte.
std::size_t MessageLength(Byte status) {
  if (status < 0xC0 || (status >= 0xE0 && status < 0xF0) || status == 0xF2) return 3;
  if (status < 0xE0 || status == 0xF1 || status == 0xF3) return 2;
  return 1;
}
}  // namespace

void InputAssembler::Reset() {
  open_ = false;
  overlong_ = false;
  sysEx_.clear();
}

void InputAssembler::Take(const Byte* data, std::size_t length, Clock::time_point now, const Emit& emit) {
  if (!data || length == 0) return;
  if (open_ && now - openedAt_ > kReplyWait) Reset();  // stayed open longer than one wait
  // Messages one after another (RtMidi may hand over several in one piece),
  // taken in one pass however many there are.
  std::size_t i = 0;
  while (i < length) {
    if (open_) {
      i = TakeSysExBytes(data, i, length, emit);
      continue;
    }
    const Byte status = data[i];
    if (status == 0xF0) {
      open_ = true;
      overlong_ = false;
      sysEx_.clear();
      openedAt_ = now;
      continue;  // the F0 is the SysEx's first byte
    }
    // Data bytes without a status are the rest of a SysEx dropped before.
    if (status < 0x80 || status == 0xF7) {
      ++i;
      continue;
    }
    const std::size_t n = std::min(MessageLength(status), length - i);
    emit(&data[i], n);
    i += n;
  }
}

// Bytes of the open SysEx from data[from] (its F0 when it begins there).
// Returns where the bytes after it begin: past its F7, at the status byte
// that ended it unfinished, or at the end.
std::size_t InputAssembler::TakeSysExBytes(const Byte* data, std::size_t from, std::size_t length, const Emit& emit) {
  for (std::size_t i = from; i < length; ++i) {
    const Byte b = data[i];
    if (IsRealTime(b)) {
      emit(&data[i], 1);
      continue;
    }
    if (b == 0xF0 && sysEx_.empty() && !overlong_) {
      sysEx_.push_back(b);
      continue;
    }
    if (b == 0xF7) {
      if (!overlong_) {
        sysEx_.push_back(b);
        emit(sysEx_.data(), sysEx_.size());
      }
      Reset();
      return i + 1;
    }
    if (b >= 0x80) {  // any other status byte ends the SysEx unfinished
      Reset();
      return i;
    }
    if (overlong_) continue;
    if (sysEx_.size() + 1 >= kLongestSysEx) {  // no room left for its F7
      overlong_ = true;
      sysEx_.clear();
      continue;
    }
    sysEx_.push_back(b);
  }
  return length;
}

}  // namespace qv
