#include "link/clock.h"

#include <algorithm>
#include <thread>

namespace qv {

std::chrono::steady_clock::time_point Clock::Now() { return std::chrono::steady_clock::now(); }

void Clock::Sleep(std::chrono::microseconds time) { std::this_thread::sleep_for(time); }

bool Clock::WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                    std::chrono::milliseconds bound, const std::function<bool()>& ready) {
  using Steady = std::chrono::steady_clock;
  const Steady::time_point end = Steady::now() + bound;
  while (!ready()) {
    const Steady::time_point now = Steady::now();
    if (now >= end) return false;
    cv.wait_for(lock, std::min<Steady::duration>(end - now, std::chrono::milliseconds(kLookMs)));
  }
  return true;
}

Clock& SystemClock() {
  static Clock clock;
  return clock;
}

}  // namespace qv
