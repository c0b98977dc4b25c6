#include "link/clock.h"

#include <thread>

namespace qv {

void Clock::SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Clock::WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                    std::chrono::milliseconds bound, const std::function<bool()>& ready) {
  return cv.wait_for(lock, bound, ready);
}

Clock& SystemClock() {
  static Clock clock;
  return clock;
}

}  // namespace qv
