#include "platform/system/system_clock.h"

#include <thread>

namespace textscreen::platform {

Clock::Instant SystemClock::now() {
  return std::chrono::steady_clock::now();
}

void SystemClock::sleep_for(std::chrono::milliseconds duration) {
  if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

std::tm SystemClock::local_time() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  // localtime_r, unlike localtime, shares nothing with other threads.
  if (localtime_r(&now, &local) == nullptr) gmtime_r(&now, &local);
  return local;
}

}  // namespace textscreen::platform
