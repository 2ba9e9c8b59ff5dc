#include "platform/windows/windows_clock.h"

#include <thread>

namespace textscreen::platform {

Clock::Instant WindowsClock::now() {
  return std::chrono::steady_clock::now();
}

void WindowsClock::sleep_for(std::chrono::milliseconds duration) {
  if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

std::tm WindowsClock::local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  // localtime_s, unlike localtime, shares nothing with other threads.
  if (localtime_s(&local, &now) != 0) gmtime_s(&local, &now);
  return local;
}

}  // namespace textscreen::platform
