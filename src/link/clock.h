#pragma once
// The sleeps, waits and time reads of the MIDI link and of its backend,
// injectable so that tests of a silent instrument need not wait.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace qv {

class Clock {
 public:
  virtual ~Clock() = default;
  // The time now, on a clock that never goes back.
  virtual std::chrono::steady_clock::time_point Now();
  virtual void Sleep(std::chrono::microseconds time);
  void SleepMs(int ms) { Sleep(std::chrono::milliseconds(ms)); }
  // Waits on cv (lock held) until ready() or `bound` has passed; returns
  // ready(). ready() is looked at whenever cv is notified and, by the real
  // clock, at least every kLookMs: it may also come true without a notice.
  virtual bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                       std::chrono::milliseconds bound, const std::function<bool()>& ready);
  static constexpr int kLookMs = 50;
};

// The real clock, shared by the program.
Clock& SystemClock();

}  // namespace qv
