// Time as the layer sees it: a steady clock for waits and delays, sleeping, and the local
// calendar time. The platform gives the process its real clock; tests hand in a scripted
// one, so no test measures the wall clock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>

namespace textscreen::platform {

// A wake-up one thread gives another that sleeps in Clock::sleep_until_woken: a key pushed
// for a program that waits for one. A wake-up given while nobody sleeps ends the next sleep
// at once. Any thread may call wake() and take(); neither blocks.
class WakeSignal {
 public:
  void wake() {
    {
      std::lock_guard lock(mutex_);
      woken_ = true;
    }
    woken_signal_.notify_all();
  }
  // Whether a wake-up came since the last take or sleep; forgets it.
  bool take() {
    std::lock_guard lock(mutex_);
    const bool woken = woken_;
    woken_ = false;
    return woken;
  }
  // Sleeps on the real condition until a wake-up or `duration`, and forgets the wake-up:
  // for clocks whose time is the machine's. True when a wake-up ended it.
  bool wait_for(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    const bool woken = woken_signal_.wait_for(lock, duration, [this] { return woken_; });
    woken_ = false;
    return woken;
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_signal_;
  bool woken_ = false;
};

class Clock {
 public:
  using Instant = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;

  // The steady time: it never goes back and does not follow changes of the calendar
  // clock. Any thread may call it; it does not block and never fails.
  virtual Instant now() = 0;

  // Lets the calling thread sleep for at least `duration` (nothing for 0 or less). Blocks
  // by design; called by the program's thread for the layer's waits and delays. Returns
  // early only when the process is ending.
  virtual void sleep_for(std::chrono::milliseconds duration) = 0;

  // Lets the calling thread sleep until `signal` is woken or `duration` has passed,
  // whichever comes first, and forgets the wake-up; returns at once when one came before.
  // Blocks by design; called by the program's thread for waits that a key ends. True when a
  // wake-up ended it.
  virtual bool sleep_until_woken(std::chrono::milliseconds duration, WakeSignal& signal) = 0;

  // The local calendar time now. Called by the program's thread; does not block. When the
  // time zone cannot be read the result is the universal time.
  virtual std::tm local_time() = 0;
};

}  // namespace textscreen::platform
