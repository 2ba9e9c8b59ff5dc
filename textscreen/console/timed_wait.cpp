#include "console/timed_wait.h"

namespace textscreen::detail {
namespace {

constexpr int32_t LOOK_EVERY_MS = 50;
constexpr int32_t LONGEST_BLIND_WAIT_MS = 99;

}  // namespace

void timed_wait(int32_t milliseconds, const std::function<void(int32_t)>& sleep,
                const std::function<void(int32_t)>& wait_for_key,
                const std::function<bool()>& take_key_ready) {
  if (milliseconds == -1) {
    while (!take_key_ready()) wait_for_key(LOOK_EVERY_MS);
    return;
  }
  if (milliseconds > LONGEST_BLIND_WAIT_MS) {
    while (milliseconds > LOOK_EVERY_MS) {
      if (take_key_ready()) return;
      sleep(LOOK_EVERY_MS);
      milliseconds -= LOOK_EVERY_MS;
    }
  }
  if (milliseconds >= 1) sleep(milliseconds);
}

}  // namespace textscreen::detail
