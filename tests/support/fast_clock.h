#pragma once
// A clock that does not sleep: it adds up the time the link asked to wait,
// so tests of silence and retries take no time.

#include <chrono>

#include "link/clock.h"

namespace qv::test {

class FastClock : public Clock {
 public:
  // How long a wait for a reply may really take before it counts as the
  // whole bound: enough for an emulated reply on another thread.
  std::chrono::milliseconds realWait{0};
  long long virtualMs = 0;  // total of the sleeps and of the waits that ran out
  int sleeps = 0;

  void Sleep(std::chrono::microseconds time) override {
    virtualMs += std::chrono::duration_cast<std::chrono::milliseconds>(time).count();
    ++sleeps;
  }
  bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, std::chrono::milliseconds bound,
               const std::function<bool()>& ready) override {
    const bool ok = cv.wait_for(lock, realWait < bound ? realWait : bound, ready);
    if (!ok) virtualMs += bound.count();
    return ok;
  }
};

}  // namespace qv::test
