#pragma once
// The time a message takes on the simulated MIDI wire. A plain sleep wakes
// late by the timer slack and the scheduler's delay (50 us and more), which
// would make the simulated wire slower than the real one; the last stretch
// is therefore waited out against the clock.

#include <chrono>
#include <thread>

namespace qv::test {

inline void WaitWireTime(std::chrono::microseconds duration) {
  using Clock = std::chrono::steady_clock;
  constexpr std::chrono::microseconds kLastStretch{300};
  const Clock::time_point deadline = Clock::now() + duration;
  if (duration > kLastStretch) std::this_thread::sleep_until(deadline - kLastStretch);
  while (Clock::now() < deadline) std::this_thread::yield();
}

}  // namespace qv::test
