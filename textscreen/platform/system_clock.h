// The machine's own clock, on every system: the steady clock, sleeping, and the local time of
// the time zone.
#pragma once

#include "platform/clock.h"

namespace textscreen::platform {

class SystemClock final : public Clock {
 public:
  Instant now() override;
  void sleep_for(std::chrono::milliseconds duration) override;
  bool sleep_until_woken(std::chrono::milliseconds duration, WakeSignal& signal) override {
    return signal.wait_for(duration);
  }
  std::tm local_time() override;
};

}  // namespace textscreen::platform
