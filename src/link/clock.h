#pragma once
// The sleeps and waits of the MIDI link, injectable so that tests of a
// silent instrument need not wait.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace qv {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(int ms);
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
