// Time as the layer sees it: a steady clock for waits and delays, sleeping, and the local
// calendar time. The platform gives the process its real clock; tests hand in a scripted
// one, so no test measures the wall clock.
#pragma once

#include <chrono>
#include <ctime>

namespace textscreen::platform {

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

  // The local calendar time now. Called by the program's thread; does not block. When the
  // time zone cannot be read the result is the universal time.
  virtual std::tm local_time() = 0;
};

}  // namespace textscreen::platform
