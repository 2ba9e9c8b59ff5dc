#include "platform/system_clock.h"

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
  // The thread-safe forms: localtime shares its result with every other thread.
#ifdef _WIN32
  if (localtime_s(&local, &now) != 0) gmtime_s(&local, &now);
#else
  if (localtime_r(&now, &local) == nullptr) gmtime_r(&now, &local);
#endif
  return local;
}

}  // namespace textscreen::platform
