#include "local_clock.h"

namespace textscreen::platform {

std::tm local_time_now() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace textscreen::platform
