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
  if (open_ && now - openedAt_ > kLongestOpen) Reset();  // stayed open longer than one wait
  if (open_) {
    TakeSysExBytes(data, length, now, emit);
    return;
  }
  if (data[0] == 0xF0) {
    open_ = true;
    overlong_ = false;
    sysEx_.clear();
    openedAt_ = now;
    TakeSysExBytes(data, length, now, emit);
    return;
  }
  // Messages one after another (RtMidi may hand over several in one piece);
  // data bytes without a status are the rest of a SysEx dropped before.
  std::size_t i = 0;
  while (i < length && (data[i] < 0x80 || data[i] == 0xF7)) ++i;
  if (i == length) return;
  if (data[i] == 0xF0) {
    Take(&data[i], length - i, now, emit);
    return;
  }
  const std::size_t n = std::min(MessageLength(data[i]), length - i);
  emit(&data[i], n);
  if (i + n < length) Take(&data[i + n], length - i - n, now, emit);
}

// Bytes of the open SysEx (the first one is its F0 when it begins here).
void InputAssembler::TakeSysExBytes(const Byte* data, std::size_t length, Clock::time_point now, const Emit& emit) {
  for (std::size_t i = 0; i < length; ++i) {
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
      if (i + 1 < length) Take(&data[i + 1], length - i - 1, now, emit);
      return;
    }
    if (b >= 0x80) {  // any other status byte ends the SysEx unfinished
      Reset();
      Take(&data[i], length - i, now, emit);
      return;
    }
    if (overlong_) continue;
    if (sysEx_.size() + 1 >= kLongestSysEx) {  // no room left for its F7
      overlong_ = true;
      sysEx_.clear();
      continue;
    }
    sysEx_.push_back(b);
  }
}

}  // namespace qv
